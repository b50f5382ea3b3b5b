#include "panel/fltk/StatusBar.h"

StatusBar::StatusBar(int x, int y, int w, int h, const std::vector<int>& panelWidths) : Fl_Group(x, y, w, h) {
  box(FL_FLAT_BOX);
  int left = x;
  for (int width : panelWidths) {
    panels_.push_back(new TextPanel(left, y + 1, width - 2, h - 1));
    left += width;
  }
  end();
}

TextPanel* StatusBar::Panel(int index) const {
  if (index < 0 || index >= PanelCount()) return nullptr;
  return panels_[std::size_t(index)];
}

std::string StatusBar::PanelText(int index) const {
  const TextPanel* panel = Panel(index);
  return panel ? panel->Text() : std::string();
}

void StatusBar::SetPanelText(int index, const std::string& text) {
  if (TextPanel* panel = Panel(index)) panel->SetText(text);
}

void StatusBar::SetFont(Fl_Font font, Fl_Fontsize size) {
  for (TextPanel* panel : panels_) {
    panel->labelfont(font);
    panel->labelsize(size);
  }
}
