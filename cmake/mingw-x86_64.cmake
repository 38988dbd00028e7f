# Cross build for 64-bit Windows: the same program, and the build whose tests
# run where 32-bit programs cannot.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triple x86_64-w64-mingw32)
set(_wine_arch win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
