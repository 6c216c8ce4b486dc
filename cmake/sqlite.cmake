# SQLite's amalgamation, unpacked into the build folder by scripts/setup (it is never kept in the
# repository) and linked statically. Only this one C file is compiled without our warning flags.
set(TRACEWIPE_SQLITE_DIR ${CMAKE_BINARY_DIR}/third_party/sqlite3)
if(NOT EXISTS ${TRACEWIPE_SQLITE_DIR}/sqlite3.c)
    message(FATAL_ERROR "SQLite is missing from ${TRACEWIPE_SQLITE_DIR}: run scripts/setup with BUILD_DIR=${CMAKE_BINARY_DIR}")
endif()
add_library(tracewipe_sqlite STATIC ${TRACEWIPE_SQLITE_DIR}/sqlite3.c)
target_include_directories(tracewipe_sqlite SYSTEM PUBLIC ${TRACEWIPE_SQLITE_DIR})
# A connection lives on one thread (the cleaning job's worker); nothing is loaded at run time.
target_compile_definitions(tracewipe_sqlite PRIVATE
    SQLITE_THREADSAFE=2 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0 SQLITE_DEFAULT_MEMSTATUS=0
    SQLITE_OMIT_DEPRECATED SQLITE_OMIT_SHARED_CACHE SQLITE_USE_URI=0 SQLITE_LIKE_DOESNT_MATCH_BLOBS)
target_compile_options(tracewipe_sqlite PRIVATE -w -O2)
