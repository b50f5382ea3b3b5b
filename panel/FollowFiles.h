#pragma once
// The files of the follow mode, in the working directory.

// Line 0: the URL of the station's file; empty: follow the local copy.
inline constexpr const char* kHostFile = "host.ini";
// The station's state, the body of the last good answer.
inline constexpr const char* kFollowFile = "freq.ini";
