#pragma once
// Panel state: program-wide values, one set per process, owned by the front
// panel and read and written by the packet senders and the follow step.

#include <cstdint>
#include <string>

extern std::int32_t EntryCount;  // keypad entry: 0 idle, 1..5 key positions used
extern std::int32_t ModeIsSsb;   // 0 AM, otherwise SSB; 1 at start
extern std::int32_t ArxOn;       // 0 off, otherwise on; 0 at start
extern std::string HostUrl;      // the follow server, read once at start

// Puts the panel state back to its start values (start-up and tests).
void ResetPanelState();
