#include "controls/MyHeaderCtrl.h"

#include "controls/MyListCtrl.h"
#include "platform/process/MessageBeep.h"

namespace
{
// Fitting a column measures every row's text: too slow from here on.
constexpr int kMaxRowsToFit = 3000;
} // namespace

void MyHeaderCtrl::OnLButtonDblClk(UINT flags, CPoint point)
{
    const QWidget* header = GetSafeHwnd();
    CWnd* parent = header ? CWnd::FromHandlePermanent(header->parentWidget()) : nullptr;
    auto* list = dynamic_cast<MyListCtrl*>(parent);
    if (!list || list->GetItemCount() >= kMaxRowsToFit) {
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    CHeaderCtrl::OnLButtonDblClk(flags, point);
    list->HandleAutoSizeColumn();
}
