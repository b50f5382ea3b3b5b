// The locale's long time format, read through LC_TIME only (the rest of the
// program keeps the "C" conventions for numbers and text), reduced to what the
// panel shows: hour with or without a leading zero, the separator, and the
// AM/PM designator on a 12-hour clock, before or after the time.

#include "platform/clock.h"
#include "platform/posix/time_text.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

namespace platform {
namespace {

struct TimeFormat {
  bool leadingZero = true;
  bool twelveHour = false;
  bool designatorFirst = false;
  std::string separator = ":";
  std::string am, pm;
};

std::mutex formatMutex;
TimeFormat format;
bool loaded = false;

// Expands the composite conversions so that the pattern's parts can be read.
std::string Expand(std::string pattern) {
  for (int round = 0; round < 3; ++round) {
    std::string out;
    bool changed = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      if (pattern[i] != '%' || i + 1 == pattern.size()) {
        out += pattern[i];
        continue;
      }
      const char c = pattern[++i];
      if (c == 'T') {
        out += "%H:%M:%S";
        changed = true;
      } else if (c == 'r') {
        const char* ampm = nl_langinfo(T_FMT_AMPM);
        out += ampm && *ampm ? ampm : "%I:%M:%S %p";
        changed = true;
      } else if (c == 'R') {
        out += "%H:%M";
        changed = true;
      } else {
        out += '%';
        out += c;
      }
    }
    pattern = out;
    if (!changed) break;
  }
  return pattern;
}

// Reads the pattern: the first hour conversion, the text between it and the
// minutes, and where %p stands relative to the hour.
TimeFormat Parse(const std::string& pattern) {
  TimeFormat f;
  std::size_t hourAt = std::string::npos, minuteAt = std::string::npos, designatorAt = std::string::npos;
  bool hourSeen = false;
  for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    std::size_t conv = i + 1;
    while (conv < pattern.size() && (pattern[conv] == '-' || pattern[conv] == '_' || pattern[conv] == '0' ||
                                     pattern[conv] == 'E' || pattern[conv] == 'O'))
      ++conv;
    if (conv >= pattern.size()) break;
    const char c = pattern[conv];
    const bool noPad = conv > i + 1 && (pattern[i + 1] == '-' || pattern[i + 1] == '_');
    if (!hourSeen && (c == 'H' || c == 'I' || c == 'k' || c == 'l')) {
      hourSeen = true;
      hourAt = conv + 1;
      f.twelveHour = c == 'I' || c == 'l';
      f.leadingZero = (c == 'H' || c == 'I') && !noPad;
    } else if (hourSeen && minuteAt == std::string::npos && c == 'M') {
      minuteAt = i;
    } else if ((c == 'p' || c == 'P') && designatorAt == std::string::npos) {
      designatorAt = i;
      f.twelveHour = f.twelveHour || !hourSeen;  // a designator implies the 12-hour clock
    }
    i = conv;
  }
  if (hourAt != std::string::npos && minuteAt != std::string::npos && minuteAt >= hourAt)
    f.separator = pattern.substr(hourAt, minuteAt - hourAt);
  if (f.separator.empty()) f.separator = ":";
  f.designatorFirst = designatorAt != std::string::npos && hourAt != std::string::npos && designatorAt < hourAt;
  return f;
}

}  // namespace

void LoadTimeFormat() {
  std::setlocale(LC_TIME, "");
  const char* pattern = nl_langinfo(T_FMT);
  TimeFormat f = Parse(Expand(pattern ? pattern : "%H:%M:%S"));
  if (f.twelveHour) {
    f.am = nl_langinfo(AM_STR);
    f.pm = nl_langinfo(PM_STR);
  }
  std::lock_guard lock(formatMutex);
  format = std::move(f);
  loaded = true;
}

std::string LocalTimeText() {
  bool needLoad;
  {
    std::lock_guard lock(formatMutex);
    needLoad = !loaded;
  }
  if (needLoad) LoadTimeFormat();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatTimeOfDay(local);
}

std::string FormatTimeOfDay(const std::tm& local) {
  TimeFormat f;
  {
    std::lock_guard lock(formatMutex);
    f = format;
  }
  int hour = local.tm_hour;
  if (f.twelveHour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  char digits[32];
  std::snprintf(digits, sizeof digits, f.leadingZero ? "%02d" : "%d", hour);
  std::string text = digits;
  std::snprintf(digits, sizeof digits, "%02d", local.tm_min);
  text += f.separator + digits;
  std::snprintf(digits, sizeof digits, "%02d", local.tm_sec);
  text += f.separator + digits;
  if (f.twelveHour) {
    const std::string& designator = local.tm_hour < 12 ? f.am : f.pm;
    if (!designator.empty()) text = f.designatorFirst ? designator + " " + text : text + " " + designator;
  }
  return text;
}

}  // namespace platform
