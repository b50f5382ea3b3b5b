#pragma once
// Waiting for this process's open file descriptors (bench::OpenDescriptors)
// to come back to a baseline, to show that a failed exchange leaves none
// behind.

namespace stresstest {

// Waits (with a deadline) until the count is back at baseline; a socket or
// lookup that is still being closed on another thread gets the time to
// finish. Returns the last count.
int SettledOpenFileCount(int baseline);

}  // namespace stresstest
