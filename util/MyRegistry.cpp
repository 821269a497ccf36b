#include "util/MyRegistry.h"

#include "util/Generic.h"

#include <cstring>
#include <string>

namespace
{
constexpr REGSAM kDeleteAccess = DELETE | KEY_ENUMERATE_SUB_KEYS;
constexpr DWORD kNameBuffer = MAX_PATH;
constexpr BYTE kBitCount = 32;
} // namespace

MyRegistry::MyRegistry(HKEY root, const CString& subKey, bool create)
    : m_rootKey(root), m_subKeyPath(subKey)
{
    Open(root, subKey, create);
}

MyRegistry::~MyRegistry()
{
    Close();
}

bool MyRegistry::Open(HKEY root, const CString& subKey, bool create)
{
    LONG result;
    if (create) {
        char className[] = "MyClass";
        DWORD disposition = 0;
        result = RegCreateKeyExA(root, subKey, 0, className, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &m_openKey, &disposition);
    } else {
        result = RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &m_openKey);
    }
    return result == ERROR_SUCCESS;
}

bool MyRegistry::Close()
{
    const LONG result = RegCloseKey(m_openKey);
    m_rootKey = nullptr;
    m_openKey = nullptr;
    m_subKeyPath.Empty();
    return result == ERROR_SUCCESS;
}

bool MyRegistry::SaveValueString(const CString& name, const CString& text)
{
    // The whole text up to its first zero byte, without a terminator; longer texts than a
    // path buffer are kept whole rather than cut.
    const char* bytes = text;
    return RegSetValueExA(m_openKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes),
                          DWORD(std::strlen(bytes))) == ERROR_SUCCESS;
}

bool MyRegistry::SaveValueString(UINT nameId, const CString& text)
{
    return SaveValueString(Generic::LoadString(nameId), text);
}

bool MyRegistry::ReadValueString(const CString& name, CString& text) const
{
    DWORD size = 0;
    if (RegQueryValueExA(m_openKey, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::string buffer(std::size_t(size) + 1, '\0');
    DWORD capacity = size + 1;
    if (RegQueryValueExA(m_openKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                         &capacity) != ERROR_SUCCESS)
        return false;
    text = CString(buffer.c_str());
    return true;
}

bool MyRegistry::ReadValueString(UINT nameId, CString& text) const
{
    return ReadValueString(Generic::LoadString(nameId), text);
}

bool MyRegistry::SaveValueDWord(const CString& name, DWORD value)
{
    return RegSetValueExA(m_openKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool MyRegistry::SaveValueDWord(UINT nameId, DWORD value)
{
    return SaveValueDWord(Generic::LoadString(nameId), value);
}

bool MyRegistry::ReadValueDWord(const CString& name, DWORD& value) const
{
    // Shorter values land in the low-order bytes; the type is not examined.
    DWORD size = sizeof value;
    return RegQueryValueExA(m_openKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                            &size) == ERROR_SUCCESS;
}

bool MyRegistry::ReadValueDWord(UINT nameId, DWORD& value) const
{
    return ReadValueDWord(Generic::LoadString(nameId), value);
}

bool MyRegistry::SaveValueInt(const CString& name, int value)
{
    return SaveValueDWord(name, DWORD(value));
}

bool MyRegistry::SaveValueInt(UINT nameId, int value)
{
    return SaveValueDWord(nameId, DWORD(value));
}

bool MyRegistry::ReadValueInt(const CString& name, int& value) const
{
    DWORD bits = DWORD(value);
    const bool read = ReadValueDWord(name, bits);
    value = int(bits);
    return read;
}

bool MyRegistry::ReadValueInt(UINT nameId, int& value) const
{
    return ReadValueInt(Generic::LoadString(nameId), value);
}

bool MyRegistry::SaveValueBool(const CString& name, bool flag)
{
    return SaveValueDWord(name, flag ? 1 : 0);
}

bool MyRegistry::ReadValueBool(const CString& name, bool& flag) const
{
    // Starting from the caller's flag keeps it as the default when the value is missing.
    DWORD value = flag ? 1 : 0;
    const bool read = ReadValueDWord(name, value);
    flag = value != 0;
    return read;
}

bool MyRegistry::ReadValueBool(UINT nameId, bool& flag) const
{
    return ReadValueBool(Generic::LoadString(nameId), flag);
}

bool MyRegistry::SaveValueBinary(const CString& name, const void* data, DWORD size)
{
    return RegSetValueExA(m_openKey, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool MyRegistry::ReadValueBinary(const CString& name, void* data, DWORD& size) const
{
    return RegQueryValueExA(m_openKey, name, nullptr, nullptr, static_cast<BYTE*>(data), &size) ==
           ERROR_SUCCESS;
}

bool MyRegistry::SaveValueBit(const CString& name, BYTE bit, bool on)
{
    if (bit >= kBitCount)
        return false;
    BYTE flags[4] = {};
    DWORD size = sizeof flags;
    ReadValueBinary(name, flags, size);
    const BYTE mask = BYTE(1u << (bit % 8));
    flags[bit / 8] = on ? BYTE(flags[bit / 8] | mask) : BYTE(flags[bit / 8] & ~mask);
    return SaveValueBinary(name, flags, sizeof flags);
}

bool MyRegistry::ReadValueBit(const CString& name, BYTE bit, bool& on) const
{
    on = false;
    if (bit >= kBitCount)
        return false;
    BYTE flags[4] = {};
    DWORD size = sizeof flags;
    if (!ReadValueBinary(name, flags, size))
        return false;
    on = (flags[bit / 8] >> (bit % 8)) & 1;
    return true;
}

bool MyRegistry::DeleteValue(const CString& name)
{
    return RegDeleteValueA(m_openKey, name) == ERROR_SUCCESS;
}

bool MyRegistry::DeleteKey(const CString& name)
{
    return RecursiveDelete(m_openKey, name) == 0;
}

long MyRegistry::RecursiveDelete(HKEY parent, const CString& name)
{
    HKEY key = nullptr;
    if (const LONG result = RegOpenKeyExA(parent, name, 0, kDeleteAccess, &key);
        result != ERROR_SUCCESS)
        return result;
    for (;;) {
        // Always index 0: each child is gone before the next one is asked for.
        char child[kNameBuffer];
        DWORD length = kNameBuffer;
        const LONG result =
            RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == LONG(ERROR_NO_MORE_ITEMS))
            break;
        if (result != ERROR_SUCCESS) {
            RegCloseKey(key);
            return result;
        }
        if (RecursiveDelete(key, child) != 0)
            break;
    }
    if (const LONG result = RegCloseKey(key); result != ERROR_SUCCESS)
        return result;
    return RegDeleteKeyA(parent, name);
}

bool MyRegistry::EnumSubKeys(CStringList& list) const
{
    for (DWORD index = 0;; ++index) {
        char name[kNameBuffer];
        DWORD length = kNameBuffer;
        const LONG result =
            RegEnumKeyExA(m_openKey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS)
            return result == LONG(ERROR_NO_MORE_ITEMS);
        list.AddTail(CString(name, int(length)));
    }
}
