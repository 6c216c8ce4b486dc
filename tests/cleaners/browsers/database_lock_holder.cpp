// Holds a browser database locked, as a running browser does: it takes the write lock of the database named
// on its command line, signals the event named after it, and holds the lock until the event named with
// "-release" after it is signalled (a minute at most).
// Usage: database_lock_holder <database> <event name>
#include <windows.h>

#include <sqlite3.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring path = argv[1];
    char utf8[4 * MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(utf8, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return 1;
    // EXCLUSIVE keeps out writers in write-ahead mode and every reader in rollback mode.
    if (sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) return 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, (std::wstring(argv[2]) + L"-release").c_str());
    if (!ready || !release) return 1;
    SetEvent(ready);
    WaitForSingleObject(release, 60 * 1000);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return 0;
}
