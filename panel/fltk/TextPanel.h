#pragma once
// A sunken field that shows a text exactly as given: no label symbols, no
// shortcut underlines, clipped to the field. Setting the text it already
// shows changes nothing; a changed text is drawn at the next repaint.

#include <FL/Fl_Widget.H>

#include <string>

class TextPanel : public Fl_Widget {
public:
  TextPanel(int x, int y, int w, int h);

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);

protected:
  void draw() override;

private:
  std::string text_;
};
