#include "controls/MyEdit.h"
#include "platform/process/MessageBeep.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
// A MyEdit on a shown window, with the focus.
struct Edit {
    explicit Edit(DWORD style = 0)
    {
        line = new QLineEdit(&window);
        CWnd::SetInitialStyle(line, style);
        edit.Attach(line);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        line->setFocus();
    }
    // Types keys: characters as they are, \b Backspace, \x18 Ctrl+X, \x16 Ctrl+V, \x7f Delete,
    // \x05 Insert.
    void Type(const std::string& keys)
    {
        for (const char key : keys) {
            if (key == '\b')
                QTest::keyClick(line, Qt::Key_Backspace);
            else if (key == '\x18' || key == '\x16')
                QTest::keyClick(line, key == '\x18' ? Qt::Key_X : Qt::Key_V, Qt::ControlModifier);
            else if (key == '\x7f' || key == '\x05')
                QTest::keyClick(line, key == '\x7f' ? Qt::Key_Delete : Qt::Key_Insert);
            else
                QTest::keyClick(line, key);
        }
    }
    QWidget window;
    QLineEdit* line;
    MyEdit edit;
};
} // namespace

TEST(MyEdit, DateMaskTypingRules)
{
    struct Case {
        const char* before;   // typed first
        int selStart, selEnd; // then selected; -1: left as it is
        const char* keys;
        const char* text;
        int caret;
        int beeps;
    };
    const Case cases[] = {
        {"", -1, -1, "123", "12/3_/____", 4, 0},  {"", -1, -1, "a", "__/__/____", 0, 1},
        {"", 10, 10, "1", "__/__/____", 10, 1},   {"123", -1, -1, "\b", "12/__/____", 3, 0},
        {"", -1, -1, "\b", "__/__/____", 0, 1},   {"12", 0, 2, "\b", "12/__/____", 2, 1},
        {"12", 3, 3, "\b", "12/__/____", 2, 0},   {"12", 0, 0, "\x7f\x05", "12/__/____", 0, 0},
        {"12", 0, 0, "\x18", "12/__/____", 0, 1},
    };
    for (const Case& c : cases) {
        Edit e;
        EXPECT_TRUE(e.edit.ApplyInputMask("00/00/0000", "__/__/____", "__/__/____", "0123456789"));
        e.Type(c.before);
        if (c.selStart >= 0)
            e.edit.SetSel(c.selStart, c.selEnd);
        const int beeps = MessageBeepCount();
        e.Type(c.keys);
        EXPECT_EQ(e.line->text().toStdString(), c.text) << c.before << "|" << c.keys;
        EXPECT_EQ(e.line->cursorPosition(), c.caret) << c.before << "|" << c.keys;
        EXPECT_EQ(MessageBeepCount() - beeps, c.beeps) << c.before << "|" << c.keys;
    }
}

TEST(MyEdit, ControlCharactersOtherThanCtrlXReachTheEdit)
{
    Edit e;
    e.edit.ApplyInputMask("000", "___", "___", "0123456789");
    QApplication::clipboard()->setText("77");
    const int beeps = MessageBeepCount();
    e.Type("\x16");
    EXPECT_EQ(MessageBeepCount(), beeps);
    EXPECT_EQ(e.line->text(), "77___");
}

TEST(MyEdit, CaseStylesAndEnteredText)
{
    Edit upper(ES_UPPERCASE), plain;
    for (Edit* e : {&upper, &plain}) {
        EXPECT_FALSE(e->edit.ApplyInputMask("(LLL)", "(___)", "(...)", "ABC"));
        EXPECT_EQ(e->edit.GetEnteredText(), "(");
    }
    upper.Type("ab");
    plain.Type("ab");
    EXPECT_EQ(upper.line->text(), "(AB.)");
    EXPECT_EQ(upper.edit.GetEnteredText(), "(AB");
    upper.Type("\b"); // puts back a prompt that is also a key's code ('.', Delete)
    EXPECT_EQ(upper.line->text(), "(A..)");
    EXPECT_EQ(plain.line->text(), "(...)");

    Edit bare;
    EXPECT_TRUE(bare.edit.ApplyInputMask("00", "__", "__", "0123456789"));
    EXPECT_EQ(bare.edit.GetEnteredText(), "");
}

TEST(MyEdit, RightClickShowsNoMenu)
{
    Edit e;
    // Neither the edit's own menu nor one of the window it sits on.
    e.window.setContextMenuPolicy(Qt::CustomContextMenu);
    bool parentAsked = false;
    QObject::connect(&e.window, &QWidget::customContextMenuRequested, [&] { parentAsked = true; });
    QContextMenuEvent click(QContextMenuEvent::Mouse, e.line->rect().center(),
                            e.line->mapToGlobal(e.line->rect().center()));
    QApplication::sendEvent(e.line, &click);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(parentAsked);
}
