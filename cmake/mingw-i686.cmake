# Cross-compiling the 32-bit Windows program with Debian's mingw-w64. Wine
# here cannot run 32-bit programs, so no emulator is set and only the
# program itself is built for this architecture.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
