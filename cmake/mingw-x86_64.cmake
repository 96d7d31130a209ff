# The same sources, 64-bit: what the tests run, under Wine.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Test programs of this build run under Wine, in a prefix inside the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run")
