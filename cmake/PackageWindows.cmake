# The Windows package: ravolin.exe, the simulated radio in a folder of its
# own (sim/mpusbapi.dll, so that it never stands in for the radio maker's
# library by accident) and a readme for Windows users. The radio maker's
# mpusbapi.dll is never bundled. The toolchains link everything statically,
# so the program needs no compiler DLLs beside it.
#
# `cpack` in a Windows build folder makes a ZIP, and an NSIS installer when
# makensis is installed (scripts/package-windows). The installer is per user
# (packaging/windows/NSIS.template.in): the program under
# %LOCALAPPDATA%\Programs\Ravolin, and a Start-menu shortcut that starts it
# in %APPDATA%\Ravolin, the operator's folder.

install(TARGETS ravolin RUNTIME DESTINATION .)
install(TARGETS ravolin_sim_radio RUNTIME DESTINATION sim)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)

set(CPACK_PACKAGE_NAME ravolin)
set(CPACK_PACKAGE_VENDOR Ravolin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Front panel of a short-wave radio attached over USB")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CPACK_SYSTEM_NAME win32)
else()
  set(CPACK_SYSTEM_NAME win64)
endif()
set(CPACK_PACKAGE_INSTALL_DIRECTORY Ravolin)
set(CPACK_STRIP_FILES ON)

find_program(RAVOLIN_MAKENSIS makensis)
if(RAVOLIN_MAKENSIS)
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)  # NSIS.template.in
  set(CPACK_NSIS_DISPLAY_NAME "Ravolin ${PROJECT_VERSION}")
  set(CPACK_NSIS_PACKAGE_NAME "Ravolin ${PROJECT_VERSION}")
  set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/app/win32/ravolin.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/app/win32/ravolin.ico)
else()
  set(CPACK_GENERATOR ZIP)
endif()

include(CPack)
