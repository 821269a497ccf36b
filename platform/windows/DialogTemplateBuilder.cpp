#include "platform/windows/DialogTemplateBuilder.h"

#include "platform/core/MulDiv.h"
#include "platform/windows/CButton.h"
#include "platform/windows/CEdit.h"
#include "platform/windows/CListCtrl.h"
#include "platform/windows/CSpinButtonCtrl.h"
#include "platform/windows/CStatic.h"
#include "platform/windows/WidgetTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#include <map>

namespace
{
// What the builder made.
constexpr const char* kTemplateProperty = "reelmix.dialogTemplate";
constexpr const char* kTemplateSize = "reelmix.templateSize";
WidgetTable<int>& ControlIds()
{
    static auto* table = new WidgetTable<int>; // never destroyed: widgets may outlive statics
    return *table;
}

// Where the template put a control that follows its dialog's growth, and how it follows.
struct Growth {
    QRect rect;
    DWORD growth = 0;
};
WidgetTable<Growth>& Growths()
{
    static auto* table = new WidgetTable<Growth>;
    return *table;
}

struct NoCase {
    bool operator()(const CString& a, const CString& b) const { return _stricmp(a, b) < 0; }
};

std::map<CString, DialogTemplateBuilder::ControlFactory, NoCase>& Factories()
{
    static std::map<CString, DialogTemplateBuilder::ControlFactory, NoCase> factories = {
        {"Button", &CButton::CreateControl},
        {"Static", &CStatic::CreateControl},
        {"Edit", &CEdit::CreateControl},
        {"SysListView32", &CListCtrl::CreateControl},
        {"msctls_updown32", &CSpinButtonCtrl::CreateControl},
    };
    return factories;
}

bool IsWindowsDialogFont(const char* face)
{
    return _stricmp(face, "MS Sans Serif") == 0 || _stricmp(face, "MS Shell Dlg") == 0 ||
           _stricmp(face, "MS Shell Dlg 2") == 0;
}

QRect ToPixels(const QSize& base, const QRect& units)
{
    const int left = MulDiv(units.left(), base.width(), 4);
    const int top = MulDiv(units.top(), base.height(), 8);
    const int right = MulDiv(units.left() + units.width(), base.width(), 4);
    const int bottom = MulDiv(units.top() + units.height(), base.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}

CString FindUnknownClass(const DialogTemplate& dialog)
{
    for (const DialogItem& item : dialog.items) {
        if (!Factories().contains(item.className)) {
            CString error;
            error.Format("Dialog %u: no control class \"%s\" is registered (control %d)", dialog.id,
                         item.className, item.id);
            return error;
        }
    }
    return CString();
}
} // namespace

void DialogTemplateBuilder::RegisterControlClass(const char* className, ControlFactory factory)
{
    Factories()[className] = std::move(factory);
}

CString DialogTemplateBuilder::Build(const DialogTemplate& dialog, QWidget* host,
                                     CommandSink onCommand)
{
    // Checked before anything is made, so that a failure leaves host as it was.
    CString error = FindUnknownClass(dialog);
    if (!error.IsEmpty())
        return error;
    host->setFont(DialogFont(dialog));
    host->setProperty(kTemplateProperty, dialog.id);
    const QSize base = BaseUnits(host->font());
    host->resize(ToPixels(base, QRect(0, 0, dialog.cx, dialog.cy)).size());
    host->setProperty(kTemplateSize, host->size());
    if (dialog.caption && *dialog.caption)
        host->setWindowTitle(QString::fromUtf8(dialog.caption));
    for (const DialogItem& item : dialog.items) {
        const QRect rect = ToPixels(base, QRect(item.x, item.y, item.cx, item.cy));
        QWidget* control = Factories().at(item.className)(item, rect, host);
        SetControlId(control, item.id);
        if (item.growth)
            Growths().Set(control, {rect, item.growth});
        CWnd::SetInitialStyle(control, item.style);
        control->setEnabled(!(item.style & WS_DISABLED));
        control->setVisible(item.style & WS_VISIBLE);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            QObject::connect(button, &QAbstractButton::clicked, host,
                             [onCommand, id = UINT(item.id)] { onCommand(id); });
    }
    return CString();
}

QFont DialogTemplateBuilder::DialogFont(const DialogTemplate& dialog)
{
    if (!dialog.fontFace || IsWindowsDialogFont(dialog.fontFace))
        return QApplication::font();
    return QFont(QString::fromUtf8(dialog.fontFace), dialog.fontPoints);
}

QSize DialogTemplateBuilder::BaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    return QSize(metrics.averageCharWidth(), metrics.height());
}

bool DialogTemplateBuilder::MapDialogRect(const QWidget* widget, QRect& rect)
{
    if (!widget || !widget->property(kTemplateProperty).isValid())
        return false;
    rect = ToPixels(BaseUnits(widget->font()), rect);
    return true;
}

int DialogTemplateBuilder::ControlId(const QWidget* widget)
{
    return ControlIds().Get(widget, 0);
}

void DialogTemplateBuilder::SetControlId(QWidget* widget, int id)
{
    ControlIds().Set(widget, id);
}

void DialogTemplateBuilder::Arrange(QWidget* host)
{
    const QSize base = host->property(kTemplateSize).toSize();
    const int dx = std::max(0, host->width() - base.width());
    const int dy = std::max(0, host->height() - base.height());
    for (QWidget* control : host->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const Growth placed = Growths().Get(control, {});
        if (!placed.growth)
            continue;
        // A size the program gave the control after the template stays where it does not grow.
        const QPoint at = placed.rect.topLeft() + QPoint(placed.growth & GROW_MOVE_X ? dx : 0,
                                                         placed.growth & GROW_MOVE_Y ? dy : 0);
        const QSize size(placed.growth & GROW_WIDTH ? placed.rect.width() + dx : control->width(),
                         placed.growth & GROW_HEIGHT ? placed.rect.height() + dy
                                                     : control->height());
        control->setGeometry(QRect(at, size));
    }
}
