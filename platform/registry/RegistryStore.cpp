#include "platform/registry/RegistryStore.h"

#include "platform/registry/StoreStatement.h"

#include <sqlite3.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Hive rows have these fixed ids, in the order of the predefined handles.
constexpr std::uintptr_t kFirstHive = 0x80000000u;
constexpr std::int64_t kHiveCount = 3;
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;
constexpr std::size_t kMaxDepth = 512;
constexpr REGSAM kWriteRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
  name TEXT NOT NULL COLLATE NOCASE,
  class TEXT NOT NULL DEFAULT '',
  written INTEGER NOT NULL DEFAULT 0,
  UNIQUE(parent, name));
CREATE TABLE IF NOT EXISTS vals(
  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
  name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, name)) WITHOUT ROWID;
INSERT OR IGNORE INTO keys(id, parent, name) VALUES
  (1, NULL, 'HKEY_CLASSES_ROOT'), (2, NULL, 'HKEY_CURRENT_USER'), (3, NULL, 'HKEY_LOCAL_MACHINE');
)";

// A name's length as Windows counts it, in UTF-16 units: one per UTF-8 sequence, two for those
// beyond the Basic Multilingual Plane.
std::size_t Characters(std::string_view name)
{
    std::size_t count = 0;
    for (const char byte : name) {
        const auto c = static_cast<unsigned char>(byte);
        count += (c & 0xC0) != 0x80;
        count += c >= 0xF0;
    }
    return count;
}

bool HasLineBreak(std::string_view name)
{
    return name.find_first_of("\r\n") != std::string_view::npos;
}

LONG SplitPath(const char* subKey, std::vector<std::string>& parts)
{
    const std::string_view path = subKey ? subKey : "";
    if (!path.empty() && path.front() == '\\')
        return LONG(ERROR_BAD_PATHNAME);
    if (HasLineBreak(path))
        return LONG(ERROR_INVALID_PARAMETER);
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (Characters(path.substr(start, end - start)) > kMaxKeyName)
            return LONG(ERROR_INVALID_PARAMETER);
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return LONG(ERROR_SUCCESS);
}

std::string DefaultStorePath()
{
    if (const char* path = std::getenv("REELMIX_REGISTRY"); path && *path)
        return path;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::string(home) + "/.config";
    else if (const passwd* user = getpwuid(getuid()))
        config = std::string(user->pw_dir) + "/.config";
    return config + "/reelmix/registry.db";
}

} // namespace

RegistryStore::RegistryStore(std::string path, int busyWaitMs)
    : m_path(std::move(path)), m_busyWaitMs(busyWaitMs)
{
}

RegistryStore::~RegistryStore()
{
    for (const auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

RegistryStore& RegistryStore::ForProcess()
{
    static RegistryStore store(DefaultStorePath());
    return store;
}

bool RegistryStore::IsWritable() const
{
    struct stat status {
    };
    if (stat(m_path.c_str(), &status) != 0)
        return true; // created on first write, or that write reports why not
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           access(m_path.c_str(), W_OK) == 0 &&
           access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

sqlite3* RegistryStore::Connection(bool create)
{
    if (m_db)
        return m_db;
    std::error_code error;
    if (!create && !std::filesystem::exists(m_path, error))
        return nullptr;
    int flags = SQLITE_OPEN_READWRITE;
    if (create) {
        const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
        if (!folder.empty())
            std::filesystem::create_directories(folder, error);
        flags |= SQLITE_OPEN_CREATE;
    }
    if (sqlite3_open_v2(m_path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        return nullptr;
    }
    sqlite3_busy_timeout(m_db, m_busyWaitMs);
    sqlite3_exec(m_db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);
    return m_db;
}

LONG RegistryStore::Transact(bool write, const std::function<LONG()>& work)
{
    std::lock_guard lock(m_mutex);
    if (m_depth > 0) {
        if (write && !m_inWrite)
            return LONG(ERROR_ACCESS_DENIED);
        ++m_depth;
        const LONG result = work();
        --m_depth;
        return result;
    }
    if (const LONG result = Begin(write); result != ERROR_SUCCESS)
        return result;
    m_depth = 1;
    m_inWrite = write;
    const LONG result = work();
    m_depth = 0;
    m_inWrite = false;
    return End(write, result);
}

LONG RegistryStore::Begin(bool write)
{
    std::error_code error;
    if (!m_db && std::filesystem::is_directory(m_path, error))
        return LONG(ERROR_DIRECTORY);
    if (write && !IsWritable())
        return LONG(ERROR_ACCESS_DENIED);
    m_empty = false;
    if (!Connection(write)) {
        m_empty = !write;
        return write ? LONG(ERROR_ACCESS_DENIED) : LONG(ERROR_SUCCESS);
    }
    const int rc =
        sqlite3_exec(m_db, write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return StoreStatement::ErrorOf(rc);
    const LONG result = write ? CreateSchema() : CheckSchema();
    if (result != ERROR_SUCCESS)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return result;
}

LONG RegistryStore::End(bool write, LONG result)
{
    if (!m_db || sqlite3_get_autocommit(m_db))
        return result; // no transaction was started, or SQLite already rolled it back
    if (result == ERROR_SUCCESS || !write) {
        const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) {
            m_schemaReady = m_schemaReady || write;
            return result;
        }
        if (result == ERROR_SUCCESS)
            result = StoreStatement::ErrorOf(rc);
    }
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return result;
}

LONG RegistryStore::CreateSchema()
{
    if (m_schemaReady)
        return LONG(ERROR_SUCCESS);
    const int rc = sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? LONG(ERROR_SUCCESS) : StoreStatement::ErrorOf(rc);
}

LONG RegistryStore::CheckSchema()
{
    if (m_schemaReady)
        return LONG(ERROR_SUCCESS);
    StoreStatement query = Query("SELECT 1 FROM sqlite_master WHERE type='table' AND name='vals'");
    const LONG result = query.Fetch(ERROR_FILE_NOT_FOUND);
    m_schemaReady = result == ERROR_SUCCESS;
    m_empty = result == LONG(ERROR_FILE_NOT_FOUND);
    return m_empty ? LONG(ERROR_SUCCESS) : result;
}

LONG RegistryStore::Resolve(HKEY key, REGSAM needed, Handle& handle) const
{
    const auto value = reinterpret_cast<std::uintptr_t>(key);
    if (value >= kFirstHive && value < kFirstHive + kHiveCount) {
        handle.key = std::int64_t(value - kFirstHive) + 1;
        // A write transaction under way has found the store writable already.
        handle.access = m_inWrite || IsWritable() ? KEY_ALL_ACCESS : KEY_READ;
    } else if (const auto it = m_handles.find(value); it != m_handles.end()) {
        handle = it->second;
    } else {
        return LONG(ERROR_INVALID_HANDLE);
    }
    return (handle.access & needed) == needed ? LONG(ERROR_SUCCESS) : LONG(ERROR_ACCESS_DENIED);
}

HKEY RegistryStore::NewHandle(std::int64_t key, REGSAM access)
{
    std::lock_guard lock(m_mutex);
    m_nextHandle += 4;
    m_handles[m_nextHandle] = Handle{key, access};
    return reinterpret_cast<HKEY>(m_nextHandle);
}

LONG RegistryStore::KeyExists(std::int64_t key)
{
    if (m_empty)
        return key >= 1 && key <= kHiveCount ? LONG(ERROR_SUCCESS) : LONG(ERROR_KEY_DELETED);
    StoreStatement query = Query("SELECT 1 FROM keys WHERE id=?");
    query.Bind(1, key);
    return query.Fetch(ERROR_KEY_DELETED);
}

LONG RegistryStore::FindChild(std::int64_t parent, const std::string& name, std::int64_t& child)
{
    if (m_empty)
        return LONG(ERROR_FILE_NOT_FOUND);
    StoreStatement query = Query("SELECT id FROM keys WHERE parent=? AND name=?");
    query.Bind(1, parent).Bind(2, name);
    const LONG result = query.Fetch(ERROR_FILE_NOT_FOUND);
    if (result == ERROR_SUCCESS)
        child = query.Int(0);
    return result;
}

LONG RegistryStore::Walk(std::int64_t from, const std::vector<std::string>& parts,
                         std::int64_t& key)
{
    if (const LONG result = KeyExists(from); result != ERROR_SUCCESS)
        return result;
    key = from;
    for (const std::string& part : parts) {
        if (const LONG result = FindChild(key, part, key); result != ERROR_SUCCESS)
            return result;
    }
    return LONG(ERROR_SUCCESS);
}

LONG RegistryStore::InsertKey(std::int64_t parent, const std::string& name, const char* className,
                              std::int64_t& key)
{
    StoreStatement insert =
        Query("INSERT INTO keys(parent, name, class, written) VALUES(?, ?, ?, ?)");
    insert.Bind(1, parent).Bind(2, name).Bind(3, className ? className : "");
    insert.Bind(4, std::int64_t(std::time(nullptr)));
    if (const LONG result = insert.Run(); result != ERROR_SUCCESS)
        return result;
    key = sqlite3_last_insert_rowid(m_db);
    return Touch(parent);
}

LONG RegistryStore::Touch(std::int64_t key)
{
    StoreStatement update = Query("UPDATE keys SET written=? WHERE id=?");
    update.Bind(1, std::int64_t(std::time(nullptr))).Bind(2, key);
    return update.Run();
}

// Preparing costs more than running most of the store's statements; each is prepared once.
StoreStatement RegistryStore::Query(const char* sql)
{
    sqlite3_stmt*& statement = m_statements[sql];
    const int rc = statement ? SQLITE_OK : sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        m_statements.erase(sql);
    return StoreStatement(rc == SQLITE_OK ? statement : nullptr, rc);
}

// How many keys lie between key and its hive.
LONG RegistryStore::Level(std::int64_t key, std::size_t& level)
{
    level = 0;
    if (key <= kHiveCount)
        return LONG(ERROR_SUCCESS);
    StoreStatement query =
        Query("WITH RECURSIVE up(id) AS (SELECT ? UNION ALL SELECT keys.parent "
              "FROM keys JOIN up ON keys.id = up.id WHERE keys.parent IS NOT NULL) "
              "SELECT count(*) - 1 FROM up");
    query.Bind(1, key);
    const LONG result = query.Fetch(ERROR_KEY_DELETED);
    if (result == ERROR_SUCCESS)
        level = std::size_t(query.Int(0));
    return result;
}

LONG RegistryStore::CreateKey(HKEY parent, const char* subKey, const char* className, REGSAM access,
                              HKEY& result, DWORD& disposition)
{
    std::int64_t key = 0;
    const LONG status = Transact(true, [&]() -> LONG {
        Handle handle;
        std::vector<std::string> parts;
        if (const LONG r = Resolve(parent, KEY_CREATE_SUB_KEY, handle); r != ERROR_SUCCESS)
            return r;
        if (const LONG r = SplitPath(subKey, parts); r != ERROR_SUCCESS)
            return r;
        if (const LONG r = KeyExists(handle.key); r != ERROR_SUCCESS)
            return r;
        std::size_t level = 0;
        if (const LONG r = parts.empty() ? LONG(ERROR_SUCCESS) : Level(handle.key, level);
            r != ERROR_SUCCESS)
            return r;
        if (level + parts.size() > kMaxDepth)
            return LONG(ERROR_INVALID_PARAMETER);
        key = handle.key;
        disposition = REG_OPENED_EXISTING_KEY;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            LONG r = FindChild(key, parts[i], key);
            if (r == LONG(ERROR_FILE_NOT_FOUND)) {
                r = InsertKey(key, parts[i], i + 1 == parts.size() ? className : nullptr, key);
                disposition = REG_CREATED_NEW_KEY;
            }
            if (r != ERROR_SUCCESS)
                return r;
        }
        return LONG(ERROR_SUCCESS);
    });
    if (status == ERROR_SUCCESS)
        result = NewHandle(key, access);
    return status;
}

LONG RegistryStore::OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY& result)
{
    std::int64_t key = 0;
    const LONG status = Transact(false, [&]() -> LONG {
        Handle handle;
        std::vector<std::string> parts;
        if (const LONG r = Resolve(parent, 0, handle); r != ERROR_SUCCESS)
            return r;
        if (const LONG r = SplitPath(subKey, parts); r != ERROR_SUCCESS)
            return r;
        if (const LONG r = Walk(handle.key, parts, key); r != ERROR_SUCCESS)
            return r;
        return (access & kWriteRights) && !IsWritable() ? LONG(ERROR_ACCESS_DENIED)
                                                        : LONG(ERROR_SUCCESS);
    });
    if (status == ERROR_SUCCESS)
        result = NewHandle(key, access);
    return status;
}

LONG RegistryStore::CloseKey(HKEY key)
{
    std::lock_guard lock(m_mutex);
    Handle handle;
    if (Resolve(key, 0, handle) == LONG(ERROR_INVALID_HANDLE))
        return LONG(ERROR_INVALID_HANDLE);
    m_handles.erase(reinterpret_cast<std::uintptr_t>(key));
    return LONG(ERROR_SUCCESS);
}

LONG RegistryStore::QueryValue(HKEY key, const char* name, Value& value)
{
    return Transact(false, [&]() -> LONG {
        Handle handle;
        if (const LONG r = Resolve(key, KEY_QUERY_VALUE, handle); r != ERROR_SUCCESS)
            return r;
        if (m_empty)
            return LONG(ERROR_FILE_NOT_FOUND);
        StoreStatement query = Query("SELECT name, type, data FROM vals WHERE key=? AND name=?");
        query.Bind(1, handle.key).Bind(2, name ? name : "");
        const LONG r = query.Fetch(ERROR_FILE_NOT_FOUND);
        if (r == ERROR_SUCCESS)
            value = Value{query.Bytes(0), DWORD(query.Int(1)), query.Bytes(2)};
        return r;
    });
}

LONG RegistryStore::SetValue(HKEY key, const char* name, DWORD type, std::string_view data)
{
    const std::string_view valueName = name ? name : "";
    if (Characters(valueName) > kMaxValueName || HasLineBreak(valueName))
        return LONG(ERROR_INVALID_PARAMETER);
    return Transact(true, [&]() -> LONG {
        Handle handle;
        if (const LONG r = Resolve(key, KEY_SET_VALUE, handle); r != ERROR_SUCCESS)
            return r;
        if (const LONG r = KeyExists(handle.key); r != ERROR_SUCCESS)
            return r;
        // The upsert keeps the case the value was first written with.
        StoreStatement upsert = Query("INSERT INTO vals(key, name, type, data) VALUES(?, ?, ?, ?) "
                                      "ON CONFLICT(key, name) DO UPDATE SET type=excluded.type, "
                                      "data=excluded.data");
        upsert.Bind(1, handle.key).Bind(2, valueName).Bind(3, std::int64_t(type));
        upsert.BindBlob(4, data);
        if (const LONG r = upsert.Run(); r != ERROR_SUCCESS)
            return r;
        return Touch(handle.key);
    });
}

LONG RegistryStore::DeleteValue(HKEY key, const char* name)
{
    return Transact(true, [&]() -> LONG {
        Handle handle;
        if (const LONG r = Resolve(key, KEY_SET_VALUE, handle); r != ERROR_SUCCESS)
            return r;
        StoreStatement remove = Query("DELETE FROM vals WHERE key=? AND name=?");
        remove.Bind(1, handle.key).Bind(2, name ? name : "");
        if (const LONG r = remove.Run(); r != ERROR_SUCCESS)
            return r;
        return sqlite3_changes(m_db) ? Touch(handle.key) : LONG(ERROR_FILE_NOT_FOUND);
    });
}

LONG RegistryStore::DeleteKey(HKEY parent, const char* subKey)
{
    return RemoveKey(parent, subKey, false);
}

LONG RegistryStore::DeleteTree(HKEY parent, const char* subKey)
{
    return RemoveKey(parent, subKey, true);
}

// The store's foreign keys take the subkeys and values along.
LONG RegistryStore::RemoveKey(HKEY parent, const char* subKey, bool withSubKeys)
{
    return Transact(true, [&]() -> LONG {
        Handle handle;
        std::vector<std::string> parts;
        std::int64_t key = 0;
        if (const LONG r = Resolve(parent, 0, handle); r != ERROR_SUCCESS)
            return r;
        if (const LONG r = SplitPath(subKey, parts); r != ERROR_SUCCESS)
            return r;
        if (parts.empty())
            return LONG(ERROR_INVALID_PARAMETER);
        if (const LONG r = Walk(handle.key, parts, key); r != ERROR_SUCCESS)
            return r;
        StoreStatement children = Query("SELECT 1 FROM keys WHERE parent=?");
        children.Bind(1, key);
        const LONG r =
            withSubKeys ? LONG(ERROR_FILE_NOT_FOUND) : children.Fetch(ERROR_FILE_NOT_FOUND);
        if (r == ERROR_SUCCESS)
            return LONG(ERROR_ACCESS_DENIED); // Windows deletes only keys without subkeys
        if (r != LONG(ERROR_FILE_NOT_FOUND))
            return r;
        return RemoveTree(key);
    });
}

// SQLite follows the foreign keys no deeper than its trigger depth of 1000 levels, which stores
// written before the depth limit may exceed: such a tree goes in slices, from the bottom up.
LONG RegistryStore::RemoveTree(std::int64_t key)
{
    StoreStatement cuts =
        Query("WITH RECURSIVE below(id, depth) AS (SELECT ?, 0 UNION ALL SELECT keys.id, "
              "below.depth + 1 FROM keys JOIN below ON keys.parent = below.id) "
              "SELECT id FROM below WHERE depth % 500 = 0 ORDER BY depth DESC");
    cuts.Bind(1, key);
    std::vector<std::int64_t> slices;
    LONG result = LONG(ERROR_SUCCESS);
    while ((result = cuts.Fetch(ERROR_NO_MORE_ITEMS)) == ERROR_SUCCESS)
        slices.push_back(cuts.Int(0));
    if (result != LONG(ERROR_NO_MORE_ITEMS))
        return result;
    for (const std::int64_t top : slices) {
        StoreStatement remove = Query("DELETE FROM keys WHERE id=?");
        remove.Bind(1, top);
        if (const LONG r = remove.Run(); r != ERROR_SUCCESS)
            return r;
    }
    return LONG(ERROR_SUCCESS);
}

LONG RegistryStore::EnumKey(HKEY key, DWORD index, SubKey& subKey)
{
    return Transact(false, [&]() -> LONG {
        Handle handle;
        if (const LONG r = Resolve(key, KEY_ENUMERATE_SUB_KEYS, handle); r != ERROR_SUCCESS)
            return r;
        if (m_empty)
            return LONG(ERROR_NO_MORE_ITEMS);
        StoreStatement query = Query("SELECT name, class, written FROM keys WHERE parent=? "
                                     "ORDER BY name LIMIT 1 OFFSET ?");
        query.Bind(1, handle.key).Bind(2, std::int64_t(index));
        const LONG r = query.Fetch(ERROR_NO_MORE_ITEMS);
        if (r == ERROR_SUCCESS)
            subKey = SubKey{query.Bytes(0), query.Bytes(1), query.Int(2)};
        return r;
    });
}

LONG RegistryStore::EnumValue(HKEY key, DWORD index, Value& value)
{
    return Transact(false, [&]() -> LONG {
        Handle handle;
        if (const LONG r = Resolve(key, KEY_QUERY_VALUE, handle); r != ERROR_SUCCESS)
            return r;
        if (m_empty)
            return LONG(ERROR_NO_MORE_ITEMS);
        StoreStatement query = Query("SELECT name, type, data FROM vals WHERE key=? "
                                     "ORDER BY name LIMIT 1 OFFSET ?");
        query.Bind(1, handle.key).Bind(2, std::int64_t(index));
        const LONG r = query.Fetch(ERROR_NO_MORE_ITEMS);
        if (r == ERROR_SUCCESS)
            value = Value{query.Bytes(0), DWORD(query.Int(1)), query.Bytes(2)};
        return r;
    });
}

LONG RegistryStore::AllSubKeys(HKEY key, std::vector<SubKey>& subKeys)
{
    subKeys.clear();
    return Transact(false, [&]() -> LONG {
        Handle handle;
        if (const LONG r = Resolve(key, KEY_ENUMERATE_SUB_KEYS, handle); r != ERROR_SUCCESS)
            return r;
        if (m_empty)
            return LONG(ERROR_SUCCESS);
        StoreStatement query =
            Query("SELECT name, class, written FROM keys WHERE parent=? ORDER BY name");
        query.Bind(1, handle.key);
        LONG r = LONG(ERROR_SUCCESS);
        while ((r = query.Fetch(ERROR_NO_MORE_ITEMS)) == ERROR_SUCCESS)
            subKeys.push_back(SubKey{query.Bytes(0), query.Bytes(1), query.Int(2)});
        return r == LONG(ERROR_NO_MORE_ITEMS) ? LONG(ERROR_SUCCESS) : r;
    });
}

LONG RegistryStore::AllValues(HKEY key, std::vector<Value>& values)
{
    values.clear();
    return Transact(false, [&]() -> LONG {
        Handle handle;
        if (const LONG r = Resolve(key, KEY_QUERY_VALUE, handle); r != ERROR_SUCCESS)
            return r;
        if (m_empty)
            return LONG(ERROR_SUCCESS);
        StoreStatement query = Query("SELECT name, type, data FROM vals WHERE key=? ORDER BY name");
        query.Bind(1, handle.key);
        LONG r = LONG(ERROR_SUCCESS);
        while ((r = query.Fetch(ERROR_NO_MORE_ITEMS)) == ERROR_SUCCESS)
            values.push_back(Value{query.Bytes(0), DWORD(query.Int(1)), query.Bytes(2)});
        return r == LONG(ERROR_NO_MORE_ITEMS) ? LONG(ERROR_SUCCESS) : r;
    });
}
