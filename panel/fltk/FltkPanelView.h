#pragma once
// The panel's window operations on the real window: texts of the display
// boxes and status panels, the track bar's position, Timer1, the error box.

#include "panel/PanelView.h"
#include "panel/Timer1.h"
#include "panel/fltk/MainWindow.h"

class FltkPanelView : public PanelView {
public:
  // Timer1 runs from this moment on (1000 ms); the window must outlive the view.
  explicit FltkPanelView(MainWindow& window);

  std::string Edit1Text() const override;
  void SetEdit1Text(const std::string& text) override;
  std::string Edit2Text() const override;
  void SetEdit2Text(const std::string& text) override;

  std::string PanelText(int index) const override;
  void SetPanelText(int index, const std::string& text) override;

  int TrackBarPosition() const override;
  void MoveTrackBar(int position) override;

  bool Timer1Enabled() const override;
  void SetTimer1Enabled(bool enabled) override;

  void ShowErrorBox(const std::string& title, const std::string& text) override;

  ::Timer1& Timer1() { return timer1_; }

private:
  MainWindow& window_;
  ::Timer1 timer1_;
};
