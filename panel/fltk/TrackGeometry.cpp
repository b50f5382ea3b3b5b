#include "panel/fltk/TrackGeometry.h"

#include <algorithm>

int TrackGeometry::Clamp(int position) const { return std::clamp(position, minimum, maximum); }

int TrackGeometry::KnobLeft(int position) const {
  const int span = maximum - minimum;
  if (span <= 0) return left;
  const double fraction = double(Clamp(position) - minimum) / span;
  return left + int(fraction * (width - knobWidth) + .5);
}

int TrackGeometry::PositionAt(int x) const {
  const int span = maximum - minimum;
  const int travel = width - knobWidth;
  if (span <= 0 || travel <= 0) return minimum;
  const double fraction = double(x - left - knobWidth / 2) / travel;
  const int position = minimum + int(fraction * span + (fraction < 0 ? -.5 : .5));
  return Clamp(position);
}

int TrackGeometry::SideOfKnob(int x, int position) const {
  const int knob = KnobLeft(position);
  if (x < knob) return -1;
  if (x >= knob + knobWidth) return 1;
  return 0;
}

int KnobWidthForHeight(int height) { return height / 2 + 5; }
