#include "platform/registry/StoreStatement.h"

#include <sqlite3.h>

StoreStatement::StoreStatement(sqlite3_stmt* statement, int rc) : m_stmt(statement), m_rc(rc) {}

StoreStatement::~StoreStatement()
{
    if (!m_stmt)
        return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

StoreStatement& StoreStatement::Bind(int index, std::int64_t value)
{
    if (m_rc == SQLITE_OK)
        m_rc = sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

StoreStatement& StoreStatement::Bind(int index, std::string_view text)
{
    if (m_rc == SQLITE_OK)
        m_rc = sqlite3_bind_text(m_stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
    return *this;
}

StoreStatement& StoreStatement::BindBlob(int index, std::string_view bytes)
{
    if (m_rc == SQLITE_OK)
        m_rc = sqlite3_bind_blob(m_stmt, index, bytes.empty() ? "" : bytes.data(),
                                 int(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

int StoreStatement::Step()
{
    return m_rc == SQLITE_OK ? sqlite3_step(m_stmt) : m_rc;
}

LONG StoreStatement::Run()
{
    const int rc = Step();
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? LONG(ERROR_SUCCESS) : ErrorOf(rc);
}

LONG StoreStatement::Fetch(DWORD missing)
{
    const int rc = Step();
    if (rc == SQLITE_ROW)
        return LONG(ERROR_SUCCESS);
    return rc == SQLITE_DONE ? LONG(missing) : ErrorOf(rc);
}

std::int64_t StoreStatement::Int(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

std::string StoreStatement::Bytes(int column) const
{
    const void* bytes = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return bytes ? std::string(static_cast<const char*>(bytes), std::size_t(size)) : std::string();
}

LONG StoreStatement::ErrorOf(int rc)
{
    switch (rc & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return LONG(ERROR_BADDB);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
        return LONG(ERROR_ACCESS_DENIED);
    case SQLITE_CONSTRAINT:
        return LONG(ERROR_KEY_DELETED);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return LONG(ERROR_BUSY);
    default:
        return LONG(ERROR_REGISTRY_IO_FAILED);
    }
}
