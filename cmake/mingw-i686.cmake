# Cross build for 32-bit Windows: the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_triple i686-w64-mingw32)
set(_wine_arch win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
