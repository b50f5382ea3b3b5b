#pragma once
// The keys that work the panel's buttons while its window has the focus:
// the digits press "0" to "9", "," and "." press ",", Enter presses SET, and
// "+" and "-" press the step buttons. Shared by the window backends, which
// turn their key events into these characters; header-only, like the
// layout, so that the widgets build without the panel's logic.

namespace key_buttons {

// The number of the button a key presses (Button4 to Button21), or 0 for a
// key that presses none. Enter is '\r'.
constexpr int ButtonForKey(char key) {
  if (key >= '1' && key <= '9') return 4 + (key - '1');  // Button4 to Button12
  switch (key) {
    case '0': return 14;
    case ',':
    case '.': return 13;   // ",": "." is the decimal key of most keypads
    case '\r': return 15;  // SET
    case '+': return 20;
    case '-': return 21;
    default: return 0;
  }
}

}  // namespace key_buttons
