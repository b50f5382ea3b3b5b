# The program's icon drawn from its one design, packaging/icons/ravolin.svg,
# at the sizes a platform asks for: PNG files made at build time with
# rsvg-convert. ravolin_icon_pngs(OUT_VAR DIR SIZE...) sets OUT_VAR to the
# files, DIR/<size>x<size>/ravolin.png, in the order of the sizes.
find_program(RAVOLIN_RSVG_CONVERT rsvg-convert REQUIRED)

function(ravolin_icon_pngs out dir)
  set(svg ${PROJECT_SOURCE_DIR}/packaging/icons/ravolin.svg)
  set(pngs "")
  foreach(size ${ARGN})
    set(png ${dir}/${size}x${size}/ravolin.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/${size}x${size}
      COMMAND ${RAVOLIN_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${svg}
      DEPENDS ${svg}
      VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  set(${out} ${pngs} PARENT_SCOPE)
endfunction()
