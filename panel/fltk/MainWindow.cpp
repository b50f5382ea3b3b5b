#include "panel/fltk/MainWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <cstdint>

#include "panel/fltk/Fonts.h"

namespace {

constexpr int kClientWidth = 409;
constexpr int kClientHeight = 157;
constexpr int kLeft = 289;
constexpr int kTop = 157;
constexpr int kStatusHeight = 19;

struct ButtonLayout {
  int number;
  const char* caption;
  int x, y, w, h;
};

// In tab order, after the track bar.
constexpr ButtonLayout kButtons[] = {
    {4, "1", 248, 16, 33, 25},   {5, "2", 280, 16, 33, 25},  {6, "3", 312, 16, 33, 25},
    {7, "4", 248, 40, 33, 25},   {8, "5", 280, 40, 33, 25},  {9, "6", 312, 40, 33, 25},
    {10, "7", 248, 64, 33, 25},  {11, "8", 280, 64, 33, 25}, {12, "9", 312, 64, 33, 25},
    {13, ",", 248, 88, 33, 25},  {14, "0", 280, 88, 33, 25}, {15, "SET", 312, 88, 33, 25},
    {16, "AM", 360, 16, 33, 25}, {17, "SSB", 360, 40, 33, 25}, {18, "ARX", 360, 64, 33, 25},
    {19, "STR", 360, 88, 33, 25}, {20, "+", 208, 16, 33, 41}, {21, "-", 208, 72, 33, 41},
};

const char* const kHintUp = "Частота вверх";    // frequency up
const char* const kHintDown = "Частота вниз";  // frequency down

DisplayEdit* MakeDigitsEdit(int x, int y, int w, int h, const char* text, int maximumLength) {
  auto* edit = new DisplayEdit(x, y, w, h);
  edit->textfont(panel_fonts::kDigits);
  edit->textsize(panel_fonts::kDigitsSize);
  edit->maximum_size(maximumLength);
  edit->SetText(text);
  return edit;
}

}  // namespace

MainWindow::MainWindow() : Fl_Double_Window(kLeft, kTop, kClientWidth, kClientHeight, "Ravolin 3.0") {
  labelfont(panel_fonts::kWindow);
  labelsize(panel_fonts::kWindowSize);

  // Children are created in tab order; the track bar comes first.
  trackBar1_ = new TrackBar(8, 88, 193, 25, 0, 9);
  trackBar1_->SetLineSize(1);
  trackBar1_->SetPageSize(2);

  edit1_ = MakeDigitsEdit(16, 16, 145, 64, "7050", 5);
  edit2_ = MakeDigitsEdit(160, 16, 33, 64, "0", 1);

  for (const ButtonLayout& b : kButtons) {
    auto* button = new Fl_Button(b.x, b.y, b.w, b.h, b.caption);
    button->labelfont(panel_fonts::kWindow);
    button->labelsize(panel_fonts::kWindowSize);
    button->callback(ButtonCallback, reinterpret_cast<void*>(std::intptr_t(b.number)));
    buttons_[b.number - kFirstButton] = button;
  }
  for (int number : {20, 21}) {
    Button(number)->labelfont(panel_fonts::kStep);
    Button(number)->labelsize(panel_fonts::kStepSize);
  }
  Button(20)->tooltip(kHintUp);
  Button(21)->tooltip(kHintDown);

  statusBar1_ = new StatusBar(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight, {100, 80, 50, 50, 50, 40});
  statusBar1_->SetFont(panel_fonts::kWindow, panel_fonts::kWindowSize);
  statusBar1_->SetPanelText(2, "SSB");
  statusBar1_->SetPanelText(4, "Stream");

  end();
  // A dialog frame: the size is fixed.
  size_range(kClientWidth, kClientHeight, kClientWidth, kClientHeight);
  callback(WindowCallback);

  Fl_Tooltip::font(panel_fonts::kWindow);
  Fl_Tooltip::size(panel_fonts::kWindowSize);
  Fl_Tooltip::delay(0.5f);
}

Fl_Button* MainWindow::Button(int number) const {
  if (number < kFirstButton || number > kLastButton) return nullptr;
  return buttons_[number - kFirstButton];
}

void MainWindow::ButtonCallback(Fl_Widget* button, void* number) {
  auto* window = static_cast<MainWindow*>(button->window());
  if (window && window->OnButtonClick) window->OnButtonClick(int(reinterpret_cast<std::intptr_t>(number)));
}

void MainWindow::WindowCallback(Fl_Widget* widget, void*) {
  // Escape closes a toolkit window by default; the panel has no Cancel
  // button, so Escape does nothing here.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  auto* window = static_cast<MainWindow*>(widget);
  window->hide();
  if (window->OnClose) window->OnClose();
}
