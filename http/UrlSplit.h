#pragma once
// Splits a request URL into the host, port and path of an HTTP request. The
// values are the request engine's own, changed in place and one step at a
// time, so a URL that fails part-way leaves what the steps before set.

#include <cstdint>
#include <string>

struct UrlTarget {
  std::string& requestUrl;   // in; "/" is appended when it has no path
  std::string& requestPath;  // out
  std::string& host;         // out; kept when the URL names no host
  std::int32_t& port;        // in and out
};

// Raises Exception "Empty URL", Exception "HTTP Secure Socket is not
// supported", or EConvertError for a port that is not a number.
void SplitUrl(UrlTarget target);
