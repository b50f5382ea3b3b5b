#pragma once
// The facts about the front panel that its logic, its windows, the
// benchmarks and the tests share, each stated once: the files it works
// with, its status panels and their texts, the track bar's range, Timer1.

namespace panel {

// The working folder's files: the follow server's URL on line 0 of the
// first; the fetched remote state in the second.
constexpr const char* kHostFile = "host.ini";
constexpr const char* kFollowFile = "freq.ini";

// The status bar's panels, left to right.
enum StatusPanel : int {
  kTimePanel = 0,       // time of the last fetch, or kNotConnected
  kFrequencyPanel = 1,  // remote frequency, "kHz,tenths"
  kModePanel = 2,       // remote mode, "AM" or "SSB"
  kArxPanel = 3,        // "ARX" when the remote ARX is on
  kStreamPanel = 4,     // kStreamText while the follow mode is on
  kRetunePanel = 5,     // time of the last retune from the remote state
};
constexpr int kStatusPanelCount = 6;

constexpr const char* kStreamText = "Stream";
constexpr const char* kStartModeText = "SSB";  // panel 2 at start
constexpr const char* kNotConnected = "Not connect";

// The tenths track bar.
constexpr int kTrackMin = 0;
constexpr int kTrackMax = 9;

// Timer1, the follow mode's timer, on a hidden window of this class.
constexpr unsigned kTimer1IntervalMs = 1000;
constexpr const char* kTimer1WindowClass = "RavolinWindowTimer";

}  // namespace panel
