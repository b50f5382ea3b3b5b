#pragma once
// Runs the panel's follow mode without a display: the panel logic with a
// window double whose Timer1 is a real window timer (1000 ms) on the
// platform's message loop, following a server for a given time or number
// of ticks.

#include <string>

namespace bench {

struct FollowFigures {
  int ticks = 0;
  int notConnected = 0;  // ticks that ended with "Not connect" in panel 0
  int errorBoxes = 0;
  double wallSeconds = 0;
  double cpuSeconds = 0;
  int fdsFirst = 0;  // after the first tick
  int fdsLast = 0;   // after the last tick
  long rssFirstKiB = 0;
  long rssLastKiB = 0;
};

// Works in a fresh temporary folder (host.ini naming url, freq.ini written
// by the fetches), removed afterwards. The radio is whatever library the
// loader finds by name. Ends after seconds, or sooner after maxTicks ticks
// when that is above 0.
FollowFigures RunFollow(const std::string& url, int seconds, int maxTicks = 0);

}  // namespace bench
