// The database engine's entry points, taken from its library when the first
// key is derived or the first database opened. Linked with the program, the
// engine and the cryptography library it is built on would be loaded before
// anything else, a few milliseconds the table waits for at every start.
#pragma once

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sqlite3.h>

namespace corvane::db {

struct EngineLibrary {
    decltype(&::sqlite3_open_v2) pOpen = nullptr;
    decltype(&::sqlite3_close_v2) pClose = nullptr;
    decltype(&::sqlite3_key) pKey = nullptr;
    decltype(&::sqlite3_busy_handler) pBusyHandler = nullptr;
    decltype(&::sqlite3_sleep) pSleep = nullptr;
    decltype(&::sqlite3_errmsg) pErrMsg = nullptr;
    decltype(&::sqlite3_errstr) pErrStr = nullptr;
    decltype(&::sqlite3_exec) pExec = nullptr;
    decltype(&::sqlite3_changes) pChanges = nullptr;
    decltype(&::sqlite3_prepare_v2) pPrepare = nullptr;
    decltype(&::sqlite3_finalize) pFinalize = nullptr;
    decltype(&::sqlite3_bind_int64) pBindInt64 = nullptr;
    decltype(&::sqlite3_bind_text) pBindText = nullptr;
    decltype(&::sqlite3_step) pStep = nullptr;
    decltype(&::sqlite3_reset) pReset = nullptr;
    decltype(&::sqlite3_clear_bindings) pClearBindings = nullptr;
    decltype(&::sqlite3_column_int64) pColumnInt64 = nullptr;
    decltype(&::sqlite3_column_text) pColumnText = nullptr;
    decltype(&::sqlite3_column_bytes) pColumnBytes = nullptr;
    // From the cryptography library the cipher uses.
    decltype(&::OPENSSL_init_crypto) pInitCrypto = nullptr;
    decltype(&::PKCS5_PBKDF2_HMAC_SHA1) pPbkdf2 = nullptr;
};

// The engine, loaded at the first call from whichever thread makes it; throws
// a DbError that names the library when it or one of its entry points is missing.
const EngineLibrary& Engine();

} // namespace corvane::db
