#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/CButton.h"
#include "platform/windows/CStatic.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplateBuilder.h"
#include "res/DialogTemplates.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace
{
// A window that owns a widget built from a template, as a form view will.
class FormWnd : public CWnd
{
public:
    CString Build(UINT id)
    {
        CreateOwned(std::make_unique<QWidget>());
        return DialogTemplateBuilder::Build(*FindDialogTemplate(id), GetSafeHwnd(),
                                            [this](UINT clicked) { m_clicked.push_back(clicked); });
    }
    std::vector<UINT> m_clicked;
};

QRect Pixels(const QSize& base, int x, int y, int cx, int cy)
{
    // Edges are converted one by one, rounding to nearest, as the dialog manager does.
    auto h = [&](int u) { return (u * base.width() * 2 + 4) / 8; };
    auto v = [&](int u) { return (u * base.height() * 2 + 8) / 16; };
    return QRect(QPoint(h(x), v(y)), QPoint(h(x + cx) - 1, v(y + cy) - 1));
}
} // namespace

TEST(DialogTemplate, BaseUnitsOfTheDesktopFontAreItsAverageLetterWidthAndHeight)
{
    // The desktop font of the headless test machine: "Sans Serif" 9 pt.
    const QSize base = DialogTemplateBuilder::BaseUnits(QApplication::font());
    if (base != QSize(6, 14))
        GTEST_SKIP() << "font differs from the test machine's: " << base.width() << "x"
                     << base.height();
    FormWnd form;
    ASSERT_TRUE(form.Build(IDD_ABOUTBOX).IsEmpty());
    CRect rect(0, 0, 4, 8);
    ASSERT_TRUE(form.MapDialogRect(&rect));
    EXPECT_EQ(rect, CRect(0, 0, 6, 14));
    rect = CRect(7, 7, 57, 21);
    ASSERT_TRUE(form.MapDialogRect(&rect));
    EXPECT_EQ(rect, CRect(11, 12, 86, 37)); // 10.5 -> 11, 12.25 -> 12, 85.5 -> 86, 36.75 -> 37
}

TEST(DialogTemplate, MapDialogRectFailsForAWindowNotMadeFromATemplate)
{
    QWidget plain;
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(&plain));
    CRect rect(0, 0, 4, 8);
    EXPECT_FALSE(wnd.MapDialogRect(&rect));
    EXPECT_EQ(rect, CRect(0, 0, 4, 8));
    CWnd none;
    EXPECT_FALSE(none.MapDialogRect(&rect));
}

TEST(DialogTemplate, AboutBoxControlsSitAtTheirTemplateRectangles)
{
    FormWnd form;
    ASSERT_TRUE(form.Build(IDD_ABOUTBOX).IsEmpty());
    const QSize base = DialogTemplateBuilder::BaseUnits(form.GetSafeHwnd()->font());
    EXPECT_EQ(form.GetSafeHwnd()->size(), Pixels(base, 0, 0, 250, 55).size());
    EXPECT_EQ(form.GetSafeHwnd()->windowTitle(), "About Reelmix");

    CWnd* ok = form.GetDlgItem(IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetSafeHwnd()->geometry(), Pixels(base, 193, 7, 50, 14));
    CString text;
    ok->GetWindowText(text);
    EXPECT_EQ(text, "OK");
    CButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDOK, &form));
    EXPECT_EQ(button.GetButtonStyle(), BS_DEFPUSHBUTTON);
    EXPECT_EQ(form.GetDlgItem(IDOK), &button); // the permanent window wins over a temporary

    // The texts and the icon, which keeps its own 32 x 32 size at the rectangle's corner.
    const auto labels = form.GetSafeHwnd()->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 4);
    EXPECT_EQ(labels[0]->geometry(), QRect(Pixels(base, 11, 17, 20, 20).topLeft(), QSize(32, 32)));
    EXPECT_FALSE(labels[0]->pixmap().isNull());
    EXPECT_EQ(labels[1]->text(), "Reelmix Version 1.0");
    EXPECT_EQ(labels[1]->geometry(), Pixels(base, 40, 10, 119, 8));
    EXPECT_EQ(labels[3]->geometry(), Pixels(base, 40, 34, 119, 8));
}

TEST(DialogTemplate, FormTemplateWithARegisteredListClass)
{
    // Stands in for the list view until its control registers the class.
    DialogTemplateBuilder::RegisterControlClass(
        "SysListView32", [](const DialogItem&, const QRect& rect, QWidget* parent) {
            auto* widget = new QWidget(parent);
            widget->setGeometry(rect);
            return widget;
        });
    FormWnd form;
    ASSERT_TRUE(form.Build(IDD_REELMIX_FORM).IsEmpty());
    const QSize base = DialogTemplateBuilder::BaseUnits(form.GetSafeHwnd()->font());
    struct Expected {
        int id;
        const char* text;
        QRect rect;
    };
    const Expected expected[] = {
        {1002, "&Insert...", Pixels(base, 7, 7, 50, 14)},
        {1000, "", Pixels(base, 7, 21, 278, 122)},
        {1006, "&Play Show!", Pixels(base, 295, 111, 98, 32)},
        {1033, "Total Duration: > 00:00:00.000", Pixels(base, 295, 23, 98, 8)},
    };
    for (const Expected& e : expected) {
        CWnd* item = form.GetDlgItem(e.id);
        ASSERT_NE(item, nullptr) << e.id;
        EXPECT_EQ(item->GetSafeHwnd()->geometry(), e.rect) << e.id;
        EXPECT_EQ(item->GetDlgCtrlID(), e.id);
        if (*e.text) {
            CString text;
            item->GetWindowText(text);
            EXPECT_EQ(text, e.text) << e.id;
        }
    }
    EXPECT_EQ(form.GetSafeHwnd()->findChildren<QWidget*>().size(), 11);
    EXPECT_EQ(form.GetDlgItem(9999), nullptr);

    // Clicks come to the owner with the button's id; disabled buttons stay silent.
    auto* play = static_cast<QPushButton*>(form.GetDlgItem(1006)->GetSafeHwnd());
    play->click();
    form.GetDlgItem(1002)->EnableWindow(FALSE);
    static_cast<QPushButton*>(form.GetDlgItem(1002)->GetSafeHwnd())->click();
    EXPECT_EQ(form.m_clicked, std::vector<UINT>{1006});
}

TEST(DialogTemplate, AnUnregisteredControlClassIsAClearErrorAndBuildsNothing)
{
    const DialogItem items[] = {
        {"Button", 1, "OK", 0, 0, 50, 14, WS_CHILD | WS_VISIBLE},
        {"NoSuchControl32", 1040, "", 0, 20, 50, 14, WS_CHILD | WS_VISIBLE},
    };
    const DialogTemplate dialog{555, "Broken", 100, 50, "MS Sans Serif", 8, WS_POPUP, items};
    QWidget host;
    const CString error = DialogTemplateBuilder::Build(dialog, &host, [](UINT) {});
    EXPECT_NE(error.Find("NoSuchControl32"), -1) << (const char*)error;
    EXPECT_NE(error.Find("555"), -1) << (const char*)error;
    EXPECT_TRUE(host.findChildren<QWidget*>().isEmpty());
}

TEST(CWnd, WindowOperationsReachTheWidget)
{
    FormWnd form;
    ASSERT_TRUE(form.Build(IDD_ABOUTBOX).IsEmpty());
    CStatic version;
    ASSERT_TRUE(version.Attach(form.GetSafeHwnd()->findChildren<QLabel*>()[1]));
    version.SetWindowText("Version 2");
    CString text;
    version.GetWindowText(text);
    EXPECT_EQ(text, "Version 2");
    EXPECT_FALSE(version.EnableWindow(FALSE));
    EXPECT_FALSE(version.IsWindowEnabled());
    EXPECT_TRUE(version.EnableWindow(TRUE));

    version.MoveWindow(5, 6, 70, 20);
    CRect rect;
    version.GetClientRect(&rect);
    EXPECT_EQ(rect, CRect(0, 0, 70, 20));
    version.SetWindowPos(nullptr, 9, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(version.GetSafeHwnd()->geometry(), QRect(9, 9, 70, 20));

    form.ShowWindow(SW_SHOW);
    EXPECT_TRUE(version.IsWindowVisible());
    version.GetWindowRect(&rect);
    form.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(9, 9, 79, 29));
    form.ClientToScreen(&rect);
    POINT corner = rect.TopLeft();
    form.ScreenToClient(&corner);
    EXPECT_EQ(corner.x, 9);
    EXPECT_EQ(corner.y, 9);
    EXPECT_TRUE(version.ShowWindow(SW_HIDE));
    EXPECT_FALSE(version.IsWindowVisible());

    // A widget deleted by its parent leaves the CWnd without a window, not dangling.
    delete version.GetSafeHwnd();
    EXPECT_FALSE(IsWindow(version.GetSafeHwnd()));
    form.DestroyWindow();
    EXPECT_FALSE(IsWindow(form.GetSafeHwnd()));
}
