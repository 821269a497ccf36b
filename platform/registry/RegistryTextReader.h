#pragma once
// Reads registry text into the edits it asks for, without touching any store: REGEDIT4 text,
// and the "Windows Registry Editor Version 5.00" text that the registry editor writes today
// (UTF-16LE with a byte-order mark, or UTF-8). Both may delete: "[-key]" deletes a key with
// everything below it, "name"=- a value. In 5.00 text, hex(1), hex(2) and hex(7) data are
// UTF-16LE and come out as UTF-8, the way the store keeps every string.
//
// Names that a store could not keep apart or list again are refused: a zero byte or a line
// break in a name, and keys deeper than the Windows registry's 512 levels.
#include "platform/registry/WinReg.h"

#include <string>
#include <string_view>
#include <vector>

class RegistryTextReader
{
public:
    static constexpr std::size_t kMaxDepth = 512;

    struct Value {
        std::string name;
        DWORD type = REG_NONE;
        std::string data;
        bool remove = false;
        int line = 0;
    };
    struct Section {
        HKEY hive = nullptr;
        std::string subKey;
        bool remove = false;
        int line = 0;
        std::vector<Value> values;
    };

    // Reads all of text; false at the first fault, with Error() saying which line and why.
    bool Read(std::string_view text, std::vector<Section>& sections);
    const std::string& Error() const { return m_error; }

private:
    bool NextLine(std::string& line);
    bool ReadHeader(std::string_view line);
    bool ReadSection(std::string_view line, std::vector<Section>& sections);
    bool ReadValue(std::string_view line, Value& value);
    bool ReadQuoted(std::string_view line, std::size_t& pos, std::string& text);
    bool ReadData(std::string_view data, Value& value);
    bool ReadHex(std::string_view list, DWORD type, std::string& bytes);
    bool CheckName(std::string_view name);
    bool Fail(const std::string& message);

    std::string m_text;
    std::size_t m_pos = 0;
    int m_lineNumber = 0;
    int m_nextLineNumber = 1;
    bool m_unicode = false; // 5.00 text
    std::string m_error;
};
