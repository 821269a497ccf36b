// The Edit menu: Undo and Redo of the show's changes, and clips through the clipboard.
#include "show/CReelmixView.h"

#include "platform/framework/AfxRes.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "show/ClipTransfer.h"
#include "show/MovieSearch.h"
#include "show/ShowEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace
{
// One command of the Edit menu: run handler when enabled, or tell its state.
BOOL Offer(CCmdUI* ui, bool enabled, const std::function<void()>& handler)
{
    if (ui) {
        ui->Enable(enabled);
        ui->m_bHandled = TRUE;
    } else if (enabled) {
        handler();
    }
    return TRUE;
}
} // namespace

BOOL CReelmixView::OnCmdMsg(UINT id, CCmdUI* ui)
{
    CReelmixDoc* doc = GetDocument();
    // Nothing changes the show under a running edit (a shuffle, a search) but the edit itself.
    const bool idle = doc && !ShowEdit::IsRunning(*this);
    switch (id) {
    case ID_EDIT_UNDO: {
        const bool can = idle && doc->m_undoStack.canUndo();
        if (ui && can)
            ui->SetText("&Undo " + doc->m_undoStack.undoText().toStdString());
        return Offer(ui, can, [this] { OnUndo(); });
    }
    case ID_EDIT_REDO: {
        const bool can = idle && doc->m_undoStack.canRedo();
        if (ui && can)
            ui->SetText("&Redo " + doc->m_undoStack.redoText().toStdString());
        return Offer(ui, can, [this] { OnRedo(); });
    }
    case ID_EDIT_CUT:
        return Offer(ui, !s_shuffling && SelectedClip(), [this] { OnCut(); });
    case ID_EDIT_COPY:
        return Offer(ui, SelectedClip(), [this] { OnCopy(); });
    case ID_EDIT_PASTE:
        return Offer(ui, !s_shuffling && m_canPaste, [this] { OnPaste(); });
    default:
        return CFormView::OnCmdMsg(id, ui);
    }
}

void CReelmixView::OnUndo()
{
    GetDocument()->m_undoStack.undo();
}

void CReelmixView::OnRedo()
{
    GetDocument()->m_undoStack.redo();
}

void CReelmixView::OnCopy()
{
    if (const Clip* clip = SelectedClip())
        QGuiApplication::clipboard()->setMimeData(ClipTransfer::Write({clip}).release());
}

void CReelmixView::OnCut()
{
    const ShowEdit edit(*this, "Cut");
    OnCopy();
    OnDelete();
}

void CReelmixView::OnPaste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const CStringList* extensions = MovieExtensions();
    if (!data || !extensions)
        return;
    const MovieSearch movies(*extensions);
    std::vector<std::unique_ptr<Clip>> clips = ClipTransfer::Read(
        *data, [&movies](const CString& name) { return movies.ExtensionOf(name.Str()) >= 0; });
    if (clips.empty()) {
        SetStatusText("The clipboard holds no clips or movie files.");
        return;
    }
    const ShowEdit edit(*this, "Paste");
    const int focus = m_list.GetFocusedItem();
    std::vector<Clip*> pasted;
    for (std::unique_ptr<Clip>& clip : clips)
        pasted.push_back(clip.release());
    GetDocument()->ReplaceClips(focus >= 0 ? focus + 1 : m_list.GetItemCount(), 0, pasted,
                                pasted.back());
}

void CReelmixView::ReplaceRows(const CReelmixDoc::RowsChange& change)
{
    m_clipKeysValid = false;
    const int common = std::min(change.removed, change.added);
    POSITION pos = GetDocument()->m_clips.FindIndex(change.first);
    for (int i = 0; i < change.added && pos; ++i) {
        const LPARAM clip = LPARAM(GetDocument()->m_clips.GetNext(pos));
        if (i < common)
            m_list.SetItemData(change.first + i, clip);
        else
            m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, change.first + i, LPSTR_TEXTCALLBACK, 0, 0, 0,
                              clip);
    }
    for (int row = change.first + change.removed - 1; row >= change.first + common; --row)
        m_list.DeleteItem(row);
    if (common > 0)
        m_list.RedrawItems(change.first, change.first + common - 1);
    const int selected = m_list.GetSelectedItem(-1);
    if (selected >= 0)
        m_list.SelectItem(selected, FALSE);
    LVFINDINFO find{LVFI_PARAM, nullptr, LPARAM(static_cast<CObject*>(change.select))};
    const int row = change.select ? m_list.FindItem(&find) : -1;
    if (row >= 0) {
        m_list.SelectItem(row, TRUE);
        m_list.FocusItem(row);
        m_list.RedrawItems(row, row);
        m_list.EnsureVisible(row, FALSE);
    }
}
