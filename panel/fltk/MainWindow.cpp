#include "panel/fltk/MainWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <cstdint>
#include <iterator>
#include <vector>

#include "panel/FormLayout.h"
#include "panel/KeyButtons.h"
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

// The character a key event stands for. Keypad keys count by their key
// code, so that they work with NumLock off too; other keys by the text they
// type, so "+" is found on any keyboard layout.
char KeyCharacter() {
  const int key = Fl::event_key();
  if (key == FL_Enter || key == FL_KP_Enter) return '\r';
  if (key >= FL_KP && key <= FL_KP_Last) return char(key - FL_KP);
  return Fl::event_length() == 1 ? Fl::event_text()[0] : '\0';
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

int MainWindow::handle(int event) {
  // A key reaches the window when the focused control did not take it: the
  // track bar keeps its arrow keys, a button its space bar. FL_SHORTCUT
  // comes when no control has the focus.
  if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && PressButtonForKey()) return 1;
  return Fl_Double_Window::handle(event);
}

bool MainWindow::PressButtonForKey() {
  if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) return false;  // leave the shortcuts alone
  // While the error box is up the panel takes no input: a shortcut the box
  // did not want can still be offered to the window under the pointer.
  if (Fl::modal() != nullptr && Fl::modal() != this) return false;
  Fl_Button* button = Button(key_buttons::ButtonForKey(KeyCharacter()));
  if (button == nullptr || !button->active()) return false;
  button->do_callback();
  return true;
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
