#pragma once
// The framework's binary file over a POSIX descriptor. Paths are program paths. Share modes are
// kept between opens with advisory locks: an exclusive open excludes every other open.
#include "platform/core/CObject.h"
#include "platform/files/CFileException.h"

#include <cstdint>

class CFile : public CObject
{
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const char* path, UINT flags);
    ~CFile() override;

    // False with the cause in *error (when given) on failure.
    virtual BOOL Open(const char* path, UINT flags, CFileException* error = nullptr);
    // Reads up to count bytes; fewer only at the end of the file. Throws on a read error.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all count bytes or throws.
    virtual void Write(const void* buffer, UINT count);
    virtual std::uint64_t Seek(std::int64_t offset, UINT from);
    std::uint64_t SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }
    std::uint64_t GetPosition() const;
    std::uint64_t GetLength() const;
    // Pushes written data to the disk.
    virtual void Flush();
    // Closes; throws when the system reports that the data could not be kept.
    virtual void Close();
    // Closes without throwing.
    void Abort() noexcept;

    bool IsOpen() const { return m_fd >= 0; }
    const CString& GetFilePath() const { return m_path; }

    static void Rename(const char* oldPath, const char* newPath);
    static void Remove(const char* path);

protected:
    [[noreturn]] void ThrowOsError(int error) const;

private:
    int m_fd = -1;
    CString m_path;
};
