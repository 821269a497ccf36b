#include "platform/files/CFileException.h"

#include "platform/files/HostPath.h"

#include <cerrno>

int CFileException::OsErrorToException(int error)
{
    switch (error) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
        return removeCurrentDir;
    case ESPIPE:
    case EINVAL:
        return badSeek;
    case EIO:
        return hardIO;
    case EWOULDBLOCK:
        return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return genericException;
    }
}

CString CFileException::GetErrorMessage() const
{
    const std::string name = HostPathForMessage(m_strFileName);
    const char* format = "An unexpected error occurred while accessing %s.";
    switch (m_cause) {
    case fileNotFound:
        format = "%s was not found.";
        break;
    case badPath:
        format = "%s contains an invalid path.";
        break;
    case tooManyOpenFiles:
        format = "%s could not be opened because there are too many open files.";
        break;
    case accessDenied:
        format = "Access to %s was denied.";
        break;
    case invalidFile:
        format = "An invalid file handle was associated with %s.";
        break;
    case removeCurrentDir:
        format = "%s could not be removed because it is the current directory.";
        break;
    case directoryFull:
        format = "%s could not be created because the directory is full.";
        break;
    case badSeek:
        format = "Seek failed on %s.";
        break;
    case hardIO:
        format = "A hardware I/O error was reported while accessing %s.";
        break;
    case sharingViolation:
        format = "A sharing violation occurred while accessing %s: another program has it open.";
        break;
    case lockViolation:
        format = "A locking violation occurred while accessing %s.";
        break;
    case diskFull:
        format = "The disk is full while accessing %s.";
        break;
    case endOfFile:
        format = "An attempt was made to access %s beyond its end.";
        break;
    default:
        break;
    }
    CString text;
    text.Format(format, name.c_str());
    return text;
}
