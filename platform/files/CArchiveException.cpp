#include "platform/files/CArchiveException.h"

#include "platform/files/HostPath.h"

CString CArchiveException::GetErrorMessage() const
{
    const std::string name = HostPathForMessage(m_strFileName);
    const char* format = "Unexpected file format in %s.";
    switch (m_cause) {
    case readOnly:
        format = "Tried to write to %s while it was opened for loading.";
        break;
    case endOfFile:
        format = "Unexpected end of file while reading %s: it is damaged or not in this format.";
        break;
    case writeOnly:
        format = "Tried to read from %s while it was opened for storing.";
        break;
    default:
        break;
    }
    CString text;
    text.Format(format, name.c_str());
    return text;
}
