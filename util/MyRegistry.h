#pragma once
// One open registry key with typed values under it. Callers keep an object on the stack for
// one operation, test IsOpen, read or write a few values and let it close the key.
#include "platform/core/CObject.h"
#include "platform/core/CString.h"
#include "platform/core/CStringList.h"
#include "platform/registry/WinReg.h"

class MyRegistry : public CObject
{
public:
    MyRegistry() = default;
    MyRegistry(HKEY root, const CString& subKey, bool create);
    ~MyRegistry() override;

    // Keys are opened with all access rights, also to read.
    bool Open(HKEY root, const CString& subKey, bool create);
    bool Close();
    bool IsOpen() const { return m_openKey != nullptr; }
    CString GetSubKeyName() const { return m_subKeyPath; }

    bool SaveValueString(const CString& name, const CString& text);
    bool SaveValueString(UINT nameId, const CString& text);
    bool ReadValueString(const CString& name, CString& text) const;
    bool ReadValueString(UINT nameId, CString& text) const;
    bool SaveValueInt(const CString& name, int value);
    bool SaveValueInt(UINT nameId, int value);
    bool ReadValueInt(const CString& name, int& value) const;
    bool ReadValueInt(UINT nameId, int& value) const;
    bool SaveValueBool(const CString& name, bool flag);
    bool ReadValueBool(const CString& name, bool& flag) const;
    bool ReadValueBool(UINT nameId, bool& flag) const;
    bool SaveValueBinary(const CString& name, const void* data, DWORD size);
    bool ReadValueBinary(const CString& name, void* data, DWORD& size) const;
    // A set of 32 flags in a 4-byte binary value; bit 0 is the lowest bit of the first byte.
    bool SaveValueBit(const CString& name, BYTE bit, bool on);
    bool ReadValueBit(const CString& name, BYTE bit, bool& on) const;
    bool DeleteValue(const CString& name);
    // Deletes the named subkey with everything below it.
    bool DeleteKey(const CString& name);
    // Appends the names of the direct subkeys.
    bool EnumSubKeys(CStringList& list) const;

private:
    bool SaveValueDWord(const CString& name, DWORD value);
    bool SaveValueDWord(UINT nameId, DWORD value);
    bool ReadValueDWord(const CString& name, DWORD& value) const;
    bool ReadValueDWord(UINT nameId, DWORD& value) const;
    static long RecursiveDelete(HKEY parent, const CString& name);

    HKEY m_rootKey = nullptr;
    CString m_subKeyPath;
    HKEY m_openKey = nullptr;
};
