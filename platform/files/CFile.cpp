#include "platform/files/CFile.h"

#include "platform/files/HostPath.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
int OpenFlagsFor(UINT flags)
{
    int access = O_RDONLY;
    if ((flags & 3) == CFile::modeWrite)
        access = O_WRONLY;
    else if ((flags & 3) == CFile::modeReadWrite)
        access = O_RDWR;
    return access | O_CLOEXEC | ((flags & CFile::modeCreate) ? O_CREAT : 0);
}

int Fail(CFileException* error, int osError, const char* path)
{
    if (error)
        *error = CFileException(CFileException::OsErrorToException(osError), osError, path);
    return FALSE;
}
} // namespace

CFile::CFile(const char* path, UINT flags)
{
    CFileException error;
    if (!Open(path, flags, &error))
        throw error;
}

CFile::~CFile()
{
    Abort();
}

BOOL CFile::Open(const char* path, UINT flags, CFileException* error)
{
    const std::string host = ToHostPath(path);
    // Non-blocking, so that a pipe given as a file cannot hang the open.
    const int fd = ::open(host.c_str(), OpenFlagsFor(flags) | O_NONBLOCK, 0666);
    if (fd < 0)
        return Fail(error, errno, path);
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISCHR(st.st_mode))) {
        const int e = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
        ::close(fd);
        return Fail(error, e, path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Lock before truncating, so that a refused open never destroys another opener's data.
    const int lock = (flags & 0x70) == shareExclusive ? LOCK_EX : LOCK_SH;
    if (::flock(fd, lock | LOCK_NB) != 0 ||
        ((flags & modeCreate) && !(flags & modeNoTruncate) && ::ftruncate(fd, 0) != 0)) {
        const int e = errno;
        ::close(fd);
        return Fail(error, e, path);
    }
    m_fd = fd;
    m_path = path;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowOsError(errno);
        if (n == 0)
            break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowOsError(errno);
        done += UINT(n);
    }
}

std::uint64_t CFile::Seek(std::int64_t offset, UINT from)
{
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    const off_t pos = ::lseek(m_fd, off_t(offset), whence);
    if (pos < 0)
        ThrowOsError(errno);
    return std::uint64_t(pos);
}

std::uint64_t CFile::GetPosition() const
{
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        ThrowOsError(errno);
    return std::uint64_t(pos);
}

std::uint64_t CFile::GetLength() const
{
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0)
        ThrowOsError(errno);
    return std::uint64_t(st.st_size);
}

void CFile::Flush()
{
    if (m_fd >= 0 && ::fsync(m_fd) != 0 && errno != EINVAL)
        ThrowOsError(errno);
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        ThrowOsError(errno);
}

void CFile::Abort() noexcept
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void CFile::Rename(const char* oldPath, const char* newPath)
{
    if (::rename(ToHostPath(oldPath).c_str(), ToHostPath(newPath).c_str()) != 0) {
        const int e = errno;
        throw CFileException(CFileException::OsErrorToException(e), e, oldPath);
    }
}

void CFile::Remove(const char* path)
{
    if (::unlink(ToHostPath(path).c_str()) != 0) {
        const int e = errno;
        throw CFileException(CFileException::OsErrorToException(e), e, path);
    }
}

void CFile::ThrowOsError(int error) const
{
    throw CFileException(CFileException::OsErrorToException(error), error, m_path);
}
