# Shared part of the MinGW-w64 cross toolchains; the per-architecture files
# set RAVOLIN_MINGW_TRIPLE and include this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)

# The -posix compilers carry std::thread and std::mutex; the default
# (win32-threads) ones do not, and the test framework needs them.
set(CMAKE_C_COMPILER ${RAVOLIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAVOLIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RAVOLIN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RAVOLIN_MINGW_TRIPLE})
# Libraries for the cross build that we build ourselves (the test framework)
# are installed under this prefix by scripts/test-windows.
if(DEFINED ENV{RAVOLIN_WIN_PREFIX})
  list(APPEND CMAKE_FIND_ROOT_PATH $ENV{RAVOLIN_WIN_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything static: the program and the tests must run without the
# compiler's runtime DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run through Wine; test discovery happens when CTest runs, not at
# build time, so building needs no Wine session.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
