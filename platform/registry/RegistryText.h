#pragma once
// The settings store as REGEDIT4 text, which a person can read, keep and load again:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Brantwell\Reelmix\Clips]
//   @="default value"
//   "Column0"=dword:0000002a
//   "Bits"=hex:01,00,00,00
//   "Other"=hex(7):61,00,00
//
// "text" stands for REG_SZ bytes exactly as stored, without a terminator; a string value that
// holds a zero byte or a line break is written as hex(1) so that its bytes come back unchanged.
// Class strings of keys are not part of the format. Import also reads what the registry editor
// writes today, deletions included (see RegistryTextReader).
#include <string>
#include <string_view>

class RegistryStore;

class RegistryText
{
public:
    // The key at keyPath (a hive name, then optionally \subkey) and everything below it; an
    // empty path stands for all hives.
    static bool Export(const std::string& keyPath, std::string& text, std::string& error);
    // Checks the whole text first and writes nothing unless all of it is valid; then writes
    // it in one transaction.
    // A failure says which line of text it met, unless no line caused it (a store busy at the
    // start or at the end). Into the store of the process, or into store.
    static bool Import(std::string_view text, std::string& error);
    static bool Import(std::string_view text, RegistryStore& store, std::string& error);
};
