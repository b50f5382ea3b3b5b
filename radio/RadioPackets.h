#pragma once
// The four packets the panel sends to the radio, built from the panel state
// of the moment and passed through the link one exchange at a time. None of
// the senders looks at the exchange's result or reports anything. While the
// radio is away (RadioPresence.h) their packets are dropped.

#include <cstdint>
#include <string>

// Tunes the radio to a frequency given in whole kilohertz: the frequency
// packet, then the mode packet, then EntryCount back to 0. A text that is not
// an integer sends nothing and leaves EntryCount alone.
void SendFrequency(const std::string& frequencyText);

// Sends the ARX packet for the current ArxOn.
void SendArx();

// Sends the tenths packet for a track-bar position (its low 8 bits).
void SendTenths(std::int32_t position);
