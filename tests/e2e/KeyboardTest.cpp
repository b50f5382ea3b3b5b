// Keys that work the panel's buttons, sent to the window as synthetic
// events without a display: which button each key presses, on the main row
// and the keypad, and the keys that must press nothing.

#include <FL/Fl.H>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/fltk/MainWindow.h"

namespace {

struct Key {
  int keysym;
  const char* text;  // what the key types, as the toolkit reports it
  int state = 0;
};

class WindowKeys : public ::testing::Test {
protected:
  void SetUp() override {
    window.OnButtonClick = [this](int number) { pressed.push_back(number); };
  }

  // The buttons one key event pressed, as a keystroke and as a shortcut
  // (the second comes when no control has the focus).
  std::vector<int> Press(const Key& key) {
    std::vector<int> both;
    for (int event : {FL_KEYBOARD, FL_SHORTCUT}) {
      pressed.clear();
      Fl::e_keysym = key.keysym;
      Fl::e_text = const_cast<char*>(key.text);
      Fl::e_length = int(std::string(key.text).size());
      Fl::e_state = key.state;
      window.handle(event);
      both.insert(both.end(), pressed.begin(), pressed.end());
    }
    return both;
  }

  MainWindow window;
  std::vector<int> pressed;
};

TEST_F(WindowKeys, DigitsOnTheMainRowAndTheKeypadPressTheDigitButtons) {
  const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  const int buttons[] = {14, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // "0" is Button14, "1".."9" Button4..12
  for (int d = 0; d <= 9; ++d) {
    SCOPED_TRACE(digits[d]);
    EXPECT_EQ(Press({'0' + d, digits[d]}), (std::vector<int>{buttons[d], buttons[d]}));
    EXPECT_EQ(Press({FL_KP + '0' + d, digits[d]}), (std::vector<int>{buttons[d], buttons[d]}));
    // The keypad with NumLock off types nothing, and still counts.
    EXPECT_EQ(Press({FL_KP + '0' + d, ""}), (std::vector<int>{buttons[d], buttons[d]}));
  }
}

TEST_F(WindowKeys, CommaPointEnterPlusAndMinusPressTheirButtons) {
  const std::vector<std::pair<Key, int>> cases = {
      {{',', ","}, 13},           {{'.', "."}, 13},
      {{FL_KP + '.', "."}, 13},   {{FL_KP + ',', ","}, 13},  // the keypad's decimal key, either way
      {{FL_Enter, "\r"}, 15},     {{FL_KP_Enter, "\r"}, 15},
      {{'=', "+", FL_SHIFT}, 20},  // "+" is a shifted key on many layouts
      {{FL_KP + '+', "+"}, 20},   {{'-', "-"}, 21},
      {{FL_KP + '-', "-"}, 21},
  };
  for (const auto& [key, button] : cases) {
    SCOPED_TRACE(std::string(key.text) + " " + std::to_string(key.keysym));
    EXPECT_EQ(Press(key), (std::vector<int>{button, button}));
  }
}

TEST_F(WindowKeys, OtherKeysAndShortcutsPressNothing) {
  const Key keys[] = {
      {'a', "a"},
      {' ', " "},
      {FL_KP + '*', "*"},
      {FL_KP + '/', "/"},
      {FL_Escape, "\x1b"},
      {FL_Tab, "\t"},
      {FL_Right, ""},
      {FL_F + 1, ""},
      {'7', "7", FL_CTRL},
      {'7', "7", FL_ALT},
      {FL_Enter, "\r", FL_META},
      {'=', "+", FL_SHIFT | FL_CTRL},
  };
  for (const Key& key : keys) {
    SCOPED_TRACE(std::to_string(key.keysym) + " state " + std::to_string(key.state));
    EXPECT_TRUE(Press(key).empty());
  }
}

}  // namespace
