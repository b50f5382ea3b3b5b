#pragma once
// The formatting step of LocalTimeText, for a given time of day, with the
// format last loaded by LoadTimeFormat.

#include <ctime>
#include <string>

namespace platform {

std::string FormatTimeOfDay(const std::tm& local);

}  // namespace platform
