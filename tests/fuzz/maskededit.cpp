// Any mask, then any keys typed into the masked edit: the text keeps the mask's length and
// literals, and every input position holds its prompt or a character it accepts. Ctrl+V and
// Ctrl+Z are left out: pasting and undoing reach the edit unmasked.
#include "controls/MyEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdint>
#include <cstdlib>

namespace
{
void Press(QLineEdit& line, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&line, &press);
}

// Printable ASCII is typed, other control bytes are Ctrl+letters, the rest editing and caret
// keys (with Shift from 0xC0 on) or a letter beyond ASCII.
void Type(QLineEdit& line, std::uint8_t byte)
{
    static const int keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Left,
                               Qt::Key_Right,     Qt::Key_Home,   Qt::Key_End,    Qt::Key_Tab,
                               Qt::Key_Return,    Qt::Key_Eacute};
    const int key = keys[byte % 10];
    if (byte >= 0x20 && byte < 0x7F)
        Press(line, QChar::toUpper(byte), Qt::NoModifier, QString(QChar(byte)));
    else if (byte >= 1 && byte <= 26 && byte != 'V' - '@' && byte != 'Z' - '@')
        Press(line, Qt::Key_A + byte - 1, Qt::ControlModifier);
    else if (key == Qt::Key_Eacute)
        Press(line, key, Qt::NoModifier, QString(QChar(0xE9)));
    else
        Press(line, key, (byte & 0xC0) == 0xC0 ? Qt::ShiftModifier : Qt::NoModifier);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own statics are gone before a static application would go.
    new QApplication(*argc, *argv);
    return 0;
}

// Bytes: styles (1 upper, 2 lower), the number of valid characters, the mask's length; per
// position a class with a prompt, or a literal; the valid characters; the keys.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    std::size_t at = 3;
    CString mask, literal, prompt, valid;
    for (; at < size && mask.GetLength() < data[2] % 16; ++at) {
        const int pick = data[at] % 16;
        const char ch = pick < 8 ? "#&09?AaL"[pick] : "/-:.() %"[pick - 8];
        mask += ch;
        literal += pick < 8 ? '_' : ch;
        prompt += pick < 8 ? "_ .0"[data[at] >> 6] : ch;
    }
    for (; at < size && valid.GetLength() < data[1] % 64; ++at)
        valid += char(data[at]);
    QWidget window;
    auto* line = new QLineEdit(&window);
    CWnd::SetInitialStyle(line,
                          (data[0] & 1 ? ES_UPPERCASE : 0) | (data[0] & 2 ? ES_LOWERCASE : 0));
    MyEdit edit;
    edit.Attach(line);
    edit.ApplyInputMask(mask, literal, prompt, valid);
    for (;; ++at) {
        const QString text = line->text();
        if (text.size() != mask.GetLength())
            std::abort();
        for (int i = 0; i < text.size(); ++i) {
            const char16_t ch = text[i].unicode();
            if (literal[i] == '_' ? ch != char16_t(prompt[i]) && !edit.AcceptsAt(ch, i)
                                  : ch != char16_t(literal[i]))
                std::abort();
        }
        if (at >= size)
            return 0;
        Type(*line, data[at]);
    }
}
