# 64-bit Windows build with MinGW-w64 (Debian's x86_64-w64-mingw32-*-posix).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(RAVOLIN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
