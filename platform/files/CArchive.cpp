#include "platform/files/CArchive.h"

#include <QString>

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the archive format is little-endian");

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : m_file(file), m_loading(mode & load), m_buffer(std::size_t(std::max(bufferSize, 16)))
{
    if (m_loading) {
        const std::uint64_t length = m_file->GetLength();
        const std::uint64_t position = m_file->GetPosition();
        m_fileLeft = length > position ? length - position : 0;
    }
}

CArchive::~CArchive()
{
    if (m_file && IsStoring()) {
        try {
            Flush();
        } catch (const CException&) {
            // Nothing can report from a destructor; Close reports.
        }
    }
}

UINT CArchive::Read(void* buffer, UINT count)
{
    if (IsStoring())
        ThrowArchive(CArchiveException::writeOnly);
    char* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_pos == m_end) {
            // Large reads bypass the buffer.
            if (count - done >= m_buffer.size())
                return done + ReadFile(out + done, count - done);
            m_end = ReadFile(m_buffer.data(), UINT(m_buffer.size()));
            m_pos = 0;
            if (m_end == 0)
                break;
        }
        const std::size_t take = std::min<std::size_t>(count - done, m_end - m_pos);
        std::memcpy(out + done, m_buffer.data() + m_pos, take);
        m_pos += take;
        done += UINT(take);
    }
    return done;
}

void CArchive::Write(const void* buffer, UINT count)
{
    if (IsLoading())
        ThrowArchive(CArchiveException::readOnly);
    if (m_end + count > m_buffer.size()) {
        Flush();
        if (count >= m_buffer.size()) {
            m_file->Write(buffer, count);
            return;
        }
    }
    std::memcpy(m_buffer.data() + m_end, buffer, count);
    m_end += count;
}

void CArchive::Flush()
{
    if (IsStoring() && m_end > 0) {
        const std::size_t n = m_end;
        m_end = 0;
        m_file->Write(m_buffer.data(), UINT(n));
    }
}

void CArchive::Close()
{
    Flush();
    m_file = nullptr;
}

void CArchive::Abort() noexcept
{
    m_end = m_pos = 0;
    m_file = nullptr;
}

void CArchive::ReadExactly(void* buffer, UINT count)
{
    if (Read(buffer, count) != count)
        ThrowArchive(CArchiveException::endOfFile);
}

UINT CArchive::ReadFile(void* buffer, UINT count)
{
    const UINT got = m_file->Read(buffer, count);
    m_fileLeft -= std::min<std::uint64_t>(got, m_fileLeft);
    return got;
}

std::uint64_t CArchive::BytesLeft() const
{
    return m_fileLeft + (m_end - m_pos);
}

CArchive& CArchive::operator<<(const CString& text)
{
    const auto length = std::uint32_t(text.GetLength());
    if (length < 0xFF) {
        *this << BYTE(length);
    } else if (length < 0xFFFE) {
        *this << BYTE(0xFF) << WORD(length);
    } else {
        *this << BYTE(0xFF) << WORD(0xFFFF) << DWORD(length);
    }
    Write(text.Str().data(), length);
    return *this;
}

std::uint32_t CArchive::ReadStringLength(bool& wide)
{
    wide = false;
    BYTE byteLength = 0;
    *this >> byteLength;
    if (byteLength < 0xFF)
        return byteLength;
    WORD wordLength = 0;
    *this >> wordLength;
    if (wordLength == 0xFFFE) {
        wide = true;
        *this >> byteLength;
        if (byteLength < 0xFF)
            return byteLength;
        *this >> wordLength;
    }
    if (wordLength < 0xFFFF)
        return wordLength;
    DWORD length = 0;
    *this >> length;
    return length;
}

CArchive& CArchive::operator>>(CString& text)
{
    bool wide = false;
    const std::uint64_t length = ReadStringLength(wide);
    const std::uint64_t bytes = wide ? length * 2 : length;
    // A length field is untrusted: never allocate more than the file can still deliver.
    if (bytes > BytesLeft() || bytes > 0xFFFFFFFFu)
        ThrowArchive(CArchiveException::endOfFile);
    std::string raw(std::size_t(bytes), '\0');
    ReadExactly(raw.data(), UINT(bytes));
    if (!wide) {
        text = CString(std::move(raw));
        return *this;
    }
    std::u16string units(std::size_t(length), u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(BYTE(raw[2 * i]) | (BYTE(raw[2 * i + 1]) << 8));
    text = CString(QString::fromUtf16(units.data(), qsizetype(units.size())).toStdString());
    return *this;
}

void CArchive::ThrowArchive(int cause) const
{
    throw CArchiveException(cause, m_file ? m_file->GetFilePath() : CString());
}
