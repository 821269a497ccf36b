#pragma once
// Makes what a command of the view changes in the show while this lives one step of Undo and
// Redo, named text: it notes the show's clips (and the marks of marked) at its start and
// records what differs at its end. Edits begun inside another (Down inside a shuffle, a header
// sort inside it) are part of that one's step. Nothing is recorded when nothing changed, or
// when the show was cleared or replaced meanwhile (by New or Open while messages were taken).
#include <QString>

#include <vector>

class CReelmixDoc;
class CReelmixView;
class Clip;

class ShowEdit
{
public:
    ShowEdit(CReelmixView& view, const QString& text, Clip* marked = nullptr);
    ~ShowEdit();
    ShowEdit(const ShowEdit&) = delete;
    ShowEdit& operator=(const ShowEdit&) = delete;

    // Whether an edit is running in view: Undo and Redo wait until it has ended.
    static bool IsRunning(const CReelmixView& view);

private:
    void Record();

    CReelmixView& m_view;
    const bool m_outer;
    CReelmixDoc* m_doc = nullptr;
    int m_clears = 0;
    QString m_text;
    Clip* m_marked;
    double m_start = -1.0;
    double m_end = -1.0;
    std::vector<Clip*> m_before;
    Clip* m_selected = nullptr;
};
