#include "util/MyRegistry.h"

#include "platform/framework/AfxRes.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

using testfiles::Hex;

namespace
{

// A key path of its own for every test.
CString NewKeyPath()
{
    static int counter = 0;
    CString path;
    path.Format("Software\\Brantwell\\Reelmix\\Test%d", ++counter);
    return path;
}

bool KeyExists(const CString& path)
{
    HKEY key = nullptr;
    const bool exists = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

struct Stored {
    DWORD type = 0;
    std::string bytes;
    bool operator==(const Stored&) const = default;
};

// A value as the store holds it, read through the raw registry calls.
std::optional<Stored> Raw(const CString& path, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    Stored stored;
    DWORD size = 0;
    std::optional<Stored> result;
    if (RegQueryValueExA(key, name, nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.bytes.resize(size);
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(stored.bytes.data()),
                         &size);
        result = stored;
    }
    RegCloseKey(key);
    return result;
}

void SetRaw(const CString& path, const char* name, DWORD type, const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              LONG(ERROR_SUCCESS));
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             DWORD(bytes.size())),
              LONG(ERROR_SUCCESS));
    RegCloseKey(key);
}

} // namespace

TEST(MyRegistry, CreateAndOpenRules)
{
    const CString path = NewKeyPath();
    {
        MyRegistry reader(HKEY_CURRENT_USER, path, false);
        EXPECT_FALSE(reader.IsOpen());
        EXPECT_FALSE(reader.SaveValueInt("x", 1));
        EXPECT_FALSE(KeyExists(path));
    }
    {
        MyRegistry writer(HKEY_CURRENT_USER, path + "\\Inner", true);
        EXPECT_TRUE(writer.IsOpen());
        EXPECT_EQ(writer.GetSubKeyName(), path + "\\Inner");
        EXPECT_TRUE(writer.Close());
        EXPECT_FALSE(writer.IsOpen());
        EXPECT_EQ(writer.GetSubKeyName(), CString());
        EXPECT_FALSE(writer.Close()); // no key left to close
    }
    EXPECT_TRUE(KeyExists(path + "\\Inner"));
    MyRegistry opened;
    EXPECT_FALSE(opened.IsOpen());
    EXPECT_TRUE(opened.Open(HKEY_CURRENT_USER, path, false));
    EXPECT_TRUE(opened.IsOpen());
    EXPECT_EQ(opened.GetSubKeyName(), CString()); // Open records no path
}

TEST(MyRegistry, ValueFamiliesStoreTheirBytes)
{
    const CString path = NewKeyPath();
    MyRegistry registry(HKEY_CURRENT_USER, path, true);
    const std::string longText(1000, 'L');
    const BYTE blob[] = {0, 1, 2, 0xFF};

    EXPECT_TRUE(registry.SaveValueString("Text", "abc"));
    EXPECT_TRUE(registry.SaveValueString("Empty", ""));
    EXPECT_TRUE(registry.SaveValueString("Long", CString(longText)));
    EXPECT_TRUE(registry.SaveValueInt("Int", -2));
    EXPECT_TRUE(registry.SaveValueBool("Yes", true));
    EXPECT_TRUE(registry.SaveValueBool("No", false));
    EXPECT_TRUE(registry.SaveValueBinary("Blob", blob, sizeof blob));
    EXPECT_TRUE(registry.SaveValueString(AFX_IDS_APP_TITLE, "by id"));

    struct Case {
        const char* name;
        Stored stored;
    } cases[] = {
        {"text", {REG_SZ, "abc"}},
        {"Empty", {REG_SZ, ""}},
        {"Long", {REG_SZ, longText}},
        {"Int", {REG_DWORD, Hex("FE FF FF FF")}},
        {"Yes", {REG_DWORD, Hex("01 00 00 00")}},
        {"No", {REG_DWORD, Hex("00 00 00 00")}},
        {"Blob", {REG_BINARY, Hex("00 01 02 FF")}},
        {"Reelmix", {REG_SZ, "by id"}},
    };
    CString text;
    for (const Case& c : cases) {
        EXPECT_EQ(Raw(path, c.name), c.stored) << c.name;
        if (c.stored.type == REG_SZ) { // read back too: "text" was written as "Text"
            EXPECT_TRUE(registry.ReadValueString(c.name, text)) << c.name;
            EXPECT_EQ(text, CString(c.stored.bytes)) << c.name;
        }
    }
    EXPECT_TRUE(registry.ReadValueString(AFX_IDS_APP_TITLE, text));
    EXPECT_EQ(text, CString("by id"));
    EXPECT_TRUE(registry.SaveValueInt(AFX_IDS_APP_TITLE, 7));
    int number = 0;
    EXPECT_TRUE(registry.ReadValueInt("Int", number));
    EXPECT_EQ(number, -2);
    EXPECT_TRUE(registry.ReadValueInt(AFX_IDS_APP_TITLE, number));
    EXPECT_EQ(number, 7);
    BYTE buffer[8] = {};
    DWORD size = sizeof buffer;
    EXPECT_TRUE(registry.ReadValueBinary("Blob", buffer, size));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), Hex("00 01 02 FF"));
    size = 2;
    EXPECT_FALSE(registry.ReadValueBinary("Blob", buffer, size));
    EXPECT_EQ(size, 4u);
}

TEST(MyRegistry, ReadsOfMissingOrOddValues)
{
    const CString path = NewKeyPath();
    SetRaw(path, "Two", REG_DWORD, Hex("02 00 00 00"));
    SetRaw(path, "Short", REG_BINARY, Hex("01 02"));
    SetRaw(path, "Terminated", REG_SZ, std::string("abc\0", 4));
    MyRegistry registry(HKEY_CURRENT_USER, path, false);
    ASSERT_TRUE(registry.IsOpen());

    CString text = "unchanged";
    EXPECT_FALSE(registry.ReadValueString("Missing", text));
    EXPECT_EQ(text, CString("unchanged"));
    EXPECT_TRUE(registry.ReadValueString("Terminated", text));
    EXPECT_EQ(text, CString("abc"));

    int number = 99;
    EXPECT_FALSE(registry.ReadValueInt("Missing", number));
    EXPECT_EQ(number, 99);
    number = -1;
    EXPECT_TRUE(registry.ReadValueInt("Short", number)); // lands in the low-order bytes
    EXPECT_EQ(DWORD(number), 0xFFFF0201u);

    for (const bool initial : {false, true}) {
        bool flag = initial;
        EXPECT_FALSE(registry.ReadValueBool("Missing", flag));
        EXPECT_EQ(flag, initial);
    }
    bool flag = false;
    EXPECT_TRUE(registry.ReadValueBool("Two", flag));
    EXPECT_TRUE(flag);
}

TEST(MyRegistry, BitsInAFourByteValue)
{
    const CString path = NewKeyPath();
    struct Case {
        std::optional<std::string> before;
        BYTE bit;
        bool on;
        std::string after;
    } cases[] = {
        {std::nullopt, 0, true, Hex("01 00 00 00")},
        {Hex("00 00 00 00"), 31, true, Hex("00 00 00 80")},
        {Hex("FF FF FF FF"), 0, false, Hex("FE FF FF FF")},
        {Hex("01 02"), 16, true, Hex("01 02 01 00")},
        {Hex("01 02 03 04 05"), 9, true, Hex("00 02 00 00")}, // too long to read: starts at 0
    };
    MyRegistry registry(HKEY_CURRENT_USER, path, true);
    int index = 0;
    for (const Case& c : cases) {
        const CString name = CString("Bits") + CString(std::to_string(++index));
        if (c.before)
            SetRaw(path, name, REG_BINARY, *c.before);
        EXPECT_TRUE(registry.SaveValueBit(name, c.bit, c.on)) << index;
        EXPECT_EQ(Raw(path, name), (Stored{REG_BINARY, c.after})) << index;
    }

    SetRaw(path, "Read", REG_BINARY, Hex("00 00 00 80"));
    SetRaw(path, "TooLong", REG_BINARY, Hex("FF FF FF FF FF"));
    SetRaw(path, "Short", REG_BINARY, Hex("FF"));
    struct ReadCase {
        const char* name;
        BYTE bit;
        bool result;
        bool on;
    } reads[] = {
        {"Read", 31, true, true},   {"Read", 30, true, false},    {"Short", 7, true, true},
        {"Short", 8, true, false},  {"TooLong", 0, false, false}, {"Missing", 0, false, false},
        {"Read", 32, false, false},
    };
    for (const ReadCase& r : reads) {
        bool on = !r.on;
        EXPECT_EQ(registry.ReadValueBit(r.name, r.bit, on), r.result) << r.name << int(r.bit);
        EXPECT_EQ(on, r.on) << r.name << int(r.bit);
    }
    EXPECT_FALSE(registry.SaveValueBit("Outside", 32, true));
    EXPECT_FALSE(Raw(path, "Outside"));
}

TEST(MyRegistry, DeleteValueKeyAndEnumerateSubKeys)
{
    const CString path = NewKeyPath();
    SetRaw(path + "\\Tree\\b\\c", "v", REG_SZ, "1");
    SetRaw(path + "\\Tree\\a", "v", REG_SZ, "2");
    SetRaw(path + "\\Tree", "v", REG_SZ, "3");
    SetRaw(path + "\\Keep", "v", REG_SZ, "4");
    MyRegistry registry(HKEY_CURRENT_USER, path, false);
    ASSERT_TRUE(registry.IsOpen());

    CStringList list;
    list.AddTail("first");
    EXPECT_TRUE(registry.EnumSubKeys(list));
    std::vector<std::string> names;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        names.push_back(list.GetNext(pos).Str());
    EXPECT_EQ(names, (std::vector<std::string>{"first", "Keep", "Tree"}));

    EXPECT_TRUE(registry.DeleteKey("tree"));
    EXPECT_FALSE(KeyExists(path + "\\Tree"));
    EXPECT_TRUE(KeyExists(path + "\\Keep"));
    EXPECT_FALSE(registry.DeleteKey("Tree"));

    MyRegistry leaf(HKEY_CURRENT_USER, path + "\\Keep", false);
    CStringList empty;
    empty.AddTail("x");
    EXPECT_TRUE(leaf.EnumSubKeys(empty));
    EXPECT_EQ(empty.GetCount(), 1);
    EXPECT_TRUE(leaf.DeleteValue("V"));
    EXPECT_FALSE(leaf.DeleteValue("V"));
    EXPECT_FALSE(Raw(path + "\\Keep", "v"));

    MyRegistry closed;
    EXPECT_FALSE(closed.EnumSubKeys(empty));
}

TEST(MyRegistry, ReadOnlyStoreDeniesAllAccessOpens)
{
    const CString path = NewKeyPath();
    SetRaw(path, "v", REG_SZ, "x");
    const std::string store = RegistryStore::ForProcess().Path();
    ASSERT_EQ(chmod(store.c_str(), 0444), 0);
    MyRegistry reader(HKEY_CURRENT_USER, path, false);
    MyRegistry writer(HKEY_CURRENT_USER, path + "\\New", true);
    ASSERT_EQ(chmod(store.c_str(), 0644), 0);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(KeyExists(path + "\\New"));
}
