#include "show/ShowEdit.h"

#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"
#include "show/ShowChange.h"

#include <memory>
#include <new>

ShowEdit::ShowEdit(CReelmixView& view, const QString& text, Clip* marked)
    : m_view(view), m_outer(view.m_edits++ == 0), m_text(text), m_marked(marked)
{
    m_doc = view.GetDocument();
    if (!m_outer || !m_doc)
        return;
    m_clears = view.m_clears;
    m_before = m_doc->GetClips();
    m_selected = view.SelectedClip();
    if (marked) {
        m_start = marked->m_start;
        m_end = marked->m_end;
    }
}

ShowEdit::~ShowEdit()
{
    --m_view.m_edits;
    if (!m_outer || !m_doc || m_view.m_clears != m_clears)
        return;
    try {
        Record();
    } catch (const std::bad_alloc&) {
        qCritical("%s could not be recorded for Undo: out of memory", qPrintable(m_text));
    }
}

void ShowEdit::Record()
{
    auto change = std::make_unique<ShowChange>(*m_doc, m_text, m_before, m_doc->GetClips(),
                                               m_selected, m_view.SelectedClip());
    if (m_marked)
        change->SetMarks(m_marked, {m_start, m_end}, {m_marked->m_start, m_marked->m_end});
    if (!change->IsEmpty())
        m_doc->m_undoStack.push(change.release());
}

bool ShowEdit::IsRunning(const CReelmixView& view)
{
    return view.m_edits > 0;
}
