#pragma once
// Leaves a failure's reason where the platform's library looks for it: errno
// on Linux; on Windows also the thread's last error, in Windows numbering.

namespace sim {

void SetFailureReason(int posixError);

}  // namespace sim
