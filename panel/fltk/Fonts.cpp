#include "panel/fltk/Fonts.h"

#include <FL/Fl.H>

namespace panel_fonts {

void Register() {
  // The first letter of each name is the style: 'B' bold, ' ' plain.
  Fl::set_font(kDigits, "BArial");
  Fl::set_font(kWindow, " Liberation Sans");
  Fl::set_font(kStep, "BArial Black");
}

}  // namespace panel_fonts
