// The window's controls, checked without a display: layout, captions,
// fonts, limits, tab order, and the track bar's scroll notifications driven
// by synthetic events.

#include <FL/Fl.H>
#include <FL/Fl_Button.H>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/fltk/Fonts.h"
#include "panel/fltk/MainWindow.h"

namespace {

struct Rect {
  int x, y, w, h;
};

void ExpectRect(const Fl_Widget* widget, Rect r, const std::string& name) {
  ASSERT_NE(widget, nullptr) << name;
  EXPECT_EQ(widget->x(), r.x) << name;
  EXPECT_EQ(widget->y(), r.y) << name;
  EXPECT_EQ(widget->w(), r.w) << name;
  EXPECT_EQ(widget->h(), r.h) << name;
}

TEST(MainWindowLayout, WindowAndDisplayBoxes) {
  MainWindow window;
  EXPECT_STREQ(window.label(), "Ravolin 3.0");
  ExpectRect(&window, {289, 157, 409, 157}, "window");

  ExpectRect(window.Edit1(), {16, 16, 145, 64}, "Edit1");
  ExpectRect(window.Edit2(), {160, 16, 33, 64}, "Edit2");
  EXPECT_EQ(window.Edit1()->Text(), "7050");
  EXPECT_EQ(window.Edit2()->Text(), "0");
  EXPECT_EQ(window.Edit1()->maximum_size(), 5);
  EXPECT_EQ(window.Edit2()->maximum_size(), 1);
  EXPECT_EQ(window.Edit1()->textfont(), panel_fonts::kDigits);
  EXPECT_EQ(window.Edit1()->textsize(), 48);
  EXPECT_EQ(window.Edit2()->textsize(), 48);

  // The limit is for typing only: the program's own texts may be longer.
  window.Edit1()->SetText("100000");
  EXPECT_EQ(window.Edit1()->Text(), "100000");
  window.Edit2()->SetText("12");
  EXPECT_EQ(window.Edit2()->Text(), "12");

  // Display only: no input, no focus.
  for (int event : {FL_PUSH, FL_FOCUS, FL_KEYBOARD, FL_PASTE}) {
    EXPECT_EQ(window.Edit1()->handle(event), 0) << event;
    EXPECT_EQ(window.Edit2()->handle(event), 0) << event;
  }
  EXPECT_TRUE(window.Edit1()->active());  // drawn in normal colours, readable
}

TEST(MainWindowLayout, ButtonsCaptionsAndHints) {
  MainWindow window;
  struct Expected {
    int number;
    const char* caption;
    Rect rect;
  };
  const std::vector<Expected> expected = {
      {4, "1", {248, 16, 33, 25}},    {5, "2", {280, 16, 33, 25}},    {6, "3", {312, 16, 33, 25}},
      {7, "4", {248, 40, 33, 25}},    {8, "5", {280, 40, 33, 25}},    {9, "6", {312, 40, 33, 25}},
      {10, "7", {248, 64, 33, 25}},   {11, "8", {280, 64, 33, 25}},   {12, "9", {312, 64, 33, 25}},
      {13, ",", {248, 88, 33, 25}},   {14, "0", {280, 88, 33, 25}},   {15, "SET", {312, 88, 33, 25}},
      {16, "AM", {360, 16, 33, 25}},  {17, "SSB", {360, 40, 33, 25}}, {18, "ARX", {360, 64, 33, 25}},
      {19, "STR", {360, 88, 33, 25}}, {20, "+", {208, 16, 33, 41}},   {21, "-", {208, 72, 33, 41}},
  };
  for (const Expected& e : expected) {
    const Fl_Button* button = window.Button(e.number);
    const std::string name = "Button" + std::to_string(e.number);
    ExpectRect(button, e.rect, name);
    EXPECT_STREQ(button->label(), e.caption) << name;
    const bool step = e.number >= 20;
    EXPECT_EQ(button->labelfont(), step ? panel_fonts::kStep : panel_fonts::kWindow) << name;
    EXPECT_EQ(button->labelsize(), step ? 19 : 11) << name;
    if (!step) {
      EXPECT_EQ(button->tooltip(), nullptr) << name;
    }
  }
  EXPECT_STREQ(window.Button(20)->tooltip(), "Частота вверх");
  EXPECT_STREQ(window.Button(21)->tooltip(), "Частота вниз");
  EXPECT_EQ(window.Button(3), nullptr);
  EXPECT_EQ(window.Button(22), nullptr);

  std::vector<int> clicked;
  window.OnButtonClick = [&](int number) { clicked.push_back(number); };
  window.Button(15)->do_callback();
  window.Button(4)->do_callback();
  EXPECT_EQ(clicked, (std::vector<int>{15, 4}));
}

TEST(MainWindowLayout, TrackBarComesFirstInTabOrder) {
  MainWindow window;
  ExpectRect(window.TrackBar1(), {8, 88, 193, 25}, "TrackBar1");
  EXPECT_EQ(window.TrackBar1()->Position(), 0);
  EXPECT_EQ(window.TrackBar1()->minimum(), 0);
  EXPECT_EQ(window.TrackBar1()->maximum(), 9);
  EXPECT_EQ(window.child(0), window.TrackBar1());
  EXPECT_TRUE(window.TrackBar1()->visible_focus());
  // The buttons follow, "1" first.
  int firstButton = -1;
  for (int i = 0; i < window.children(); ++i) {
    if (window.child(i) == window.Button(4)) firstButton = i;
  }
  EXPECT_GT(firstButton, 0);
}

TEST(MainWindowLayout, StatusBarPanels) {
  MainWindow window;
  StatusBar* bar = window.StatusBar1();
  ExpectRect(bar, {0, 138, 409, 19}, "StatusBar1");
  ASSERT_EQ(bar->PanelCount(), 6);
  const int widths[] = {100, 80, 50, 50, 50, 40};
  const char* initial[] = {"", "", "SSB", "", "Stream", ""};
  int left = 0;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(bar->Panel(i)->x(), left) << i;
    EXPECT_LE(bar->Panel(i)->w(), widths[i]) << i;
    EXPECT_GE(bar->Panel(i)->w(), widths[i] - 2) << i;
    EXPECT_EQ(bar->PanelText(i), initial[i]) << i;
    left += widths[i];
  }
  EXPECT_EQ(bar->PanelText(6), "");
  EXPECT_EQ(bar->PanelText(-1), "");
  bar->SetPanelText(6, "ignored");  // out of range: nothing happens
}

TEST(StatusBarPanel, SettingTheSameTextChangesNothing) {
  MainWindow window;
  TextPanel* panel = window.StatusBar1()->Panel(4);
  panel->clear_damage();
  window.StatusBar1()->SetPanelText(4, "Stream");
  EXPECT_EQ(panel->damage(), 0);
  window.StatusBar1()->SetPanelText(4, "");
  EXPECT_NE(panel->damage(), 0);
  EXPECT_EQ(panel->Text(), "");
  // Any byte is kept, a NUL and symbol characters included.
  const std::string odd("7050,5\0@&x", 10);
  window.StatusBar1()->SetPanelText(1, odd);
  EXPECT_EQ(window.StatusBar1()->PanelText(1), odd);
}

// Synthetic input for the track bar.
class TrackBarInput : public ::testing::Test {
protected:
  void SetUp() override {
    bar = window.TrackBar1();
    bar->OnScroll = [this](int position) { notified.push_back(position); };
  }

  int Key(int key) {
    Fl::e_keysym = key;
    return bar->handle(FL_KEYBOARD);
  }
  void Mouse(int event, int x) {
    Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
    Fl::e_x = x;
    Fl::e_y = bar->y() + 8;
    bar->handle(event);
  }
  int KnobCentre(int position) const { return bar->Geometry().KnobCentre(position); }

  MainWindow window;
  TrackBar* bar = nullptr;
  std::vector<int> notified;
};

TEST_F(TrackBarInput, KeysStepAndNotifyEvenAtTheEnds) {
  EXPECT_EQ(Key(FL_Left), 1);  // already at 0: still a notification
  EXPECT_EQ(Key(FL_Right), 1);
  EXPECT_EQ(Key(FL_Down), 1);
  EXPECT_EQ(Key(FL_Page_Down), 1);
  EXPECT_EQ(Key(FL_Page_Up), 1);
  EXPECT_EQ(Key(FL_Up), 1);
  EXPECT_EQ(Key(FL_End), 1);
  EXPECT_EQ(Key(FL_Page_Down), 1);
  EXPECT_EQ(Key(FL_Home), 1);
  EXPECT_EQ(notified, (std::vector<int>{0, 1, 2, 4, 2, 1, 9, 9, 0}));
  EXPECT_EQ(Key('a'), 0);  // other keys go elsewhere (shortcuts, navigation)
  EXPECT_EQ(notified.size(), 9u);
}

TEST_F(TrackBarInput, DragNotifiesEveryMovementAndTheEnd) {
  Mouse(FL_PUSH, KnobCentre(0));
  EXPECT_TRUE(notified.empty());  // grabbing the knob does not scroll yet
  Mouse(FL_DRAG, KnobCentre(3));
  Mouse(FL_DRAG, KnobCentre(3) + 2);    // same position again
  Mouse(FL_DRAG, KnobCentre(9) + 300);  // past the end
  Mouse(FL_DRAG, KnobCentre(5));
  Mouse(FL_RELEASE, KnobCentre(5));
  EXPECT_EQ(notified, (std::vector<int>{3, 3, 9, 5, 5}));
  EXPECT_EQ(bar->Position(), 5);
}

TEST_F(TrackBarInput, ClickOnTheChannelPagesTowardsThePointer) {
  bar->SetPosition(4);
  Mouse(FL_PUSH, KnobCentre(9));
  Mouse(FL_RELEASE, KnobCentre(9));
  Mouse(FL_PUSH, KnobCentre(0));
  Mouse(FL_RELEASE, KnobCentre(0));
  EXPECT_EQ(notified, (std::vector<int>{6, 4}));
  // A move after the release is no drag.
  Mouse(FL_DRAG, KnobCentre(8));
  EXPECT_EQ(notified.size(), 2u);
}

TEST_F(TrackBarInput, WheelStepsByOne) {
  bar->SetPosition(5);
  Fl::e_dy = 1;
  bar->handle(FL_MOUSEWHEEL);
  Fl::e_dy = -1;
  bar->handle(FL_MOUSEWHEEL);
  bar->handle(FL_MOUSEWHEEL);
  Fl::e_dy = 0;
  EXPECT_EQ(notified, (std::vector<int>{6, 5, 4}));
}

TEST_F(TrackBarInput, SettingThePositionNeverNotifies) {
  bar->SetPosition(7);
  bar->SetPosition(7);
  bar->SetPosition(12);
  EXPECT_EQ(bar->Position(), 9);
  bar->SetPosition(-1);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_TRUE(notified.empty());
}

}  // namespace
