#pragma once
// serve.ini, read once at start: line 0 the state feed's address, line 1 the
// rig-control port's. An empty line (blanks only) or no file leaves that
// server off; so does a line that does not parse, with one problem line.

#include <optional>
#include <string>
#include <vector>

#include "serve/ListenAddress.h"

struct ServeConfig {
  std::optional<ListenAddress> stateFeed;
  std::optional<ListenAddress> rigControl;
  // One line each, ready for stderr, naming the line and the server that
  // stays off because of it.
  std::vector<std::string> problems;
};

ServeConfig ReadServeConfig(const std::string& fileName = "serve.ini");
