#pragma once
// Reads registry text into the edits it asks for, without touching any store: REGEDIT4 text,
// and the "Windows Registry Editor Version 5.00" text that the registry editor writes today
// (UTF-16LE with a byte-order mark, or UTF-8). Both may delete: "[-key]" deletes a key with
// everything below it, "name"=- a value. In 5.00 text, hex(1), hex(2) and hex(7) data are
// UTF-16LE and come out as UTF-8, the way the store keeps every string.
//
// What the registry editor accepts is read: lines ending in CR LF, LF or a lone CR, comment
// lines starting with ";" or "#", a ";comment" after a value's data, blanks after "dword:", and
// hex lists going on over lines that end in a backslash (only hex lists go on).
//
// Names that a store could not keep apart are refused: a zero byte in a name, keys deeper than
// the Windows registry's 512 levels, and UTF-16 text that is not valid UTF-16.
//
// The edits are handed out as they are read, so that the memory a text needs does not grow
// with the number of its keys and values.
#include "platform/registry/WinReg.h"

#include <functional>
#include <string>
#include <string_view>

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
    };
    // Each takes one edit in the order of the text; false stops the reading.
    using SectionSink = std::function<bool(const Section&)>;
    using ValueSink = std::function<bool(const Value&)>;

    // text is borrowed for the life of the reader.
    explicit RegistryTextReader(std::string_view text);

    // Reads all of the text, handing each section, and each value to go under the section
    // before it, to the sinks (either may be empty). False at the first fault, with Error()
    // saying which line and why, or when a sink said stop (Error() is then empty). May be
    // called again to read the text anew.
    bool Read(const SectionSink& onSection, const ValueSink& onValue);
    const std::string& Error() const { return m_error; }

private:
    bool Decode();
    bool NextLine(std::string_view& line);
    bool ReadHeader(std::string_view line);
    bool ReadSection(std::string_view line, Section& section);
    bool ReadValue(std::string_view line, Value& value);
    bool ReadQuoted(std::string_view line, std::size_t& pos, std::string& text);
    bool ReadData(std::string_view data, Value& value);
    bool ReadDword(std::string_view digits, Value& value);
    bool ReadHexList(std::string_view first, DWORD type, std::string& bytes);
    bool ReadHex(std::string_view list, DWORD type, std::string& bytes);
    bool Fail(const std::string& message);

    std::string_view m_source;
    std::string m_decoded; // the source as UTF-8, when it is UTF-16
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_lineNumber = 0; // of the line being read
    int m_nextLineNumber = 1;
    bool m_unicode = false; // 5.00 text
    std::string m_error;
};
