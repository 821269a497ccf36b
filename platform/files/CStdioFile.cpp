#include "platform/files/CStdioFile.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr std::size_t kChunk = 16384;
}

CStdioFile::CStdioFile(const char* path, UINT flags)
{
    CFileException error;
    if (!Open(path, flags, &error))
        throw error;
}

CStdioFile::~CStdioFile()
{
    try {
        Flush();
    } catch (const CException&) {
        // A destructor cannot report; callers who care call Close.
    }
}

BOOL CStdioFile::Open(const char* path, UINT flags, CFileException* error)
{
    m_text = !(flags & typeBinary);
    m_pending.clear();
    m_readAhead.clear();
    m_readPos = 0;
    return CFile::Open(path, flags & ~UINT(typeText | typeBinary), error);
}

void CStdioFile::WriteString(const char* text)
{
    for (const char* p = text; *p; ++p) {
        if (*p == '\n' && m_text)
            m_pending += '\r';
        m_pending += *p;
    }
    if (m_pending.size() >= kChunk)
        Flush();
}

bool CStdioFile::FillReadBuffer()
{
    if (m_readPos < m_readAhead.size())
        return true;
    m_readAhead.resize(kChunk);
    m_readAhead.resize(CFile::Read(m_readAhead.data(), UINT(kChunk)));
    m_readPos = 0;
    return !m_readAhead.empty();
}

BOOL CStdioFile::ReadString(CString& line)
{
    std::string text;
    bool any = false;
    while (FillReadBuffer()) {
        any = true;
        const char* start = m_readAhead.data() + m_readPos;
        const std::size_t left = m_readAhead.size() - m_readPos;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', left));
        const std::size_t take = nl ? std::size_t(nl - start) : left;
        text.append(start, take);
        m_readPos += take + (nl ? 1 : 0);
        if (nl)
            break;
    }
    if (m_text && !text.empty() && text.back() == '\r')
        text.pop_back();
    line = CString(std::move(text));
    return any;
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    UINT done = 0;
    while (done < count && FillReadBuffer()) {
        const std::size_t take =
            std::min<std::size_t>(count - done, m_readAhead.size() - m_readPos);
        std::memcpy(static_cast<char*>(buffer) + done, m_readAhead.data() + m_readPos, take);
        m_readPos += take;
        done += UINT(take);
    }
    return done;
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    m_pending.append(static_cast<const char*>(buffer), count);
    if (m_pending.size() >= kChunk)
        Flush();
}

void CStdioFile::Flush()
{
    if (!IsOpen() || m_pending.empty())
        return;
    std::string data;
    data.swap(m_pending);
    CFile::Write(data.data(), UINT(data.size()));
}

void CStdioFile::Close()
{
    if (!IsOpen())
        return;
    try {
        Flush();
    } catch (...) {
        Abort();
        throw;
    }
    CFile::Close();
}
