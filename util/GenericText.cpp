#include "util/Generic.h"

#include "platform/MessageBeep.h"
#include "res/StringTable.h"

CString Generic::LoadString(UINT id)
{
    if (const char* text = FindResourceString(id))
        return CString(text);
    CString error;
    error.Format("%d::: Error loading string from string table!", int(id));
    MessageBeep(MB_ICONEXCLAMATION);
    return error;
}
