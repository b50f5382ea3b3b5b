#pragma once
// The files of the follow mode, by the names the follow code uses; stated in
// panel/PanelConstants.h.

#include "panel/PanelConstants.h"

using panel::kFollowFile;
using panel::kHostFile;
