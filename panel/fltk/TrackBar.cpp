#include "panel/fltk/TrackBar.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

namespace {
constexpr double kRepeatDelay = 0.5;  // seconds before a held click repeats
constexpr double kRepeatPeriod = 0.1;
constexpr int kTickLength = 4;
}  // namespace

TrackBar::TrackBar(int x, int y, int w, int h, int minimum, int maximum)
    : Fl_Slider(x, y, w, h), minimum_(minimum), maximum_(maximum) {
  type(FL_HOR_NICE_SLIDER);
  box(FL_FLAT_BOX);
  slider_size(0);
  bounds(minimum, maximum);
  step(1);
  Fl_Slider::value(minimum);
}

TrackBar::~TrackBar() { StopRepeat(); }

TrackGeometry TrackBar::Geometry() const {
  TrackGeometry g;
  g.left = x();
  g.width = w();
  g.knobWidth = KnobWidthForHeight(kTrackHeight);
  g.minimum = minimum_;
  g.maximum = maximum_;
  return g;
}

void TrackBar::SetPosition(int position) {
  position = Geometry().Clamp(position);
  if (position != Position()) {
    Fl_Slider::value(position);
    redraw();
  }
}

void TrackBar::Scroll(int position) {
  SetPosition(position);
  if (OnScroll) OnScroll(Position());
}

void TrackBar::draw() {
  // The control has no frame of its own: clear to the window's colour, then
  // the track and knob above, the ticks below.
  fl_color(color());
  fl_rectf(x(), y(), w(), h());
  Fl_Slider::draw(x(), y(), w(), kTrackHeight);

  const TrackGeometry g = Geometry();
  fl_color(FL_FOREGROUND_COLOR);
  const int top = y() + kTrackHeight + 1;
  for (int p = minimum_; p <= maximum_; ++p) {
    const int cx = g.KnobCentre(p);
    fl_yxline(cx, top, top + kTickLength - 1);
  }
  if (Fl::focus() == this) draw_focus(FL_FLAT_BOX, x(), y(), w(), kTrackHeight);
}

int TrackBar::HandleKey() {
  int target;
  switch (Fl::event_key()) {
    case FL_Left:
    case FL_Up: target = Position() - lineSize_; break;
    case FL_Right:
    case FL_Down: target = Position() + lineSize_; break;
    case FL_Page_Up: target = Position() - pageSize_; break;
    case FL_Page_Down: target = Position() + pageSize_; break;
    case FL_Home: target = minimum_; break;
    case FL_End: target = maximum_; break;
    default: return 0;
  }
  Scroll(target);
  return 1;
}

void TrackBar::PageTowards(int px) {
  const int side = Geometry().SideOfKnob(px, Position());
  if (side != 0) Scroll(Position() + side * pageSize_);
}

void TrackBar::RepeatPage(void* self) {
  auto* bar = static_cast<TrackBar*>(self);
  if (!bar->paging_) return;
  const int side = bar->Geometry().SideOfKnob(Fl::event_x(), bar->Position());
  const int position = bar->Position();
  const bool atEnd = (side < 0 && position == bar->minimum_) || (side > 0 && position == bar->maximum_);
  if (side == 0 || atEnd) return;  // the knob reached the pointer: stop repeating
  bar->PageTowards(Fl::event_x());
  Fl::repeat_timeout(kRepeatPeriod, RepeatPage, self);
}

void TrackBar::StopRepeat() {
  paging_ = false;
  Fl::remove_timeout(RepeatPage, this);
}

int TrackBar::HandlePush() {
  if (Fl::event_button() != FL_LEFT_MOUSE) return 1;
  // A click takes the keyboard focus, as it does on the buttons.
  if (Fl::visible_focus() && visible_focus() && window() && window()->shown()) Fl::focus(this);
  const TrackGeometry g = Geometry();
  const int px = Fl::event_x();
  if (g.SideOfKnob(px, Position()) == 0) {
    dragging_ = true;
    grabOffset_ = px - g.KnobCentre(Position());
    return 1;
  }
  paging_ = true;
  PageTowards(px);
  Fl::add_timeout(kRepeatDelay, RepeatPage, this);
  return 1;
}

int TrackBar::handle(int event) {
  switch (event) {
    case FL_PUSH: return HandlePush();
    case FL_DRAG:
      if (dragging_) Scroll(Geometry().PositionAt(Fl::event_x() - grabOffset_));
      return 1;
    case FL_RELEASE:
      if (dragging_) {
        dragging_ = false;
        Scroll(Position());  // the end of the drag
      }
      StopRepeat();
      return 1;
    case FL_KEYBOARD: return HandleKey();
    case FL_MOUSEWHEEL:
      if (Fl::event_dy() == 0) return 0;
      Scroll(Position() + (Fl::event_dy() > 0 ? lineSize_ : -lineSize_));
      return 1;
    case FL_FOCUS:
    case FL_UNFOCUS:
      if (!Fl::visible_focus()) return 0;
      redraw();
      return 1;
    case FL_ENTER:
    case FL_LEAVE: return 1;
    default: return Fl_Slider::handle(event);
  }
}
