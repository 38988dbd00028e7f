# Shared part of the mingw-w64 cross builds; the including toolchain file sets
# CMAKE_SYSTEM_PROCESSOR, _triple (the compiler prefix) and _wine_arch.
# The posix thread variant is used because GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

find_program(MORVANE_MINGW_CXX ${_triple}-g++-posix)
find_program(MORVANE_MINGW_CC ${_triple}-gcc-posix)
find_program(MORVANE_WINDRES ${_triple}-windres)
find_program(MORVANE_OBJDUMP ${_triple}-objdump)
if(NOT MORVANE_MINGW_CXX OR NOT MORVANE_MINGW_CC)
  message(FATAL_ERROR "${_triple}-g++-posix not found: run ./scripts/install-deps.sh")
endif()
if(NOT MORVANE_WINDRES OR NOT MORVANE_OBJDUMP)
  message(FATAL_ERROR "${_triple}-windres or -objdump not found: run ./scripts/install-deps.sh")
endif()

set(CMAKE_C_COMPILER ${MORVANE_MINGW_CC})
set(CMAKE_CXX_COMPILER ${MORVANE_MINGW_CXX})
set(CMAKE_RC_COMPILER ${MORVANE_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the Windows test programs under the Wine of the same width.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${_wine_arch})
