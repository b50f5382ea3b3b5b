#include "panel/fltk/MainWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <cstdint>
#include <iterator>
#include <vector>

#include "panel/FormLayout.h"
#include "panel/fltk/Fonts.h"

namespace {

using namespace form_layout;

DisplayEdit* MakeDigitsEdit(int x, int y, int w, int h, const char* text, int maximumLength) {
  auto* edit = new DisplayEdit(x, y, w, h);
  edit->textfont(panel_fonts::kDigits);
  edit->textsize(panel_fonts::kDigitsSize);
  edit->maximum_size(maximumLength);
  edit->SetText(text);
  return edit;
}

}  // namespace

MainWindow::MainWindow() : Fl_Double_Window(kLeft, kTop, kClientWidth, kClientHeight, kCaption) {
  labelfont(panel_fonts::kWindow);
  labelsize(panel_fonts::kWindowSize);

  // Children are created in tab order; the track bar comes first.
  trackBar1_ = new TrackBar(kTrackBar.x, kTrackBar.y, kTrackBar.w, kTrackBar.h, panel::kTrackMin, panel::kTrackMax);
  trackBar1_->SetLineSize(kTrackLineSize);
  trackBar1_->SetPageSize(kTrackPageSize);

  edit1_ = MakeDigitsEdit(kEdit1.x, kEdit1.y, kEdit1.w, kEdit1.h, kEdit1Text, kEdit1MaxLength);
  edit2_ = MakeDigitsEdit(kEdit2.x, kEdit2.y, kEdit2.w, kEdit2.h, kEdit2Text, kEdit2MaxLength);

  for (const ButtonLayout& b : kButtons) {
    auto* button = new Fl_Button(b.box.x, b.box.y, b.box.w, b.box.h, b.caption);
    button->labelfont(panel_fonts::kWindow);
    button->labelsize(panel_fonts::kWindowSize);
    button->callback(ButtonCallback, reinterpret_cast<void*>(std::intptr_t(b.number)));
    if (b.hint) button->tooltip(b.hint);
    buttons_[b.number - kFirstButton] = button;
  }
  for (int number : {20, 21}) {
    Button(number)->labelfont(panel_fonts::kStep);
    Button(number)->labelsize(panel_fonts::kStepSize);
  }

  statusBar1_ = new StatusBar(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight,
                              std::vector<int>(std::begin(kPanelWidths), std::end(kPanelWidths)));
  statusBar1_->SetFont(panel_fonts::kWindow, panel_fonts::kWindowSize);
  statusBar1_->SetPanelText(panel::kModePanel, panel::kStartModeText);
  statusBar1_->SetPanelText(panel::kStreamPanel, panel::kStreamText);

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
