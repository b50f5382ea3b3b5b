#pragma once
// Where the track bar's knob and ticks sit for each position, and which
// position a pointer over the track means. Plain arithmetic, so the layout
// can be checked without a display.

struct TrackGeometry {
  int left = 0;  // the track's area: left edge and width in pixels
  int width = 0;
  int knobWidth = 0;  // the knob's width along the track
  int minimum = 0;    // the range of positions
  int maximum = 9;

  // The knob's left edge and centre for a position (clamped to the range).
  int KnobLeft(int position) const;
  int KnobCentre(int position) const { return KnobLeft(position) + knobWidth / 2; }

  // The position whose knob centre lies nearest to x.
  int PositionAt(int x) const;

  // -1 when x lies left of the knob at position, +1 right of it, 0 on it.
  int SideOfKnob(int x, int position) const;

  int Clamp(int position) const;
};

// The knob width the slider draws for a track area of the given height:
// the smallest "nice" knob, half the height plus five.
int KnobWidthForHeight(int height);
