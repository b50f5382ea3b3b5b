#pragma once
// The one line the program writes at start about the radio (to stderr, or on
// Windows where platform/diagnostics.h says): which library was loaded (its
// file) and whether both pipes opened, and if not, why, in words an operator
// can act on. The panel itself shows none of it.

#include <optional>
#include <string>

// What the start of the link found, gathered in one place.
struct RadioLinkFacts {
  bool loaded = false;
  std::string loadFailure;         // the loader's words when not loaded
  std::string libraryFile;         // empty when it can't be told
  std::string libraryDescription;  // what the library says it is; may be empty
  const char* missingEntry = nullptr;
  bool outPipeOpen = false;
  bool inPipeOpen = false;
  int outPipeError = 0;  // errno after a failed open
  int inPipeError = 0;
  std::optional<std::string> radioNode;  // the radio's device node, when one is attached
};

// The facts of this process's link, after OpenRadioLink.
RadioLinkFacts GatherRadioLinkFacts();

// The line, without a line end.
std::string DescribeRadioLink(const RadioLinkFacts& facts);
