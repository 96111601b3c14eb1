// Libraries of the system opened while the program runs, for the parts of the
// program that its start does not need.
#pragma once

namespace corvane {

// Opens a library by its file name and keeps it loaded until the program ends;
// null when it cannot be opened.
void* OpenSystemLibrary(const char* sFile);

// An entry point of an open library, or of the libraries it is built on, by
// name; null when there is none.
void* SystemLibrarySymbol(void* pLibrary, const char* sName);

// The file name of the database engine's library (SQLite with the cipher).
const char* DatabaseEngineLibraryName();

} // namespace corvane
