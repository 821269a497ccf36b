#include "show/ShowChange.h"

#include "show/CReelmixDoc.h"
#include "show/Clip.h"

#include <algorithm>
#include <unordered_set>

namespace
{
// The clips of run that other lacks.
std::vector<Clip*> Missing(const std::vector<Clip*>& run, const std::vector<Clip*>& other)
{
    const std::unordered_set<Clip*> there(other.begin(), other.end());
    std::vector<Clip*> missing;
    for (Clip* clip : run)
        if (!there.count(clip))
            missing.push_back(clip);
    return missing;
}
} // namespace

ShowChange::ShowChange(CReelmixDoc& doc, const QString& text, const std::vector<Clip*>& before,
                       const std::vector<Clip*>& after, Clip* selectedBefore, Clip* selectedAfter)
    : QUndoCommand(text), m_doc(doc), m_selectedBefore(selectedBefore),
      m_selectedAfter(selectedAfter)
{
    const auto [head, headAfter] =
        std::mismatch(before.begin(), before.end(), after.begin(), after.end());
    m_first = int(head - before.begin());
    const std::size_t tail = std::mismatch(before.rbegin(), before.rend() - m_first, after.rbegin(),
                                           after.rend() - m_first)
                                 .first -
                             before.rbegin();
    const std::vector<Clip*> runBefore(head, before.end() - std::ptrdiff_t(tail));
    const std::vector<Clip*> runAfter(headAfter, after.end() - std::ptrdiff_t(tail));
    m_shownCount = int(runAfter.size());
    m_removed = Missing(runBefore, runAfter);
    m_added = Missing(runAfter, runBefore);
    m_other = runBefore;
}

ShowChange::~ShowChange()
{
    for (Clip* clip : m_done ? m_removed : m_added)
        delete clip;
}

void ShowChange::SetMarks(Clip* clip, Marks before, Marks after)
{
    m_marked = clip;
    m_marksBefore = before;
    m_marksAfter = after;
}

bool ShowChange::IsEmpty() const
{
    const bool sameMarks = !m_marked || (m_marksBefore.start == m_marksAfter.start &&
                                         m_marksBefore.end == m_marksAfter.end);
    return m_shownCount == 0 && m_other.empty() && sameMarks;
}

void ShowChange::undo()
{
    Swap(m_marksBefore, m_selectedBefore);
    m_done = false;
}

void ShowChange::redo()
{
    if (!m_recorded) {
        m_recorded = true;
        return;
    }
    Swap(m_marksAfter, m_selectedAfter);
    m_done = true;
}

void ShowChange::Swap(Marks marks, Clip* selected)
{
    if (m_marked) {
        m_marked->m_start = marks.start;
        m_marked->m_end = marks.end;
    }
    const int shown = m_shownCount;
    m_shownCount = int(m_other.size());
    m_other = m_doc.ReplaceClips(m_first, shown, m_other, selected);
}
