#pragma once
// A horizontal track bar with a tick at every position below the track.
// Every scroll notification the user causes -- each step by keyboard, wheel
// or a click on the channel, each movement of a drag and the end of a drag --
// stores the new position and calls OnScroll, also when the position did not
// change. Setting the position from the program never notifies.

#include <FL/Fl_Slider.H>

#include <functional>

#include "panel/fltk/TrackGeometry.h"

class TrackBar : public Fl_Slider {
public:
  TrackBar(int x, int y, int w, int h, int minimum, int maximum);
  ~TrackBar() override;

  int Position() const { return int(value()); }
  void SetPosition(int position);  // clamped; no notification

  void SetLineSize(int size) { lineSize_ = size; }
  void SetPageSize(int size) { pageSize_ = size; }

  std::function<void(int position)> OnScroll;

  // The layout of the track part (the upper part of the control).
  TrackGeometry Geometry() const;
  static constexpr int kTrackHeight = 18;

  int handle(int event) override;

protected:
  void draw() override;

private:
  void Scroll(int position);  // store and notify
  int HandleKey();
  int HandlePush();
  void PageTowards(int x);
  static void RepeatPage(void* self);
  void StopRepeat();

  int minimum_;
  int maximum_;
  int lineSize_ = 1;
  int pageSize_ = 2;
  bool dragging_ = false;  // the knob was grabbed
  bool paging_ = false;    // a button is held on the channel
  int grabOffset_ = 0;     // pointer x minus knob centre when grabbed
};
