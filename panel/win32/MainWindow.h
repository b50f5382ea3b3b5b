#pragma once
// The front panel as a native window: standard EDIT and BUTTON controls, the
// common controls' track bar and status bar, tooltips for the step buttons'
// hints, all at the places panel/FormLayout.h gives. The window only shows
// and collects input; what a click means is decided elsewhere.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "panel/FormLayout.h"

class MainWindow {
public:
  // Creates the window hidden, with every control; throws on failure.
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  void Show();
  HWND Handle() const { return window_; }

  std::string Edit1Text() const;
  void SetEdit1Text(const std::string& text);
  std::string Edit2Text() const;
  void SetEdit2Text(const std::string& text);
  std::string PanelText(int index) const;
  void SetPanelText(int index, const std::string& text);
  int TrackBarPosition() const;
  void MoveTrackBar(int position);  // no scroll notification

  // A key meant for the window or one of its controls (WM_KEYDOWN, WM_CHAR):
  // the digits, "," and ".", Enter, "+" and "-" press their button through
  // OnButtonClick, as a click does. True when the key was taken; Tab, the
  // track bar's arrows and every other key are left to the controls.
  bool PressButtonForKey(unsigned message, std::uintptr_t key);

  // Called with the button's number (4 to 21) on every click.
  std::function<void(int number)> OnButtonClick;
  // Called with the position on every scroll notification of the track bar.
  std::function<void(int position)> OnTrackBarScroll;
  // Called when the user closes the window.
  std::function<void()> OnClose;

private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  HWND Child(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y, int w, int h, int id);
  void AddHint(HWND control, const char* utf8Text);

  HWND window_ = nullptr;
  HWND edit1_ = nullptr;
  HWND edit2_ = nullptr;
  HWND trackBar_ = nullptr;
  HWND statusBar_ = nullptr;
  HWND tooltips_ = nullptr;
  HFONT windowFont_ = nullptr;
  HFONT digitsFont_ = nullptr;
  HFONT stepFont_ = nullptr;
  std::string panels_[form_layout::kPanelCount];
};
