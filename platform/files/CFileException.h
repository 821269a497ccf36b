#pragma once
// A file operation failed; m_cause says why in the framework's terms.
#include "platform/core/CException.h"

class CFileException : public CException
{
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = none, int osError = 0, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
    {
    }

    // The framework's cause for a POSIX errno.
    static int OsErrorToException(int error);

    CString GetErrorMessage() const override;

    int m_cause;
    int m_lOsError;
    CString m_strFileName;
};
