// A thin owner of the database handle and its statements, used only inside
// storage/. Neither can be copied; values go in only through Bind; every failure
// is thrown as a DbError with SQLite's number and description.
#pragma once

#include "key_cache.hpp"

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace corvane::db {

// Starts deriving the key of an existing database file on a worker thread, so
// that its first Open finds the key ready. Nothing for a file it cannot read.
void DeriveKeyAhead(const std::string& sFile, KeyCache& keys);

class DbError : public std::runtime_error {
public:
    DbError(int nErrNum, const std::string& sErrDesc)
        : std::runtime_error(sErrDesc), nNumber(nErrNum), sDescription(sErrDesc) {}
    int nNumber;
    std::string sDescription;
};

class Database {
public:
    // Opens an existing database file shared and read-write (never creates one),
    // keys it and checks the key by reading the schema. Waits up to the busy
    // timeout for other processes that hold the file.
    static Database Open(const std::string& sFile, KeyCache& keys);
    // Creates a new, empty database file keyed with the password. Fails if the
    // file exists.
    static Database Create(const std::string& sFile);

    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // Runs SQL without values (schema statements, BEGIN, COMMIT).
    void Exec(const char* sSql);
    // Rows changed by the last INSERT, UPDATE or DELETE.
    std::int64_t Changes() const;
    sqlite3* Handle() const { return db_; }

    // How long a statement waits for another process's lock before failing.
    static constexpr int kBusyTimeoutMs = 5000;

private:
    explicit Database(sqlite3* db);
    void Close() noexcept;
    void Key(const std::string& sKey);
    void Check(int rc) const;

    sqlite3* db_ = nullptr;
    // When the current wait for another process's lock began; on the heap so
    // that the handle's busy handler keeps its address when the object moves.
    std::unique_ptr<std::chrono::steady_clock::time_point> pBusyStart_;
};

class Statement {
public:
    Statement(Database& db, std::string_view sSql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&&) = delete;
    Statement& operator=(Statement&&) = delete;
    ~Statement();

    // Parameters are numbered from 1, as in SQL.
    Statement& Bind(int nIndex, std::int64_t nValue);
    Statement& Bind(int nIndex, std::string_view sValue);
    // Runs to the next row: true when a row is there, false at the end.
    bool Step();
    // Runs a statement that returns no rows.
    void Run();
    // Ready to run again with new values.
    void Reset();

    // Columns are numbered from 0, in the order the SELECT names them.
    std::int64_t Int(int nColumn) const;
    std::string Text(int nColumn) const;

private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE: takes the write lock at once, so that a read followed by a
// write can never be overtaken by another process. Rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    Transaction(Transaction&&) = delete;
    Transaction& operator=(Transaction&&) = delete;
    ~Transaction();
    void Commit();

private:
    Database& db_;
    bool bOpen_ = true;
};

} // namespace corvane::db
