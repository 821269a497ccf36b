#pragma once
// One use of a prepared statement of the settings store, with SQLite's results told as the
// Windows error codes of the registry calls. The statement is borrowed from the store, which
// keeps it prepared; the use ends by resetting it, so that it holds no lock afterwards.
#include "platform/core/WinError.h"

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

class StoreStatement
{
public:
    // rc: the result of preparing statement; a failure comes back from every call.
    StoreStatement(sqlite3_stmt* statement, int rc);
    ~StoreStatement();
    StoreStatement(const StoreStatement&) = delete;
    StoreStatement& operator=(const StoreStatement&) = delete;

    StoreStatement& Bind(int index, std::int64_t value);
    StoreStatement& Bind(int index, std::string_view text);
    StoreStatement& BindBlob(int index, std::string_view bytes);
    // ERROR_SUCCESS for a finished statement, the mapped error otherwise.
    LONG Run();
    // ERROR_SUCCESS for the next row, missing when there is none, else the mapped error.
    LONG Fetch(DWORD missing);
    std::int64_t Int(int column) const;
    std::string Bytes(int column) const;

    static LONG ErrorOf(int rc);

private:
    int Step();

    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = 0;
};
