#include "platform/CArchiveException.h"

CString CArchiveException::GetErrorMessage() const
{
    const char* name = m_strFileName.IsEmpty() ? "the file" : (const char*)m_strFileName;
    const char* format = "Unexpected file format in %s.";
    switch (m_cause) {
    case readOnly: format = "Tried to write to %s while it was opened for loading."; break;
    case endOfFile: format = "Unexpected end of file while reading %s: it is damaged or not in this format."; break;
    case writeOnly: format = "Tried to read from %s while it was opened for storing."; break;
    default: break;
    }
    CString text;
    text.Format(format, name);
    return text;
}
