#pragma once
// The panel's window operations on the native window.

#include "panel/PanelView.h"
#include "panel/Timer1.h"
#include "panel/win32/MainWindow.h"

class Win32PanelView : public PanelView {
public:
  // Timer1 runs from this moment on; the window must outlive the view.
  explicit Win32PanelView(MainWindow& window) : window_(window) {}

  std::string Edit1Text() const override { return window_.Edit1Text(); }
  void SetEdit1Text(const std::string& text) override { window_.SetEdit1Text(text); }
  std::string Edit2Text() const override { return window_.Edit2Text(); }
  void SetEdit2Text(const std::string& text) override { window_.SetEdit2Text(text); }

  std::string PanelText(int index) const override { return window_.PanelText(index); }
  void SetPanelText(int index, const std::string& text) override { window_.SetPanelText(index, text); }

  int TrackBarPosition() const override { return window_.TrackBarPosition(); }
  void MoveTrackBar(int position) override { window_.MoveTrackBar(position); }

  bool Timer1Enabled() const override { return timer1_.Enabled(); }
  void SetTimer1Enabled(bool enabled) override { timer1_.SetEnabled(enabled); }

  // MessageBoxA with the error icon, owned by the panel so that it is modal.
  void ShowErrorBox(const std::string& title, const std::string& text) override {
    MessageBoxA(window_.Handle(), text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  }

  ::Timer1& Timer1() { return timer1_; }

private:
  MainWindow& window_;
  ::Timer1 timer1_;
};
