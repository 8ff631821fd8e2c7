#pragma once

// The few calls into SQLite that the layer's inline paths make (binding, stepping, reading a
// column), declared here so that its headers need not include <sqlite3.h> and spread it to every
// user. The layer's own sources include both, so the compiler holds these declarations to
// SQLite's.
#include <cstdint>

struct sqlite3_stmt;

extern "C" {
int sqlite3_bind_null(sqlite3_stmt*, int);
int sqlite3_bind_int64(sqlite3_stmt*, int, long long);
int sqlite3_bind_double(sqlite3_stmt*, int, double);
int sqlite3_bind_text64(sqlite3_stmt*, int, const char*, unsigned long long, void (*)(void*),
                        unsigned char);
int sqlite3_bind_blob64(sqlite3_stmt*, int, const void*, unsigned long long, void (*)(void*));
int sqlite3_bind_parameter_count(sqlite3_stmt*);
int sqlite3_step(sqlite3_stmt*);
int sqlite3_reset(sqlite3_stmt*);
int sqlite3_stmt_busy(sqlite3_stmt*);
int sqlite3_column_int(sqlite3_stmt*, int);
long long sqlite3_column_int64(sqlite3_stmt*, int);
double sqlite3_column_double(sqlite3_stmt*, int);
const unsigned char* sqlite3_column_text(sqlite3_stmt*, int);
const void* sqlite3_column_blob(sqlite3_stmt*, int);
int sqlite3_column_bytes(sqlite3_stmt*, int);
}

namespace sqdb::detail {

// The result codes and the text encoding the inline paths use; SQLite's values.
inline constexpr int kOK = 0;
inline constexpr int kMisuse = 21;
inline constexpr int kRow = 100;
inline constexpr int kDone = 101;
inline constexpr unsigned char kUTF8 = 1;

using Destructor = void (*)(void*);
// Lent bytes are used by SQLite where they stand (SQLITE_STATIC); others it copies first
// (SQLITE_TRANSIENT).
inline Destructor lifetime(bool borrow) {
    return borrow ? nullptr : reinterpret_cast<Destructor>(static_cast<std::intptr_t>(-1));
}

}  // namespace sqdb::detail
