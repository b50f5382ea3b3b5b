#include "panel/PanelState.h"

std::int32_t EntryCount = 0;
std::int32_t ModeIsSsb = 1;
std::int32_t ArxOn = 0;
std::string HostUrl;

void ResetPanelState() {
  EntryCount = 0;
  ModeIsSsb = 1;
  ArxOn = 0;
  HostUrl.clear();
}
