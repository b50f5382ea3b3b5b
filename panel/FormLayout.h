#pragma once
// Where the front panel's controls sit and what they say, shared by the
// window backends (panel/fltk, panel/win32). Positions are client pixels:
// left, top, width, height.

#include <iterator>

#include "panel/PanelConstants.h"

namespace form_layout {

constexpr const char* kCaption = "Ravolin 3.0";
constexpr int kClientWidth = 409;
constexpr int kClientHeight = 157;
constexpr int kLeft = 289;
constexpr int kTop = 157;
constexpr int kStatusHeight = 19;

struct Box {
  int x, y, w, h;
};

constexpr Box kEdit1 = {16, 16, 145, 64};
constexpr const char* kEdit1Text = "7050";
constexpr int kEdit1MaxLength = 5;
constexpr Box kEdit2 = {160, 16, 33, 64};
constexpr const char* kEdit2Text = "0";
constexpr int kEdit2MaxLength = 1;

constexpr Box kTrackBar = {8, 88, 193, 25};
constexpr int kTrackLineSize = 1;
constexpr int kTrackPageSize = 2;

constexpr int kFirstButton = 4;  // Button4 ("1")
constexpr int kLastButton = 21;  // Button21 ("-")

// The step buttons' hints, UTF-8.
constexpr const char* kHintUp = "Частота вверх";   // frequency up
constexpr const char* kHintDown = "Частота вниз";  // frequency down

struct ButtonLayout {
  int number;
  const char* caption;
  Box box;
  const char* hint = nullptr;  // shown when the pointer rests on the button
};

// In tab order, after the track bar.
constexpr ButtonLayout kButtons[] = {
    {4, "1", {248, 16, 33, 25}},    {5, "2", {280, 16, 33, 25}},           {6, "3", {312, 16, 33, 25}},
    {7, "4", {248, 40, 33, 25}},    {8, "5", {280, 40, 33, 25}},           {9, "6", {312, 40, 33, 25}},
    {10, "7", {248, 64, 33, 25}},   {11, "8", {280, 64, 33, 25}},          {12, "9", {312, 64, 33, 25}},
    {13, ",", {248, 88, 33, 25}},   {14, "0", {280, 88, 33, 25}},          {15, "SET", {312, 88, 33, 25}},
    {16, "AM", {360, 16, 33, 25}},  {17, "SSB", {360, 40, 33, 25}},        {18, "ARX", {360, 64, 33, 25}},
    {19, "STR", {360, 88, 33, 25}}, {20, "+", {208, 16, 33, 41}, kHintUp}, {21, "-", {208, 72, 33, 41}, kHintDown},
};

constexpr int kPanelWidths[] = {100, 80, 50, 50, 50, 40};
constexpr int kPanelCount = int(std::size(kPanelWidths));
static_assert(kPanelCount == panel::kStatusPanelCount);

}  // namespace form_layout
