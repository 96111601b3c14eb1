#include "engine_library.hpp"

#include "db.hpp"
#include "platform/system_library.hpp"

#include <optional>
#include <string>

namespace corvane::db {

namespace {

// An entry point by name, typed as its declaration.
template <typename Function>
void Find(void* pLibrary, Function*& pFunction, const char* sName, bool& bComplete) {
    // The loader hands out functions as untyped addresses.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    pFunction = reinterpret_cast<Function*>(SystemLibrarySymbol(pLibrary, sName));
    bComplete = bComplete && pFunction != nullptr;
}

std::optional<EngineLibrary> Load() {
    void* pLibrary = OpenSystemLibrary(DatabaseEngineLibraryName());
    if (pLibrary == nullptr) {
        return std::nullopt;
    }
    EngineLibrary e;
    bool bOk = true;
    Find(pLibrary, e.pOpen, "sqlite3_open_v2", bOk);
    Find(pLibrary, e.pClose, "sqlite3_close_v2", bOk);
    Find(pLibrary, e.pKey, "sqlite3_key", bOk);
    Find(pLibrary, e.pBusyHandler, "sqlite3_busy_handler", bOk);
    Find(pLibrary, e.pSleep, "sqlite3_sleep", bOk);
    Find(pLibrary, e.pErrMsg, "sqlite3_errmsg", bOk);
    Find(pLibrary, e.pErrStr, "sqlite3_errstr", bOk);
    Find(pLibrary, e.pExec, "sqlite3_exec", bOk);
    Find(pLibrary, e.pChanges, "sqlite3_changes", bOk);
    Find(pLibrary, e.pPrepare, "sqlite3_prepare_v2", bOk);
    Find(pLibrary, e.pFinalize, "sqlite3_finalize", bOk);
    Find(pLibrary, e.pBindInt64, "sqlite3_bind_int64", bOk);
    Find(pLibrary, e.pBindText, "sqlite3_bind_text", bOk);
    Find(pLibrary, e.pStep, "sqlite3_step", bOk);
    Find(pLibrary, e.pReset, "sqlite3_reset", bOk);
    Find(pLibrary, e.pClearBindings, "sqlite3_clear_bindings", bOk);
    Find(pLibrary, e.pColumnInt64, "sqlite3_column_int64", bOk);
    Find(pLibrary, e.pColumnText, "sqlite3_column_text", bOk);
    Find(pLibrary, e.pColumnBytes, "sqlite3_column_bytes", bOk);
    Find(pLibrary, e.pInitCrypto, "OPENSSL_init_crypto", bOk);
    Find(pLibrary, e.pPbkdf2, "PKCS5_PBKDF2_HMAC_SHA1", bOk);
    return bOk ? std::optional(e) : std::nullopt;
}

} // namespace

const EngineLibrary& Engine() {
    static const std::optional<EngineLibrary> engine = Load();
    if (!engine) {
        throw DbError(SQLITE_CANTOPEN, std::string("The database engine could not be loaded (") +
                                           DatabaseEngineLibraryName() + ").");
    }
    return *engine;
}

} // namespace corvane::db
