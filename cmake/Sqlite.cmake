# SQLite for the archive: natively Debian's library; in the Windows builds
# compiled into the programs from Debian's source package (fetched, checked
# and turned into one file by scripts/fetch-sqlite.sh), so they import only
# the system's DLLs. Either way the target is morvane_sqlite3.
if(NOT WIN32)
  find_package(SQLite3 REQUIRED)
  add_library(morvane_sqlite3 INTERFACE)
  target_link_libraries(morvane_sqlite3 INTERFACE SQLite::SQLite3)
  return()
endif()

set(MORVANE_SQLITE_SOURCE "${PROJECT_SOURCE_DIR}/build/third_party/sqlite3-3.40.1-2+deb12u2"
    CACHE PATH "Folder with the SQLite amalgamation (sqlite3.c, sqlite3.h)")
if(NOT EXISTS "${MORVANE_SQLITE_SOURCE}/sqlite3.c")
  message(STATUS "SQLite: making ${MORVANE_SQLITE_SOURCE} from Debian's source package")
  execute_process(COMMAND "${PROJECT_SOURCE_DIR}/scripts/fetch-sqlite.sh" "${MORVANE_SQLITE_SOURCE}"
                  RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "SQLite: scripts/fetch-sqlite.sh failed; run scripts/install-deps.sh first")
  endif()
endif()

# One object per build: the amalgamation is compiled once per preset. What
# the archive does not use is left out; threads are on, as the window's
# worker writes while the window reads.
add_library(morvane_sqlite3 STATIC "${MORVANE_SQLITE_SOURCE}/sqlite3.c")
target_include_directories(morvane_sqlite3 SYSTEM PUBLIC "${MORVANE_SQLITE_SOURCE}")
target_compile_definitions(morvane_sqlite3 PRIVATE
  SQLITE_THREADSAFE=1
  SQLITE_DEFAULT_MEMSTATUS=0
  SQLITE_DEFAULT_WAL_SYNCHRONOUS=1
  SQLITE_DQS=0
  SQLITE_OMIT_DEPRECATED
  SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_OMIT_SHARED_CACHE
  SQLITE_WIN32_NO_ANSI
)
set_target_properties(morvane_sqlite3 PROPERTIES C_STANDARD 99)
# Half the compile time of -O2 for its 8 MB (about 20 s instead of 40 s per
# preset on the test machine), for an index whose searches stay in
# milliseconds; after the build type's flags, so it wins.
target_compile_options(morvane_sqlite3 PRIVATE -O1)
