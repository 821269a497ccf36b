#pragma once
// The framework's text class: a counted string of bytes. UTF-8 is this platform's ANSI code
// page, so lengths and positions count bytes and case-insensitive comparisons fold ASCII only.
#include "platform/core/WinTypes.h"

#include <cstdarg>
#include <string>
#include <string_view>

class CString
{
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length) : m_text(text, text ? std::size_t(length) : 0) {}
    CString(char ch, int repeat = 1) : m_text(std::size_t(repeat > 0 ? repeat : 0), ch) {}
    CString(std::string text) : m_text(std::move(text)) {}
    CString(std::string_view text) : m_text(text) {}

    int GetLength() const { return int(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(std::size_t(index)); }
    void SetAt(int index, char ch) { m_text.at(std::size_t(index)) = ch; }
    char operator[](int index) const { return GetAt(index); }
    operator const char*() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }

    CString& operator=(const char* text);
    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);

    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const char* set) const;
    CString SpanExcluding(const char* set) const;

    int Find(char ch, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim();
    int Replace(const char* old, const char* replacement);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    // printf-style formatting; replaces the content.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);

    // Direct access for C-style producers: at least minLength bytes plus a terminator.
    char* GetBuffer(int minLength);
    // Ends direct access; -1 takes the text up to the first zero byte.
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};

// Case-insensitive (ASCII) byte comparison, as the C runtime's _stricmp.
int _stricmp(const char* a, const char* b);
