#pragma once
// What a complete request head asks of the state feed. The feed serves one
// resource, /freq.ini, to GET and HEAD, and answers as HTTP/1.0 whatever 1.x
// version the request names.
//
// - The target may be origin-form ("/freq.ini") or absolute-form
//   ("http://host:port/freq.ini", any host); a query ("?x") is ignored, so
//   cache-busting queries work. The path is compared byte for byte, with no
//   percent-decoding.
// - Header lines must be "name: value" (continuation lines, starting with a
//   blank, are taken as part of the line before); their contents are not
//   used, and a missing Host is no error.
// - The status, in the order checked: 400 for a request line or header line
//   that does not parse, 505 for an HTTP major version other than 1, 404
//   for another path, 405 for another method, else 200.

#include <string_view>

struct FeedRequest {
  int status = 400;
  bool headOnly = false;  // HEAD: the same answer without its body
};

FeedRequest ParseFeedRequest(std::string_view head);
