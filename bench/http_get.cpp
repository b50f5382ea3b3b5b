// Fetches a URL with the HTTP component, set up as the panel's: the body
// goes to a file, the header into the component's text. Given a count, it
// fetches that many times in one process. Used by bench/report.
//
//   http_get URL BODYFILE [COUNT]

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/panel_http.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s URL BODYFILE [COUNT]\n", argv[0]);
    return 2;
  }
  const std::string url = argv[1];
  const long count = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 1;
  try {
    TNMHTTP http(nullptr);
    bench::SetUpAsPanel(http, argv[2]);
    for (long i = 0; i < count; ++i) {
      http.Get(url);
      if (http.GetReplyNumber() != 200) {
        std::fprintf(stderr, "status %d\n", http.GetReplyNumber());
        return 1;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
