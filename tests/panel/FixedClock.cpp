// The clock for builds without the platform layer: a fixed time text.
#include "platform/clock.h"

namespace platform {
void LoadTimeFormat() {}
std::string LocalTimeText() { return "12:00:00"; }
}  // namespace platform
