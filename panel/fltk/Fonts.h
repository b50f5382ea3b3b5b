#pragma once
// The panel's fonts, registered once before any window is built.

#include <FL/Enumerations.H>

namespace panel_fonts {

// "Arial" bold for the frequency digits (with fonts-liberation installed the
// metric-compatible Liberation Sans Bold is what the name resolves to).
constexpr Fl_Font kDigits = FL_FREE_FONT;
// A small sans-serif close to the classic dialog font, for everything else.
constexpr Fl_Font kWindow = FL_FREE_FONT + 1;
// "Arial Black" bold for the "+" and "-" buttons; falls back to a bold sans.
constexpr Fl_Font kStep = FL_FREE_FONT + 2;

constexpr Fl_Fontsize kDigitsSize = 48;
constexpr Fl_Fontsize kWindowSize = 11;
constexpr Fl_Fontsize kStepSize = 19;

void Register();

}  // namespace panel_fonts
