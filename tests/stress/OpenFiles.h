#pragma once
// Counting this process's open file descriptors, to show that a failed
// exchange leaves none behind.

namespace stresstest {

// Entries of /proc/self/fd, less the one the count itself opens.
int OpenFileCount();

// Waits (with a deadline) until the count is back at baseline; a socket or
// lookup that is still being closed on another thread gets the time to
// finish. Returns the last count.
int SettledOpenFileCount(int baseline);

}  // namespace stresstest
