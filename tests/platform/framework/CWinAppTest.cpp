#include "platform/framework/CWinApp.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
class TestApp : public CWinApp
{
public:
    BOOL OnIdle(LONG count) override
    {
        m_idleCounts.push_back(count);
        if (count == 2 && m_quitCode >= 0)
            PostQuitMessage(m_quitCode);
        return count < 2;
    }
    BOOL PreTranslateMessage(QObject* receiver, QEvent* event) override
    {
        return receiver == m_swallowFor && event->type() >= QEvent::User;
    }
    std::vector<LONG> m_idleCounts;
    int m_quitCode = -1;
    QObject* m_swallowFor = nullptr;
};

// Counts the user events that reach it.
class Receiver : public QObject
{
public:
    bool event(QEvent* event) override
    {
        m_got += event->type() >= QEvent::User;
        return QObject::event(event);
    }
    int m_got = 0;
};

bool WaitCursorShown()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}
} // namespace

TEST(CWinApp, IsTheOneApplicationWithTheTitleOfTheStringTable)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        TestApp app;
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_STREQ(app.m_pszAppName, "Reelmix");
        TestApp second;
        EXPECT_EQ(AfxGetApp(), &app);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(CWinApp, WaitCursorNests)
{
    TestApp app;
    app.BeginWaitCursor();
    {
        CWaitCursor inner;
        EXPECT_TRUE(WaitCursorShown());
    }
    EXPECT_TRUE(WaitCursorShown());
    app.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    app.EndWaitCursor(); // one too many changes nothing
    app.BeginWaitCursor();
    EXPECT_TRUE(WaitCursorShown());
    app.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(CWinApp, RunIdlesWhileTheQueueIsEmptyAndEndsWithTheQuitCode)
{
    TestApp app;
    app.m_quitCode = 3;
    EXPECT_EQ(app.Run(), 3);
    // Idle work runs while it asks for more; the quit request then starts it afresh once.
    ASSERT_GE(app.m_idleCounts.size(), 3u);
    EXPECT_EQ(std::vector<LONG>(app.m_idleCounts.begin(), app.m_idleCounts.begin() + 3),
              (std::vector<LONG>{0, 1, 2}));
}

TEST(CWinApp, PreTranslateMessageTakesEventsBeforeTheirReceiver)
{
    TestApp app;
    Receiver swallowed, passed;
    app.m_swallowFor = &swallowed;
    QCoreApplication::postEvent(&swallowed, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&passed, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(swallowed.m_got, 0);
    EXPECT_EQ(passed.m_got, 1);
}

TEST(QtMessageBox, ShowsTheTitleTextButtonsAndIconAndAnswersTheButtonChosen)
{
    TestApp app;
    struct Case {
        UINT type;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton press;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok, IDOK},
        {MB_OKCANCEL | MB_ICONEXCLAMATION, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Warning, QMessageBox::Cancel, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question,
         QMessageBox::No, IDNO},
        {MB_YESNOCANCEL | MB_ICONSTOP, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         QMessageBox::Critical, QMessageBox::Yes, IDYES},
    };
    const MessageBoxHook previous = SetMessageBoxHook(nullptr);
    InstallQtMessageBox();
    for (const Case& c : cases) {
        QString title, text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            icon = box->icon();
            box->button(c.press)->click();
        });
        EXPECT_EQ(AfxMessageBox("There are no clips in the show.", c.type), c.answer);
        EXPECT_EQ(title, "Reelmix");
        EXPECT_EQ(text, "There are no clips in the show.");
        EXPECT_EQ(buttons, c.buttons);
        EXPECT_EQ(icon, c.icon);
    }
    SetMessageBoxHook(previous);
}
