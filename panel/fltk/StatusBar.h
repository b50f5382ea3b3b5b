#pragma once
// A status bar of text panels laid side by side from the left edge, each of
// a fixed width; the space right of the last panel stays empty.

#include <FL/Fl_Group.H>

#include <string>
#include <vector>

#include "panel/fltk/TextPanel.h"

class StatusBar : public Fl_Group {
public:
  StatusBar(int x, int y, int w, int h, const std::vector<int>& panelWidths);

  int PanelCount() const { return int(panels_.size()); }
  // Index out of range: empty text, and setting it does nothing.
  std::string PanelText(int index) const;
  void SetPanelText(int index, const std::string& text);
  TextPanel* Panel(int index) const;

  void SetFont(Fl_Font font, Fl_Fontsize size);

private:
  std::vector<TextPanel*> panels_;  // children, owned by the group
};
