#include "panel/fltk/TextPanel.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

TextPanel::TextPanel(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) {
  box(FL_THIN_DOWN_BOX);
  align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  clear_visible_focus();
}

void TextPanel::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  redraw();
}

void TextPanel::draw() {
  draw_box();
  constexpr int kPadding = 2;
  const int ix = x() + Fl::box_dx(box()) + kPadding;
  const int iy = y() + Fl::box_dy(box());
  const int iw = w() - Fl::box_dw(box()) - 2 * kPadding;
  const int ih = h() - Fl::box_dh(box());
  fl_push_clip(ix, iy, iw, ih);
  fl_font(labelfont(), labelsize());
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  // Draw by length: a text may hold any byte, a NUL included.
  const int baseline = iy + (ih - fl_height()) / 2 + fl_height() - fl_descent();
  fl_draw(text_.data(), int(text_.size()), ix, baseline);
  fl_pop_clip();
}
