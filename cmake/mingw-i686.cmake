# Cross build for 32-bit Windows with mingw-w64 (posix thread variant, which
# GoogleTest needs for std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(_triple i686-w64-mingw32)
find_program(MORVANE_MINGW_CXX ${_triple}-g++-posix)
find_program(MORVANE_MINGW_CC ${_triple}-gcc-posix)
find_program(MORVANE_WINDRES ${_triple}-windres)
if(NOT MORVANE_MINGW_CXX OR NOT MORVANE_MINGW_CC)
  message(FATAL_ERROR "${_triple}-g++-posix not found: install g++-mingw-w64-i686")
endif()
if(NOT MORVANE_WINDRES)
  message(FATAL_ERROR "${_triple}-windres not found: install binutils-mingw-w64-i686")
endif()

set(CMAKE_C_COMPILER ${MORVANE_MINGW_CC})
set(CMAKE_CXX_COMPILER ${MORVANE_MINGW_CXX})
set(CMAKE_RC_COMPILER ${MORVANE_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the Windows test programs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
