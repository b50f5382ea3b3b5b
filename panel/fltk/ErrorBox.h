#pragma once
// The modal error box: an error icon, the message, and an OK button. It
// returns when the user closes it. While it is open the rest of the program's
// windows take no input, but timers and other events keep being served.

#include <string>

void ShowErrorBox(const std::string& title, const std::string& text);
