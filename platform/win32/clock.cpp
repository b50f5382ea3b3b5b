// The time of day in the user's long time format, read from the locale
// settings (LOCALE_STIMEFORMAT).

#include <windows.h>

#include <string>

#include "platform/clock.h"

namespace platform {
namespace {

std::string timeFormat;  // empty: not read yet, or the locale gave none

}  // namespace

void LoadTimeFormat() {
  char format[128];
  int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, format, sizeof format);
  timeFormat = length > 0 ? std::string(format) : std::string();
}

std::string LocalTimeText() {
  if (timeFormat.empty()) LoadTimeFormat();
  char text[128];
  int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, timeFormat.empty() ? nullptr : timeFormat.c_str(), text,
                              sizeof text);
  return length > 0 ? std::string(text) : std::string();
}

}  // namespace platform
