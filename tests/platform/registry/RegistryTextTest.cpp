#include "platform/registry/RegistryText.h"
#include "platform/registry/RegistryStore.h"
#include "platform/registry/WinReg.h"
#include "tests/support/TestFiles.h"

#include <QThread>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

using namespace std::string_literals;

namespace
{

void Set(HKEY root, const char* path, const char* name, DWORD type, const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              LONG(ERROR_SUCCESS));
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             DWORD(bytes.size())),
              LONG(ERROR_SUCCESS));
    RegCloseKey(key);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
    return text;
}

// Writes straight into the store's tables, as earlier versions of the program could have.
void IntoTables(const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(std::getenv("REELMIX_REGISTRY"), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// Hangs a chain of levels keys "k" below the key named top, as a version of the program that
// allowed any depth could have.
void HangChain(const std::string& top, int levels)
{
    IntoTables("WITH base(b, top) AS (SELECT max(id), (SELECT id FROM keys WHERE name='" + top +
               "') FROM keys), chain(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM chain WHERE n < " +
               std::to_string(levels) +
               ") INSERT INTO keys(id, parent, name) SELECT b + n, CASE n WHEN 1 THEN top ELSE "
               "b + n - 1 END, 'k' FROM chain, base");
}

// The bytes the registry editor saves text in: UTF-16LE after a byte-order mark.
std::string Utf16(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text)
        bytes += {char(unit & 0xFF), char(unit >> 8)};
    return bytes;
}

std::string ExportOf(const std::string& key)
{
    std::string text;
    std::string error;
    EXPECT_TRUE(RegistryText::Export(key, text, error)) << error;
    return text;
}

} // namespace

TEST(RegistryText, ExportImportRoundTripKeepsEveryByte)
{
    const char* root = "Software\\TextTest\\First";
    Set(HKEY_CURRENT_USER, root, "", REG_SZ, "default \"quoted\" C:\\dir");
    Set(HKEY_CURRENT_USER, root, "with \"quote\" and \\", REG_SZ, "");
    Set(HKEY_CURRENT_USER, root, "Terminated", REG_SZ, std::string("abc\0", 4));
    Set(HKEY_CURRENT_USER, root, "Lines", REG_SZ, "one\r\ntwo");
    Set(HKEY_CURRENT_USER, root, "Utf8", REG_SZ, "Caf\xC3\xA9");
    Set(HKEY_CURRENT_USER, root, "Number", REG_DWORD, std::string("\x2A\0\0\x80", 4));
    Set(HKEY_CURRENT_USER, root, "ShortNumber", REG_DWORD, std::string("\x01\x02", 2));
    Set(HKEY_CURRENT_USER, root, "Empty", REG_BINARY, "");
    Set(HKEY_CURRENT_USER, root, "Big", REG_BINARY, std::string(100, '\xFE'));
    Set(HKEY_CURRENT_USER, root, "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    Set(HKEY_CURRENT_USER, "Software\\TextTest\\First\\Empty Key\\Leaf", "v", 0x4321, "x");

    const std::string first = ExportOf("HKEY_CURRENT_USER\\Software\\TextTest\\First");
    EXPECT_NE(first.find("@=\"default \\\"quoted\\\" C:\\\\dir\"\n"), std::string::npos);
    EXPECT_NE(first.find("\"Number\"=dword:8000002a\n"), std::string::npos);
    EXPECT_NE(first.find("\"Terminated\"=hex(1):61,62,63,00\n"), std::string::npos);
    EXPECT_NE(first.find("\"Empty\"=hex:\n"), std::string::npos);
    EXPECT_NE(first.find("\"v\"=hex(4321):78\n"), std::string::npos);
    for (std::size_t start = 0, end; (end = first.find('\n', start)) != std::string::npos;
         start = end + 1)
        EXPECT_LE(end - start, 80u) << first.substr(start, end - start);

    std::string error;
    ASSERT_TRUE(RegistryText::Import(Replaced(first, "\\First", "\\Second"), error)) << error;
    const std::string second = ExportOf("HKEY_CURRENT_USER\\Software\\TextTest\\Second");
    EXPECT_EQ(second, Replaced(first, "\\First", "\\Second"));
    EXPECT_EQ(ExportOf("hkey_current_user\\software\\texttest\\second").size(), second.size());
}

TEST(RegistryText, BadInputIsReportedAndNothingIsWritten)
{
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "empty"},
        {"REGEDIT5\n", "line 1: not a REGEDIT4 file"},
        {"REGEDIT4\n\"v\"=\"x\"\n", "line 2: a value before the first [key] line"},
        {"REGEDIT4\n[HKEY_NOWHERE\\A]\n", "line 2: unknown hive"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\n", "line 2: a key line must end with ]"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=dword:1234567890\n", "line 3: dword:"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,zz\n", "line 3: bad byte \"zz\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,\\\n  102\n", "line 3: bad byte"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex(zz):01\n", "line 3: hex(N):"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"open\n", "line 3: missing closing quote"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"a\\n\"\n", "line 3: only"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"a\" junk\n", "line 3: unexpected text"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\" \"x\"\n", "line 3: expected ="},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\nv=1\n", "line 3: expected \"name\"=value"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\n", "line 3: expected data after ="},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n@=\n", "line 3: expected data after ="},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"a\rb\"=\"x\"\n", "line 3: missing closing quote"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\rB]\n", "line 2: a key line must end with ]"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:,\n", "line 3: bad byte \"\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\\\\\"\n  00\n", "line 4: expected"},
        {Utf16(u"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n"
               u"\"a\xD800"
               u"b\"=\"x\"\r\n"),
         "the UTF-16 text holds a lone surrogate"},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex(1):00,dc\n",
         "line 3: the UTF-16 string data holds a lone surrogate"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"ab\0cd\"=\"x\"\n"s,
         "line 3: a name holds a zero byte"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\0B]\n"s, "line 2: a name holds a zero byte"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A" + Replaced(std::string(512, 'k'), "k", "\\k") + "]\n",
         "deeper than 512"},
        {"REGEDIT4\n[-HKEY_CURRENT_USER]\n", "line 2: a hive cannot be deleted"},
        {"REGEDIT4\n[-HKEY_CURRENT_USER\\A]\n\"v\"=\"x\"\n", "line 3: a value under a key"},
        {"\xFF\xFER\0E"s, "half a character"},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex(2):41\n",
         "line 3: the UTF-16 string data ends in half a character"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=1\n", "line 3: unknown value data"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"ok\"\n[HKEY_CURRENT_USER\\A\\" +
             std::string(300, 'k') + "]\n\"w\"=\"ok\"\n",
         "line 4: a key or value name is too long"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(RegistryText::Import(c.text, error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key),
                  LONG(ERROR_FILE_NOT_FOUND))
            << c.text;
    }
}

TEST(RegistryText, ReadsWhatTheRegistryEditorAccepts)
{
    std::string cyrillic;
    for (int i = 0; i < 200; ++i)
        cyrillic += "\xD0\x96"; // 200 characters, 400 bytes
    const std::string key = "HKEY_CURRENT_USER\\Software\\Lenient";
    const std::string text = "REGEDIT4\r\r; a comment\r# another\r[" + key + "]\r" +
                             "\"dword\"=dword: 0000002a ;the answer\r"
                             "\"path\"=\"C:\\\\\"\r" // ends in a backslash, not joined
                             "\"next\"=\"x\" ; after\r"
                             "\"bytes\"=hex:\\\r  01,02 ;tail\r"
                             "[" +
                             key + "\\" + cyrillic + "]\r";
    std::string error;
    ASSERT_TRUE(RegistryText::Import(text, error)) << error;
    EXPECT_EQ(ExportOf(key),
              "REGEDIT4\n\n[" + key +
                  "]\n\"bytes\"=hex:01,02\n"
                  "\"dword\"=dword:0000002a\n\"next\"=\"x\"\n\"path\"=\"C:\\\\\"\n\n[" +
                  key + "\\" + cyrillic + "]\n\n");
}

// A store busy at the end, and a name from before the rule against line breaks: each is told as
// what it is, where it is.
TEST(RegistryText, StoreFailuresSayWhatAndWhere)
{
    const std::string path = testfiles::NewPath("held.db");
    RegistryStore store(path, 20);
    std::string error;
    ASSERT_TRUE(RegistryText::Import("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n", store, error));
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &reader), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM keys", nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_FALSE(
        RegistryText::Import("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\"\n\n", store, error));
    EXPECT_EQ(error, "the settings store is busy");
    sqlite3_close(reader);

    Set(HKEY_CURRENT_USER, "Software\\Old\\Lines", "v", REG_SZ, "x");
    IntoTables("UPDATE vals SET name='a'||char(13)||'b' WHERE name='v'");
    std::string text;
    EXPECT_FALSE(RegistryText::Export("HKEY_CURRENT_USER\\Software\\Old", text, error));
    EXPECT_EQ(error.find("HKEY_CURRENT_USER\\Software\\Old\\Lines: a key or value name holds"), 0u)
        << error;
}

TEST(RegistryText, ExportOfMissingKeyOrHiveFails)
{
    std::string text;
    std::string error;
    EXPECT_FALSE(RegistryText::Export("HKEY_CURRENT_USER\\No\\Such\\Key", text, error));
    EXPECT_NE(error.find("no such key"), std::string::npos) << error;
    EXPECT_FALSE(RegistryText::Export("HKEY_ELSEWHERE", text, error));
    EXPECT_NE(error.find("unknown hive"), std::string::npos) << error;
}

TEST(RegistryText, ReadsWhatTheRegistryEditorWritesToday)
{
    Set(HKEY_CURRENT_USER, "Software\\Today\\Old\\Child", "x", REG_SZ, "gone");
    Set(HKEY_CURRENT_USER, "Software\\Today\\Kept", "stale", REG_SZ, "gone");
    const std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[-HKEY_CURRENT_USER\\Software\\Today\\Old]\r\n\r\n"
                                u"[-HKEY_CURRENT_USER\\Software\\Today\\Never There]\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\Software\\Today\\Kept]\r\n"
                                u"\"stale\"=-\r\n"
                                u"\"missing\"=-\r\n"
                                u"\"Caf\u00e9\"=\"cr\u00e8me\"\r\n"
                                u"\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,\\\r\n"
                                u"  00,00\r\n"
                                u"\"Bits\"=hex:01,ff\r\n";
    std::string error;
    ASSERT_TRUE(RegistryText::Import(Utf16(text), error)) << error;
    EXPECT_EQ(ExportOf("HKEY_CURRENT_USER\\Software\\Today"),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software\\Today]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Today\\Kept]\n"
              "\"Bits\"=hex:01,ff\n"
              "\"Caf\xC3\xA9\"=\"cr\xC3\xA8me\"\n"
              "\"Path\"=hex(2):25,48,4f,4d,45,25,00\n\n");
}

TEST(RegistryText, DeepKeysExportAndDeleteWithoutLimits)
{
    Set(HKEY_CURRENT_USER, "Software\\DeepChain", "v", REG_SZ, "top");
    HangChain("DeepChain", 3000);
    std::string text;
    std::string error;
    bool ok = false;
    const std::unique_ptr<QThread> thread(QThread::create(
        [&] { ok = RegistryText::Export("HKEY_CURRENT_USER\\Software\\DeepChain", text, error); }));
    thread->setStackSize(512 << 10);
    thread->start();
    thread->wait();
    EXPECT_TRUE(ok) << error;
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), 3001);
    // Deeper than SQLite follows deletions by itself.
    ASSERT_TRUE(
        RegistryText::Import("REGEDIT4\n[-HKEY_CURRENT_USER\\Software\\DeepChain]\n", error))
        << error;
    EXPECT_FALSE(RegistryText::Export("HKEY_CURRENT_USER\\Software\\DeepChain", text, error));
}
