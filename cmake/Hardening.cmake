# The usual distribution hardening: fortified libc calls, stack protector,
# position-independent executables and full RELRO. Fortify is left out of the
# sanitizer build, where it only gets in ASan's way.
if(NOT WIN32)
  add_compile_options(-fstack-protector-strong)
  if(NOT RAVOLIN_SANITIZE)
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  endif()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
