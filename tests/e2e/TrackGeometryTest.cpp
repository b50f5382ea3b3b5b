#include "panel/fltk/TrackGeometry.h"

#include <gtest/gtest.h>

namespace {

// The panel's track bar: 193 pixels wide at left 8, an 18-pixel track.
TrackGeometry PanelTrack() {
  TrackGeometry g;
  g.left = 8;
  g.width = 193;
  g.knobWidth = KnobWidthForHeight(18);
  g.minimum = 0;
  g.maximum = 9;
  return g;
}

TEST(TrackGeometry, KnobsSpanTheTrackEvenlyAndStayInside) {
  const TrackGeometry g = PanelTrack();
  EXPECT_EQ(g.KnobLeft(0), g.left);
  EXPECT_EQ(g.KnobLeft(9) + g.knobWidth, g.left + g.width);
  for (int p = 1; p <= 9; ++p) {
    const int gap = g.KnobCentre(p) - g.KnobCentre(p - 1);
    EXPECT_GE(gap, 19) << p;  // (193 - 14) / 9 = 19.9 pixels per step
    EXPECT_LE(gap, 20) << p;
  }
  EXPECT_EQ(g.KnobLeft(-3), g.KnobLeft(0));
  EXPECT_EQ(g.KnobLeft(42), g.KnobLeft(9));
}

TEST(TrackGeometry, PointerMapsBackToTheNearestPosition) {
  const TrackGeometry g = PanelTrack();
  for (int p = 0; p <= 9; ++p) {
    EXPECT_EQ(g.PositionAt(g.KnobCentre(p)), p);
    EXPECT_EQ(g.PositionAt(g.KnobCentre(p) - 9), p);
    EXPECT_EQ(g.PositionAt(g.KnobCentre(p) + 9), p);
  }
  EXPECT_EQ(g.PositionAt(-500), 0);
  EXPECT_EQ(g.PositionAt(g.left), 0);
  EXPECT_EQ(g.PositionAt(g.left + g.width + 500), 9);
}

TEST(TrackGeometry, SideOfKnob) {
  const TrackGeometry g = PanelTrack();
  const int left = g.KnobLeft(4);
  EXPECT_EQ(g.SideOfKnob(left - 1, 4), -1);
  EXPECT_EQ(g.SideOfKnob(left, 4), 0);
  EXPECT_EQ(g.SideOfKnob(left + g.knobWidth - 1, 4), 0);
  EXPECT_EQ(g.SideOfKnob(left + g.knobWidth, 4), 1);
}

TEST(TrackGeometry, EmptyRangeOrNoTravelDoesNotDivideByZero) {
  TrackGeometry g = PanelTrack();
  g.maximum = g.minimum;
  EXPECT_EQ(g.KnobLeft(5), g.left);
  EXPECT_EQ(g.PositionAt(100), g.minimum);
  g = PanelTrack();
  g.width = g.knobWidth;
  EXPECT_EQ(g.PositionAt(100), 0);
}

}  // namespace
