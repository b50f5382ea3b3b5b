# FLTK and the X libraries under it, as one imported target, Fltk::fltk.
# The library and headers are found directly: the toolkit's own package file
# names tools that are not installed (fluid).
find_path(RAVOLIN_FLTK_INCLUDE_DIR FL/Fl.H REQUIRED)
find_library(RAVOLIN_FLTK_LIBRARY NAMES fltk REQUIRED)
find_package(X11 REQUIRED)

add_library(Fltk::fltk UNKNOWN IMPORTED)
set_target_properties(Fltk::fltk PROPERTIES
  IMPORTED_LOCATION ${RAVOLIN_FLTK_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${RAVOLIN_FLTK_INCLUDE_DIR}
  INTERFACE_LINK_LIBRARIES "${X11_LIBRARIES}"
)
