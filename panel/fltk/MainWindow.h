#pragma once
// The front panel window: a fixed 409 x 157 client area captioned
// "Ravolin 3.0" with the frequency display, the keypad, the mode and step
// buttons, the tenths track bar and the six-panel status bar. The window only
// shows and collects input; what a click means is decided elsewhere. Keys
// that stand for a button (panel/KeyButtons.h) press it, through the same
// callback as a click.

#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>

#include <functional>

#include "panel/FormLayout.h"
#include "panel/fltk/DisplayEdit.h"
#include "panel/fltk/StatusBar.h"
#include "panel/fltk/TrackBar.h"

class MainWindow : public Fl_Double_Window {
public:
  MainWindow();

  DisplayEdit* Edit1() const { return edit1_; }
  DisplayEdit* Edit2() const { return edit2_; }
  TrackBar* TrackBar1() const { return trackBar1_; }
  StatusBar* StatusBar1() const { return statusBar1_; }
  // Button4 to Button21 by number; nullptr outside that range.
  Fl_Button* Button(int number) const;

  // Called with the button's number on every click.
  std::function<void(int number)> OnButtonClick;
  // Called when the user closes the window (not on Escape).
  std::function<void()> OnClose;

  int handle(int event) override;

private:
  bool PressButtonForKey();
  static void ButtonCallback(Fl_Widget* button, void* number);
  static void WindowCallback(Fl_Widget* window, void*);

  DisplayEdit* edit1_ = nullptr;
  DisplayEdit* edit2_ = nullptr;
  TrackBar* trackBar1_ = nullptr;
  StatusBar* statusBar1_ = nullptr;
  Fl_Button* buttons_[form_layout::kLastButton - form_layout::kFirstButton + 1] = {};
};
