#pragma once
// What a benchmark reports about its own process: open descriptors,
// resident memory and processor time, read from /proc and getrusage.

namespace bench {

// Entries in /proc/self/fd, not counting the one used to list them.
int OpenDescriptors();
// Resident set size now, in KiB.
long ResidentKiB();
// Largest resident set so far, in KiB.
long PeakResidentKiB();
// User plus system time of this process, in seconds.
double CpuSeconds();

}  // namespace bench
