// Splitting a URL must never crash, must raise only the three documented
// failures, and on success must leave a path that starts with "/" and is at
// most 256 characters, with "/" appended to a URL that had no path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Exception.h"
#include "http/UrlSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string url(reinterpret_cast<const char*>(data), size);
  const std::string before = url;
  std::string path;
  std::string host = "previous";
  std::int32_t port = size % 2 ? 0 : 81;
  try {
    SplitUrl({url, path, host, port});
  } catch (const EConvertError&) {
    return 0;
  } catch (const Exception& e) {
    const std::string m = e.Message();
    if (m != "Empty URL" && m != "HTTP Secure Socket is not supported") std::abort();
    return 0;
  }
  if (path.empty() || path[0] != '/' || path.size() > 256) std::abort();
  if (url != before && url != before + "/") std::abort();
  if (before.find("//") == std::string::npos && before.find(':') == std::string::npos && before.find('/') == 0 &&
      host != "previous")
    std::abort();
  return 0;
}
