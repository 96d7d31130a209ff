# The same sources, 64-bit, tested under the 64-bit Wine beside the shipping build.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
