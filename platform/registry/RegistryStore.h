#pragma once
// The settings store behind the registry calls: a tree of keys per hive with typed values, in
// one SQLite file. Every write is one transaction, so two program instances writing at once
// both succeed. A file that is not a store of ours is never written: calls on it fail.
//
// A store counts as read-only when its file or folder is not writable, or when the file has no
// write permission bit at all. The last rule makes `chmod a-w` lock the settings for every
// user, the superuser included, who could otherwise write anyway. On a read-only store keys
// open for reading only. A store whose path names a folder fails every call with
// ERROR_DIRECTORY.
//
// Names that text could not list again are refused (ERROR_INVALID_PARAMETER): a key or value
// name with a line break, a key name longer than 255 characters, and keys deeper than the Windows
// registry's 512 levels.
#include "platform/registry/WinReg.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class StoreStatement;

class RegistryStore
{
public:
    struct Value {
        std::string name;
        DWORD type = REG_NONE;
        std::string data;
    };
    struct SubKey {
        std::string name;
        std::string className;
        std::int64_t written = 0; // seconds since 1970
    };

    // busyWaitMs: how long a call waits for another instance's transaction before it fails
    // with ERROR_BUSY.
    explicit RegistryStore(std::string path, int busyWaitMs = 10000);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // The store of this process: $REELMIX_REGISTRY, else
    // ${XDG_CONFIG_HOME:-~/.config}/reelmix/registry.db, read at first use.
    static RegistryStore& ForProcess();
    const std::string& Path() const { return m_path; }
    bool IsWritable() const;

    LONG CreateKey(HKEY parent, const char* subKey, const char* className, REGSAM access,
                   HKEY& result, DWORD& disposition);
    LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY& result);
    LONG CloseKey(HKEY key);
    LONG QueryValue(HKEY key, const char* name, Value& value);
    LONG SetValue(HKEY key, const char* name, DWORD type, std::string_view data);
    LONG DeleteValue(HKEY key, const char* name);
    LONG DeleteKey(HKEY parent, const char* subKey);
    // The key with everything below it.
    LONG DeleteTree(HKEY parent, const char* subKey);
    LONG EnumKey(HKEY key, DWORD index, SubKey& subKey);
    LONG EnumValue(HKEY key, DWORD index, Value& value);
    // Every subkey or value at once, in the order of EnumKey and EnumValue: one read where
    // asking by index would read a long list over and over.
    LONG AllSubKeys(HKEY key, std::vector<SubKey>& subKeys);
    LONG AllValues(HKEY key, std::vector<Value>& values);

    // Runs work as one transaction; calls made by work join it. A write transaction commits
    // only when work returns ERROR_SUCCESS; a read transaction sees one consistent state.
    LONG Transact(bool write, const std::function<LONG()>& work);

private:
    struct Handle {
        std::int64_t key = 0;
        REGSAM access = 0;
    };

    sqlite3* Connection(bool create);
    LONG Begin(bool write);
    LONG End(bool write, LONG result);
    LONG CreateSchema();
    LONG CheckSchema();
    LONG Resolve(HKEY key, REGSAM needed, Handle& handle) const;
    HKEY NewHandle(std::int64_t key, REGSAM access);
    LONG KeyExists(std::int64_t key);
    LONG FindChild(std::int64_t parent, const std::string& name, std::int64_t& child);
    LONG Walk(std::int64_t from, const std::vector<std::string>& parts, std::int64_t& key);
    LONG InsertKey(std::int64_t parent, const std::string& name, const char* className,
                   std::int64_t& key);
    LONG Touch(std::int64_t key);
    LONG Level(std::int64_t key, std::size_t& level);
    // sql: a string literal, the statement's key for the life of the connection.
    StoreStatement Query(const char* sql);
    LONG RemoveKey(HKEY parent, const char* subKey, bool withSubKeys);
    LONG RemoveTree(std::int64_t key);

    std::string m_path;
    int m_busyWaitMs;
    sqlite3* m_db = nullptr;
    std::recursive_mutex m_mutex;
    int m_depth = 0;
    bool m_inWrite = false;
    bool m_empty = false;       // no store file or no tables yet: reads find nothing
    bool m_schemaReady = false; // the tables are known to exist
    std::map<std::uintptr_t, Handle> m_handles;
    std::map<const char*, sqlite3_stmt*> m_statements;
    std::uintptr_t m_nextHandle = 0x100;
};
