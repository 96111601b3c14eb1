// The owner of the SQLCipher handle. Every call checks its result code and turns
// a failure into a DbError, so that callers cannot forget one.
#include "db.hpp"

#include "engine_library.hpp"
#include "platform/file_system.hpp"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

namespace corvane::db {

namespace {

// What the first bytes of the file say: no file to read, too short to be a
// database, or the salt the cipher keeps there.
struct FileStart {
    bool bReadable = false;
    bool bTooShort = false;
    Salt salt{};
};

FileStart ReadFileStart(const std::string& sFile) {
    FileStart start;
    std::error_code ec;
    const auto path = PathFromUtf8(sFile);
    if (!std::filesystem::is_regular_file(path, ec)) {
        return start;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return start;
    }
    start.bReadable = true;
    // A stream reads chars; the salt is kept as unsigned bytes.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    in.read(reinterpret_cast<char*>(start.salt.data()),
            static_cast<std::streamsize>(start.salt.size()));
    start.bTooShort = in.gcount() != static_cast<std::streamsize>(start.salt.size());
    return start;
}

// SQLite's file locks cannot block, so a connection that finds the file locked
// by another process polls. The library's own handler backs off to 100 ms steps,
// which lets busy neighbours overtake a waiter again and again; short, uneven
// steps give every process its turn. Gives up after the busy timeout.
int WaitForLock(void* pStart, int nTries) {
    using Clock = std::chrono::steady_clock;
    auto& start = *static_cast<Clock::time_point*>(pStart);
    const Clock::time_point now = Clock::now();
    if (nTries == 0) {
        start = now;
    } else if (now - start >= std::chrono::milliseconds(Database::kBusyTimeoutMs)) {
        return 0;
    }
    Engine().pSleep(1 + nTries % 3);
    return 1;
}

[[noreturn]] void Throw(sqlite3* db, int rc) {
    const int nNumber = rc & 0xFF;
    throw DbError(nNumber, db != nullptr ? Engine().pErrMsg(db) : Engine().pErrStr(rc));
}

} // namespace

void DeriveKeyAhead(const std::string& sFile, KeyCache& keys) {
    const FileStart start = ReadFileStart(sFile);
    if (start.bReadable && !start.bTooShort) {
        keys.DeriveAhead(start.salt);
    }
}

Database::Database(sqlite3* db)
    : db_(db), pBusyStart_(std::make_unique<std::chrono::steady_clock::time_point>()) {
    if (db_ != nullptr) {
        Engine().pBusyHandler(db_, WaitForLock, pBusyStart_.get());
    }
}

Database::Database(Database&& other) noexcept
    : db_(other.db_), pBusyStart_(std::move(other.pBusyStart_)) {
    other.db_ = nullptr;
}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        Close();
        db_ = other.db_;
        pBusyStart_ = std::move(other.pBusyStart_);
        other.db_ = nullptr;
    }
    return *this;
}

Database::~Database() {
    Close();
}

void Database::Close() noexcept {
    if (db_ != nullptr) {
        Engine().pClose(db_);
        db_ = nullptr;
    }
}

void Database::Check(int rc) const {
    if (rc != SQLITE_OK) {
        Throw(db_, rc);
    }
}

void Database::Key(const std::string& sKey) {
    StartCrypto(); // before the cipher's first use of the library
    Check(Engine().pKey(db_, sKey.data(), static_cast<int>(sKey.size())));
    // A 4.x library reads and writes the 3.x format only when told so.
    Statement version(*this, "PRAGMA cipher_version");
    if (version.Step() && version.Text(0).compare(0, 1, "3") > 0) {
        Exec("PRAGMA cipher_compatibility = 3");
    }
}

Database Database::Open(const std::string& sFile, KeyCache& keys) {
    FileStart start = ReadFileStart(sFile);
    for (int nAttempt = 0;; ++nAttempt) {
        if (start.bReadable && start.bTooShort) {
            // An empty or cut file: SQLite would take it for a new database and
            // write one into it at the first change.
            throw DbError(SQLITE_NOTADB, Engine().pErrStr(SQLITE_NOTADB));
        }
        sqlite3* p = nullptr;
        const int rc = Engine().pOpen(sFile.c_str(), &p, SQLITE_OPEN_READWRITE, nullptr);
        Database db(p);
        if (rc != SQLITE_OK) {
            Throw(p, rc);
        }
        db.Key(keys.Enabled() && start.bReadable ? keys.RawKey(start.salt)
                                                 : std::string(kDBPassword));
        try {
            // The key is only tried at the first read of the schema.
            Statement check(db, "SELECT count(*) FROM sqlite_master");
            check.Step();
        } catch (const DbError& e) {
            // The file may have been replaced between reading its salt and opening it.
            if (e.nNumber == SQLITE_NOTADB && nAttempt == 0 && keys.Enabled()) {
                const FileStart now = ReadFileStart(sFile);
                if (now.bReadable && now.salt != start.salt) {
                    start = now;
                    continue;
                }
            }
            throw;
        }
        return db;
    }
}

Database Database::Create(const std::string& sFile) {
    std::error_code ec;
    if (std::filesystem::exists(PathFromUtf8(sFile), ec)) {
        throw DbError(SQLITE_CANTOPEN, "file already exists");
    }
    sqlite3* p = nullptr;
    const int rc =
        Engine().pOpen(sFile.c_str(), &p, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(p);
    if (rc != SQLITE_OK) {
        Throw(p, rc);
    }
    db.Key(kDBPassword);
    return db;
}

void Database::Exec(const char* sSql) {
    Check(Engine().pExec(db_, sSql, nullptr, nullptr, nullptr));
}

std::int64_t Database::Changes() const {
    return Engine().pChanges(db_);
}

Statement::Statement(Database& db, std::string_view sSql) : db_(db) {
    const int rc =
        Engine().pPrepare(db.Handle(), sSql.data(), static_cast<int>(sSql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        Throw(db.Handle(), rc);
    }
}

Statement::~Statement() {
    Engine().pFinalize(stmt_);
}

Statement& Statement::Bind(int nIndex, std::int64_t nValue) {
    const int rc = Engine().pBindInt64(stmt_, nIndex, nValue);
    if (rc != SQLITE_OK) {
        Throw(db_.Handle(), rc);
    }
    return *this;
}

Statement& Statement::Bind(int nIndex, std::string_view sValue) {
    const int rc = Engine().pBindText(stmt_, nIndex, sValue.data(), static_cast<int>(sValue.size()),
                                      SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) {
        Throw(db_.Handle(), rc);
    }
    return *this;
}

bool Statement::Step() {
    const int rc = Engine().pStep(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    Throw(db_.Handle(), rc);
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    Engine().pReset(stmt_);
    Engine().pClearBindings(stmt_);
}

std::int64_t Statement::Int(int nColumn) const {
    return Engine().pColumnInt64(stmt_, nColumn);
}

std::string Statement::Text(int nColumn) const {
    const auto* p = Engine().pColumnText(stmt_, nColumn);
    if (p == nullptr) {
        return {};
    }
    // sqlite3 hands text back as unsigned char.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return {reinterpret_cast<const char*>(p),
            static_cast<std::size_t>(Engine().pColumnBytes(stmt_, nColumn))};
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.Exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (bOpen_) {
        Engine().pExec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::Commit() {
    db_.Exec("COMMIT");
    bOpen_ = false;
}

} // namespace corvane::db
