#pragma once
// Reading or writing an archive failed; m_cause says why in the framework's terms.
#include "platform/core/CException.h"

class CArchiveException : public CException
{
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    CArchiveException(int cause = none, const CString& fileName = CString())
        : m_cause(cause), m_strFileName(fileName)
    {
    }

    CString GetErrorMessage() const override;

    int m_cause;
    CString m_strFileName;
};
