#include "panel/fltk/ErrorBox.h"

#include <FL/Fl.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "panel/fltk/Fonts.h"
#include "platform/messages.h"

namespace {

// A red disc with a white cross.
class ErrorIcon : public Fl_Widget {
public:
  ErrorIcon(int x, int y, int size) : Fl_Widget(x, y, size, size) {}

protected:
  void draw() override {
    fl_color(FL_RED);
    fl_pie(x(), y(), w(), h(), 0, 360);
    fl_color(FL_DARK_RED);
    fl_arc(x(), y(), w(), h(), 0, 360);
    fl_color(FL_WHITE);
    fl_line_style(FL_SOLID | FL_CAP_ROUND, 3);
    const int inset = w() * 3 / 10;
    fl_line(x() + inset, y() + inset, x() + w() - inset, y() + h() - inset);
    fl_line(x() + w() - inset, y() + inset, x() + inset, y() + h() - inset);
    fl_line_style(0);
  }
};

// The message, wrapped to the box's width and drawn as given (no symbols).
class MessageText : public Fl_Widget {
public:
  MessageText(int x, int y, int w, int h, const std::string& text) : Fl_Widget(x, y, w, h), text_(text) {}

protected:
  void draw() override {
    fl_font(labelfont(), labelsize());
    fl_color(FL_FOREGROUND_COLOR);
    fl_draw(text_.c_str(), x(), y(), w(), h(), FL_ALIGN_LEFT | FL_ALIGN_WRAP | FL_ALIGN_INSIDE, nullptr, 0);
  }

private:
  std::string text_;
};

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kMinTextWidth = 120;
constexpr int kMaxTextWidth = 420;

}  // namespace

void ShowErrorBox(const std::string& title, const std::string& text) {
  fl_font(panel_fonts::kWindow, panel_fonts::kWindowSize);
  int textWidth = kMaxTextWidth;
  int textHeight = 0;
  fl_measure(text.c_str(), textWidth, textHeight, 0);
  if (textWidth > kMaxTextWidth) {
    textWidth = kMaxTextWidth;
    textHeight = 0;
    fl_measure(text.c_str(), textWidth, textHeight, 0);
  }
  textWidth = std::clamp(textWidth, kMinTextWidth, kMaxTextWidth);
  textHeight = std::max(textHeight, kIconSize);

  const int width = kMargin + kIconSize + kMargin + textWidth + kMargin;
  const int buttonTop = kMargin + textHeight + kMargin;
  const int height = buttonTop + kButtonHeight + kMargin;

  Fl_Window box(width, height);
  box.copy_label(title.c_str());
  new ErrorIcon(kMargin, kMargin, kIconSize);
  auto* message = new MessageText(kMargin + kIconSize + kMargin, kMargin, textWidth, textHeight, text);
  message->labelfont(panel_fonts::kWindow);
  message->labelsize(panel_fonts::kWindowSize);
  auto* ok = new Fl_Return_Button((width - kButtonWidth) / 2, buttonTop, kButtonWidth, kButtonHeight, "OK");
  ok->labelfont(panel_fonts::kWindow);
  ok->labelsize(panel_fonts::kWindowSize);
  ok->callback([](Fl_Widget* button, void*) { button->window()->hide(); });
  box.end();
  box.set_modal();

  // Centred on the screen the pointer is on.
  int sx, sy, sw, sh;
  Fl::screen_work_area(sx, sy, sw, sh);
  box.position(sx + (sw - width) / 2, sy + (sh - height) / 2);

  box.show();
  ok->take_focus();
  // The program's own loop keeps serving timers, sockets and posted
  // messages; the modal flag keeps input away from the other windows.
  while (box.shown()) platform::WaitAndProcessMessages();
}
