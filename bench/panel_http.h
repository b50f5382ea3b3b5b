#pragma once
// The HTTP component set up as the panel sets up its own: body to a file,
// header into the component's text, no report messages. The panel's fetch
// time-out is left out, so that the benchmarks keep the component's own.

#include <string>

#include "http/NMHttp.h"

namespace bench {

void SetUpAsPanel(TNMHTTP& http, const std::string& bodyFile);

}  // namespace bench
