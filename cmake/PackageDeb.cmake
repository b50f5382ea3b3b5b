# Installing the panel, and its Debian package ("cmake --build build --target
# package", which scripts/package runs): the program, both radio libraries,
# the udev rule, the desktop entry with its launcher, icons and metainfo, the
# man page, and Debian's copyright and changelog. Paths are relative to the
# prefix, /usr in the package.
set(RAVOLIN_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(RAVOLIN_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
set(RAVOLIN_DESKTOP_ID org.ravolin.Ravolin)

# The program finds the radio library it is installed with through its run
# path, relative to itself, so an unpacked or moved tree works too. RUNPATH,
# not RPATH: LD_LIBRARY_PATH must still come first, to pick the simulated
# radio or another library. The build tree's program gets the same run path
# (pointing at nothing there; it finds its library through LD_LIBRARY_PATH,
# as before): otherwise CMake would give it an empty placeholder to rewrite
# at install, and the loader reads empty entries as the current folder.
set_target_properties(ravolin PROPERTIES BUILD_WITH_INSTALL_RPATH ON INSTALL_RPATH "$ORIGIN/../lib/ravolin")
target_link_options(ravolin PRIVATE -Wl,--enable-new-dtags)
install(TARGETS ravolin RUNTIME DESTINATION bin)
install(TARGETS ravolin_usb_radio LIBRARY DESTINATION lib/ravolin)
install(TARGETS ravolin_sim_radio LIBRARY DESTINATION lib/ravolin/sim)

install(FILES ${RAVOLIN_PACKAGING}/udev/70-ravolin-radio.rules DESTINATION lib/udev/rules.d)
install(FILES ${RAVOLIN_PACKAGING}/desktop/${RAVOLIN_DESKTOP_ID}.desktop DESTINATION share/applications)
install(PROGRAMS ${RAVOLIN_PACKAGING}/desktop/ravolin-launcher DESTINATION libexec/ravolin)
install(FILES ${RAVOLIN_PACKAGING}/metainfo/${RAVOLIN_DESKTOP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${RAVOLIN_PACKAGING}/icons/ravolin.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${RAVOLIN_PACKAGING}/debian/copyright DESTINATION share/doc/ravolin)

# Made at build time: the icon's PNG sizes from its SVG, and the man page and
# changelog compressed as Debian wants them (gzip -9, no name or time stamp).
include(${PROJECT_SOURCE_DIR}/cmake/IconImages.cmake)
find_program(RAVOLIN_GZIP gzip REQUIRED)
set(icon_sizes 16 22 24 32 48 64 128 256)
ravolin_icon_pngs(generated ${RAVOLIN_PACKAGING_OUT}/icons ${icon_sizes})
foreach(size png IN ZIP_LISTS icon_sizes generated)
  install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
foreach(pair "man/ravolin.1:ravolin.1.gz" "debian/changelog:changelog.gz")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 compressed)
  add_custom_command(OUTPUT ${RAVOLIN_PACKAGING_OUT}/${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RAVOLIN_PACKAGING_OUT}
    COMMAND sh -c "${RAVOLIN_GZIP} -9 -n -c \"$1\" > \"$2\"" gzip
            ${RAVOLIN_PACKAGING}/${source} ${RAVOLIN_PACKAGING_OUT}/${compressed}
    DEPENDS ${RAVOLIN_PACKAGING}/${source}
    VERBATIM)
  list(APPEND generated ${RAVOLIN_PACKAGING_OUT}/${compressed})
endforeach()
add_custom_target(ravolin_package_files ALL DEPENDS ${generated})
install(FILES ${RAVOLIN_PACKAGING_OUT}/ravolin.1.gz DESTINATION share/man/man1)
install(FILES ${RAVOLIN_PACKAGING_OUT}/changelog.gz DESTINATION share/doc/ravolin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravolin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front panel for a short-wave radio on USB")
file(READ ${RAVOLIN_PACKAGING}/debian/description CPACK_PACKAGE_DESCRIPTION)  # the long description
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ravolin maintainers <maintainers@users.noreply.c-seed-58be185a.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# One script serves as postinst and postrm; CPack's own, which would run
# ldconfig for the private libraries, is not wanted.
foreach(script postinst postrm)
  configure_file(${RAVOLIN_PACKAGING}/debian/maintscript ${RAVOLIN_PACKAGING_OUT}/${script} COPYONLY)
  list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${RAVOLIN_PACKAGING_OUT}/${script})
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
