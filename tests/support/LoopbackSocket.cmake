# The socket calls of the loopback peers as a library of their own. It needs
# nothing of the test suite, so a build without the tests (the fuzz build)
# includes this file too; the first include defines the target.
include_guard(GLOBAL)
add_library(ravolin_loopback_socket STATIC ${CMAKE_CURRENT_LIST_DIR}/LoopbackSocket.cpp)
if(WIN32)
  target_link_libraries(ravolin_loopback_socket PUBLIC ws2_32)
endif()
