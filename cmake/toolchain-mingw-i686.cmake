# 32-bit Windows build with MinGW-w64 (Debian's i686-w64-mingw32-*-posix): the
# one that loads the radio vendor's 32-bit USB library.
set(CMAKE_SYSTEM_PROCESSOR X86)
set(RAVOLIN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
