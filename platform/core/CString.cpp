#include "platform/core/CString.h"

#include "platform/core/AsciiCase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
std::size_t Clamp(int value, std::size_t limit)
{
    return value < 0 ? 0 : std::min(std::size_t(value), limit);
}
} // namespace

int _stricmp(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const int ca = (unsigned char)AsciiLower(*a);
        const int cb = (unsigned char)AsciiLower(*b);
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

CString& CString::operator=(const char* text)
{
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text)
        m_text += text;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a.m_text + b.m_text);
}
CString operator+(const CString& a, const char* b)
{
    return CString(a) += b;
}
CString operator+(const char* a, const CString& b)
{
    return CString(a) += b;
}
CString operator+(const CString& a, char b)
{
    return CString(a) += b;
}

int CString::Compare(const char* text) const
{
    return std::strcmp(m_text.c_str(), text ? text : "");
}

int CString::CompareNoCase(const char* text) const
{
    return _stricmp(m_text.c_str(), text ? text : "");
}

CString CString::Left(int count) const
{
    return CString(m_text.substr(0, Clamp(count, m_text.size())));
}

CString CString::Right(int count) const
{
    const std::size_t n = Clamp(count, m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    const std::size_t start = Clamp(first, m_text.size());
    return CString(m_text.substr(start, Clamp(count, m_text.size() - start)));
}

CString CString::SpanIncluding(const char* set) const
{
    return Left(int(std::strspn(m_text.c_str(), set)));
}

CString CString::SpanExcluding(const char* set) const
{
    return Left(int(std::strcspn(m_text.c_str(), set)));
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || std::size_t(start) > m_text.size())
        return -1;
    const auto pos = m_text.find(ch, std::size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::Find(const char* text, int start) const
{
    if (start < 0 || std::size_t(start) > m_text.size())
        return -1;
    const auto pos = m_text.find(text ? text : "", std::size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::ReverseFind(char ch) const
{
    const auto pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::FindOneOf(const char* set) const
{
    const auto pos = m_text.find_first_of(set ? set : "");
    return pos == std::string::npos ? -1 : int(pos);
}

CString& CString::MakeUpper()
{
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), AsciiUpper);
    return *this;
}

CString& CString::MakeLower()
{
    m_text = AsciiLower(m_text);
    return *this;
}

CString& CString::TrimLeft()
{
    m_text.erase(m_text.begin(), std::find_if_not(m_text.begin(), m_text.end(), IsSpace));
    return *this;
}

CString& CString::TrimRight()
{
    m_text.erase(std::find_if_not(m_text.rbegin(), m_text.rend(), IsSpace).base(), m_text.end());
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

int CString::Replace(const char* old, const char* replacement)
{
    const std::string from = old ? old : "";
    const std::string to = replacement ? replacement : "";
    if (from.empty())
        return 0;
    int count = 0;
    for (std::size_t pos = m_text.find(from); pos != std::string::npos;
         pos = m_text.find(from, pos + to.size())) {
        m_text.replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Insert(int index, const char* text)
{
    m_text.insert(Clamp(index, m_text.size()), text ? text : "");
    return GetLength();
}

int CString::Delete(int index, int count)
{
    const std::size_t start = Clamp(index, m_text.size());
    m_text.erase(start, Clamp(count, m_text.size() - start));
    return GetLength();
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        m_text.clear();
        return;
    }
    m_text.assign(std::size_t(needed) + 1, '\0');
    std::vsnprintf(m_text.data(), m_text.size(), format, args);
    m_text.resize(std::size_t(needed));
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > 0 && std::size_t(minLength) > m_text.size())
        m_text.resize(std::size_t(minLength));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = int(std::strlen(m_text.c_str()));
    m_text.resize(Clamp(newLength, m_text.size()));
}
