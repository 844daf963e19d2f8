# Cross-compiling the 64-bit Windows program with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Test programs run under Wine; this machine runs only 64-bit Windows programs.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
