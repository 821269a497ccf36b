#include "platform/registry/WinReg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// A fresh key below HKEY_CURRENT_USER\Software\WinRegTest, open with all access.
HKEY NewKey(const std::string& name)
{
    HKEY key = nullptr;
    const std::string path = "Software\\WinRegTest\\" + name;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              LONG(ERROR_SUCCESS));
    return key;
}

// The names of a key's sub-keys, or of its values, in the order they are listed.
std::vector<std::string> Names(HKEY key, bool values = false)
{
    std::vector<std::string> names;
    char name[MAX_PATH];
    for (DWORD i = 0;; ++i) {
        DWORD length = MAX_PATH;
        const LONG result =
            values ? RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                   : RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) {
            EXPECT_EQ(result, LONG(ERROR_NO_MORE_ITEMS));
            return names;
        }
        names.emplace_back(name, length);
    }
}

LONG SetText(HKEY key, const char* name, const std::string& text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                          DWORD(text.size()));
}

} // namespace

TEST(WinReg, CreateOpenAndDispositions)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    char className[] = "Cls";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\WinRegTest\\Create\\Deep", 0, className,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              LONG(ERROR_SUCCESS));
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(RegCloseKey(key), LONG(ERROR_SUCCESS));
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\winregtest\\CREATE\\deep", 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              LONG(ERROR_SUCCESS));
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(RegCloseKey(key), LONG(ERROR_SUCCESS));

    // The key keeps the case it was created with, and its class.
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\WINREGTEST\\create", 0, KEY_READ, &key),
              LONG(ERROR_SUCCESS));
    char name[MAX_PATH];
    char cls[MAX_PATH];
    DWORD nameLength = MAX_PATH;
    DWORD classLength = MAX_PATH;
    FILETIME written{};
    ASSERT_EQ(RegEnumKeyExA(key, 0, name, &nameLength, nullptr, cls, &classLength, &written),
              LONG(ERROR_SUCCESS));
    EXPECT_STREQ(name, "Deep");
    EXPECT_EQ(nameLength, 4u);
    EXPECT_STREQ(cls, "Cls");
    EXPECT_NE(written.dwHighDateTime, 0u);
    nameLength = 4; // no room for the terminator
    EXPECT_EQ(RegEnumKeyExA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
              LONG(ERROR_MORE_DATA));
    EXPECT_EQ(RegCloseKey(key), LONG(ERROR_SUCCESS));

    struct Case {
        const char* path;
        LONG expected;
    } cases[] = {
        {"Software\\WinRegTest\\Missing", LONG(ERROR_FILE_NOT_FOUND)},
        {"\\Software", LONG(ERROR_BAD_PATHNAME)},
        {"Software\\WinRegTest\\Create\\", LONG(ERROR_SUCCESS)},
        {"", LONG(ERROR_SUCCESS)},
    };
    for (const Case& c : cases) {
        key = reinterpret_cast<HKEY>(1);
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, c.path, 0, KEY_READ, &key), c.expected)
            << c.path;
        EXPECT_EQ(key != nullptr, c.expected == ERROR_SUCCESS) << c.path;
        if (key)
            RegCloseKey(key);
    }
}

TEST(WinReg, HandlesAndAccessRights)
{
    EXPECT_EQ(RegCloseKey(nullptr), LONG(ERROR_INVALID_HANDLE));
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x7777)), LONG(ERROR_INVALID_HANDLE));
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), LONG(ERROR_SUCCESS));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(nullptr, "x", nullptr, nullptr, nullptr, &size),
              LONG(ERROR_INVALID_HANDLE));

    HKEY key = NewKey("Rights");
    RegCloseKey(key);
    EXPECT_EQ(RegCloseKey(key), LONG(ERROR_INVALID_HANDLE)); // closed once already

    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\WinRegTest\\Rights", 0, KEY_READ, &key),
              LONG(ERROR_SUCCESS));
    EXPECT_EQ(SetText(key, "v", "x"), LONG(ERROR_ACCESS_DENIED));
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(key, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
        LONG(ERROR_ACCESS_DENIED));
    RegCloseKey(key);

    ASSERT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\WinRegTest\\Rights", 0, KEY_SET_VALUE, &key),
        LONG(ERROR_SUCCESS));
    EXPECT_EQ(SetText(key, "v", "x"), LONG(ERROR_SUCCESS));
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size),
              LONG(ERROR_ACCESS_DENIED));
    RegCloseKey(key);
}

TEST(WinReg, ValuesAndBuffers)
{
    HKEY key = NewKey("Values");
    ASSERT_EQ(SetText(key, "Name", "abc"), LONG(ERROR_SUCCESS));
    ASSERT_EQ(SetText(key, nullptr, "default"), LONG(ERROR_SUCCESS));
    const BYTE number[4] = {0x2A, 0, 0, 0};
    ASSERT_EQ(RegSetValueExA(key, "n", 0, REG_DWORD, number, 4), LONG(ERROR_SUCCESS));
    ASSERT_EQ(RegSetValueExA(key, "odd", 0, 0x1234, number, 2), LONG(ERROR_SUCCESS));
    ASSERT_EQ(RegSetValueExA(key, "empty", 0, REG_BINARY, nullptr, 0), LONG(ERROR_SUCCESS));

    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"NAME", REG_SZ, "abc"},
        {"", REG_SZ, "default"},
        {nullptr, REG_SZ, "default"},
        {"N", REG_DWORD, std::string("\x2A\0\0\0", 4)},
        {"odd", 0x1234, std::string("\x2A\0", 2)},
        {"empty", REG_BINARY, ""},
    };
    for (const Case& c : cases) {
        const std::string label = c.name ? c.name : "(null)";
        DWORD type = 0;
        DWORD size = 0;
        ASSERT_EQ(RegQueryValueExA(key, c.name, nullptr, &type, nullptr, &size),
                  LONG(ERROR_SUCCESS))
            << label;
        EXPECT_EQ(type, c.type) << label;
        EXPECT_EQ(size, c.bytes.size()) << label;
        std::string buffer(16, '?');
        size = 16;
        ASSERT_EQ(RegQueryValueExA(key, c.name, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size),
                  LONG(ERROR_SUCCESS));
        EXPECT_EQ(buffer.substr(0, size), c.bytes) << label;
    }

    // A short buffer is left alone and learns the size needed.
    char small[2] = {'?', '?'};
    DWORD size = 2;
    EXPECT_EQ(
        RegQueryValueExA(key, "name", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
        LONG(ERROR_MORE_DATA));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(small, 2), "??");
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, nullptr, nullptr, &size),
              LONG(ERROR_FILE_NOT_FOUND));

    // Rewriting under another case keeps the first spelling; values list alphabetically.
    ASSERT_EQ(SetText(key, "nAmE", "xyz"), LONG(ERROR_SUCCESS));
    EXPECT_EQ(Names(key, true), (std::vector<std::string>{"", "empty", "n", "Name", "odd"}));

    EXPECT_EQ(RegDeleteValueA(key, "NAME"), LONG(ERROR_SUCCESS));
    EXPECT_EQ(RegDeleteValueA(key, "Name"), LONG(ERROR_FILE_NOT_FOUND));
    RegCloseKey(key);
}

TEST(WinReg, SubKeysListAlphabeticallyAndDeleteOnlyWhenEmpty)
{
    HKEY key = NewKey("Tree");
    for (const char* name : {"beta", "Alpha", "gamma", "Beta2"}) {
        HKEY child = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(key, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
            LONG(ERROR_SUCCESS));
        RegCloseKey(child);
    }
    HKEY grandchild = nullptr;
    RegCreateKeyExA(key, "gamma\\leaf", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &grandchild,
                    nullptr);
    RegCloseKey(grandchild);

    EXPECT_EQ(Names(key), (std::vector<std::string>{"Alpha", "beta", "Beta2", "gamma"}));
    EXPECT_EQ(RegDeleteKeyA(key, "GAMMA"), LONG(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegDeleteKeyA(key, "gamma\\LEAF"), LONG(ERROR_SUCCESS));
    EXPECT_EQ(RegDeleteKeyA(key, "gamma"), LONG(ERROR_SUCCESS));
    EXPECT_EQ(RegDeleteKeyA(key, "gamma"), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Names(key), (std::vector<std::string>{"Alpha", "beta", "Beta2"}));

    // A handle to a deleted key can no longer write.
    HKEY alpha = nullptr;
    RegOpenKeyExA(key, "alpha", 0, KEY_ALL_ACCESS, &alpha);
    EXPECT_EQ(RegDeleteKeyA(key, "Alpha"), LONG(ERROR_SUCCESS));
    EXPECT_EQ(SetText(alpha, "v", "x"), LONG(ERROR_KEY_DELETED));
    RegCloseKey(alpha);
    RegCloseKey(key);
}
