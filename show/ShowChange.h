#pragma once
// One change of the show that Undo takes back and Redo makes again: a run of the show's clips
// replaced by another (clips added, removed or moved), and new marks of one clip. Only the run
// that differs is kept, and of it only the side that is not in the show, so that moving one clip
// of a long show costs two pointers. While done the change owns the clips it took out of the
// show, while undone the clips it put in: every clip has one owner, the show or one change.
#include <QUndoCommand>

#include <vector>

class CReelmixDoc;
class Clip;

class ShowChange : public QUndoCommand
{
public:
    struct Marks {
        double start;
        double end;
    };

    // A change already made to doc, named text: its clips before and after, and the clip
    // selected before and after.
    ShowChange(CReelmixDoc& doc, const QString& text, const std::vector<Clip*>& before,
               const std::vector<Clip*>& after, Clip* selectedBefore, Clip* selectedAfter);
    ~ShowChange() override;
    ShowChange(const ShowChange&) = delete;
    ShowChange& operator=(const ShowChange&) = delete;

    // The change also gave clip new marks.
    void SetMarks(Clip* clip, Marks before, Marks after);
    // Whether the change changed nothing.
    bool IsEmpty() const;

    void undo() override;
    void redo() override;

private:
    // Puts the run that is not in the show in place of the one that is.
    void Swap(Marks marks, Clip* selected);

    CReelmixDoc& m_doc;
    int m_first = 0;
    int m_shownCount = 0;       // clips of the run in the show now
    std::vector<Clip*> m_other; // the run's clips that are not in the show now
    std::vector<Clip*> m_removed;
    std::vector<Clip*> m_added;
    Clip* m_marked = nullptr;
    Marks m_marksBefore{-1.0, -1.0};
    Marks m_marksAfter{-1.0, -1.0};
    Clip* m_selectedBefore;
    Clip* m_selectedAfter;
    bool m_done = true;
    // The change was made before it was recorded: the stack's first redo has nothing to do.
    bool m_recorded = false;
};
