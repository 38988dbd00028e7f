# Cross build for 32-bit Windows: the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_triple i686-w64-mingw32)
set(_wine_arch win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Floats in SSE registers, as on x86-64: x87's wider registers would make a
# save version read from a header compare unequal to the same constant.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
