#pragma once
// The window operations the panel logic needs, so the logic runs against the
// real window (panel/fltk/) or against a test double without a display. All
// calls are synchronous, on the user-interface thread. The view is plain
// storage and display: the rules around it (the track bar's clamping and
// change notification, the error box's title and text) live in TForm1.

#include <string>

class PanelView {
public:
  virtual ~PanelView() = default;

  // Edit1: the kilohertz digits; Edit2: the tenths digit.
  virtual std::string Edit1Text() const = 0;
  virtual void SetEdit1Text(const std::string& text) = 0;
  virtual std::string Edit2Text() const = 0;
  virtual void SetEdit2Text(const std::string& text) = 0;

  // Status bar panels 0 to 5. Setting the text a panel already holds
  // changes nothing.
  virtual std::string PanelText(int index) const = 0;
  virtual void SetPanelText(int index, const std::string& text) = 0;

  // The track bar's stored position, 0 to 9. MoveTrackBar stores and shows a
  // position without notifying anybody.
  virtual int TrackBarPosition() const = 0;
  virtual void MoveTrackBar(int position) = 0;

  // Timer1: while enabled the view runs TForm1::Timer1Timer every 1000 ms
  // through the message loop; ticks missed while busy are not queued up.
  virtual bool Timer1Enabled() const = 0;
  virtual void SetTimer1Enabled(bool enabled) = 0;

  // A modal box with an error icon and an OK button; returns when closed.
  virtual void ShowErrorBox(const std::string& title, const std::string& text) = 0;
};
