# The environment entry that makes a test process find a run-time library
# (the simulated radio, a stub) in a folder by its bare name: the loader's
# search path on Linux; on Windows, run under Wine, the folder joins the
# program's DLL search path through WINEPATH (as a drive Z: path).
function(ravolin_library_search_env out dir)
  if(WIN32)
    # Built on a Linux host, so the separators are turned by hand.
    string(REPLACE "/" "\\" native "${dir}")
    set(${out} "WINEPATH=Z:${native}" PARENT_SCOPE)
  else()
    set(${out} "LD_LIBRARY_PATH=${dir}" PARENT_SCOPE)
  endif()
endfunction()
