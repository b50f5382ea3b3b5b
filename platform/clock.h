#pragma once
// The local time of day as the user's locale writes it in its long time
// format (for example 14:05:09, or 2:05:09 PM).

#include <string>

namespace platform {

// Reads the locale's long time format (at start, and again after the system
// reported changed regional settings).
void LoadTimeFormat();
std::string LocalTimeText();

}  // namespace platform
