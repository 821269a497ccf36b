#include "platform/windows/CDialog.h"
#include "res/DialogTemplates.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{
class AboutDlg : public CDialog
{
public:
    AboutDlg() : CDialog(IDD_ABOUTBOX) {}
    BOOL OnInitDialog() override
    {
        ++m_initCount;
        m_okExistsAtInit = GetDlgItem(IDOK) != nullptr;
        return CDialog::OnInitDialog();
    }
    void OnCancel() override
    {
        ++m_cancelCount;
        if (!m_refuseCancel)
            CDialog::OnCancel();
    }
    void OnDestroy() override { ++m_destroyCount; }

    int m_initCount = 0;
    int m_cancelCount = 0;
    int m_destroyCount = 0;
    bool m_okExistsAtInit = false;
    bool m_refuseCancel = false;
};

// Runs act on the dialog once its modal loop is running.
int RunWith(AboutDlg& dialog, std::function<void(QDialog*)> act)
{
    QTimer::singleShot(0, [&dialog, act] {
        auto* window = qobject_cast<QDialog*>(dialog.GetSafeHwnd());
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
        act(window);
    });
    return dialog.DoModal();
}

void Close(QDialog* window)
{
    QCloseEvent close;
    QApplication::sendEvent(window, &close);
}
} // namespace

TEST(CDialog, ModalRunsEndWithTheButtonOrKeyThatClosedThem)
{
    struct Case {
        const char* what;
        std::function<void(QDialog*)> act;
        int result;
    };
    const Case cases[] = {
        {"Enter", [](QDialog* w) { QTest::keyClick(w, Qt::Key_Return); }, IDOK},
        {"Escape", [](QDialog* w) { QTest::keyClick(w, Qt::Key_Escape); }, IDCANCEL},
        {"close box", &Close, IDCANCEL},
        {"OK click",
         [](QDialog* w) { QTest::mouseClick(w->findChild<QPushButton*>(), Qt::LeftButton); }, IDOK},
    };
    for (const Case& c : cases) {
        AboutDlg dialog;
        EXPECT_EQ(RunWith(dialog, c.act), c.result) << c.what;
        EXPECT_EQ(dialog.m_initCount, 1) << c.what;
        EXPECT_TRUE(dialog.m_okExistsAtInit) << c.what;
        EXPECT_EQ(dialog.m_destroyCount, 1) << c.what;
        EXPECT_FALSE(IsWindow(dialog.GetSafeHwnd())) << c.what;
    }
}

TEST(CDialog, ACancelHandlerThatDoesNotEndTheDialogKeepsItOpen)
{
    AboutDlg dialog;
    dialog.m_refuseCancel = true;
    const int result = RunWith(dialog, [&dialog](QDialog* w) {
        QTest::keyClick(w, Qt::Key_Escape);
        Close(w);
        EXPECT_TRUE(w->isVisible());
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_cancelCount, 2);
}

TEST(CDialog, AMissingTemplateFailsTheRun)
{
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(CDialog, ACheckBoxMnemonicChecksItAtOnceSoThatEnterRightAfterKeepsIt)
{
    CDialog dialog(IDD_MULTI_LOAD);
    bool checkedAtEnter = false;
    QTimer::singleShot(0, [&] {
        QWidget* window = dialog.GetSafeHwnd();
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
        checkedAtEnter = window->findChildren<QCheckBox*>().at(0)->isChecked();
        QTest::keyClick(window, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(checkedAtEnter);
}
