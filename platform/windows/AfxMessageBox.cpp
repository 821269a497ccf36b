#include "platform/windows/AfxMessageBox.h"

#include <cstdio>

namespace
{
MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

int DefaultAnswer(UINT type)
{
    switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}
} // namespace

int AfxMessageBox(const CString& text, UINT type)
{
    if (Hook())
        return Hook()(text, type);
    std::fprintf(stderr, "%s\n", (const char*)text);
    return DefaultAnswer(type);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
