#pragma once
// A text box that only displays: it takes no focus, no keys and no mouse,
// yet draws its text in the normal colours so that it stays readable. The
// maximum length limits typing only; the program may show longer texts.

#include <FL/Fl_Output.H>

#include <string>

class DisplayEdit : public Fl_Output {
public:
  DisplayEdit(int x, int y, int w, int h) : Fl_Output(x, y, w, h) { clear_visible_focus(); }

  int handle(int) override { return 0; }

  std::string Text() const { return std::string(value(), std::size_t(size())); }
  void SetText(const std::string& text) { value(text.data(), int(text.size())); }
};
