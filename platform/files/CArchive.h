#pragma once
// The framework's binary archive over a CFile, with its exact byte forms: little-endian
// integers, raw doubles, and length-prefixed strings. Typed reads past the end raise
// CArchiveException(endOfFile); raw Read returns a short count instead.
#include "platform/files/CArchiveException.h"
#include "platform/files/CFile.h"

#include <cstdint>
#include <vector>

class CArchive
{
public:
    enum Mode { store = 0, load = 1 };

    CArchive(CFile* file, UINT mode, int bufferSize = 65536);
    // A storing archive that was not closed flushes here and swallows failures.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    CFile* GetFile() const { return m_file; }

    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    void Flush();
    void Close();
    void Abort() noexcept;

    CArchive& operator<<(BYTE value) { return Put(value); }
    CArchive& operator<<(WORD value) { return Put(value); }
    CArchive& operator<<(LONG value) { return Put(value); }
    CArchive& operator<<(DWORD value) { return Put(value); }
    CArchive& operator<<(double value) { return Put(value); }
    CArchive& operator<<(const CString& text);

    CArchive& operator>>(BYTE& value) { return Get(value); }
    CArchive& operator>>(WORD& value) { return Get(value); }
    CArchive& operator>>(LONG& value) { return Get(value); }
    CArchive& operator>>(DWORD& value) { return Get(value); }
    CArchive& operator>>(double& value) { return Get(value); }
    CArchive& operator>>(CString& text);

private:
    template <typename T> CArchive& Put(T value)
    {
        Write(&value, sizeof value); // this platform is little-endian, as the format
        return *this;
    }
    template <typename T> CArchive& Get(T& value)
    {
        ReadExactly(&value, sizeof value);
        return *this;
    }

    void ReadExactly(void* buffer, UINT count);
    UINT ReadFile(void* buffer, UINT count);
    std::uint64_t BytesLeft() const;
    std::uint32_t ReadStringLength(bool& wide);
    [[noreturn]] void ThrowArchive(int cause) const;

    CFile* m_file;
    bool m_loading;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0; // next byte in m_buffer
    std::size_t m_end = 0; // bytes valid in m_buffer (loading) or written to it (storing)
    // What the file still holds past the buffer, known once so that untrusted lengths can be
    // checked without asking the system for every string.
    std::uint64_t m_fileLeft = 0;
};
