#include "http/UrlSplit.h"

#include "base/Convert.h"
#include "base/Exception.h"
#include "http/NMURL.h"

namespace {

constexpr std::size_t kMaxPath = 256;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

void SplitUrl(UrlTarget t) {
  const std::string& url = t.requestUrl;
  if (url.empty()) throw Exception("Empty URL");

  if (t.port == 0) t.port = 80;

  const bool absolute = Contains(url, "//");
  if (absolute) {
    const auto from = static_cast<std::size_t>(NthCharPos(url, '/', 3) - 1);
    t.requestPath = from < url.size() ? url.substr(from, kMaxPath) : std::string();
  } else if (const std::size_t slash = url.find('/'); slash != std::string::npos) {
    t.requestPath = url.substr(slash, kMaxPath);
  } else {
    t.requestPath.clear();
  }

  // The scheme only chooses the default port; the request is always HTTP.
  if (Contains(url, ":")) {
    const std::string scheme = Lower(NthField(url, ':', 1));
    if (scheme == "gopher") {
      t.port = 70;
    } else if (scheme == "ftp") {
      t.port = 21;
    } else if (scheme == "https") {
      throw Exception("HTTP Secure Socket is not supported");
    } else {
      t.port = 80;
    }
  }

  std::string host;
  if (absolute) {
    host = NthField(url, '/', 3);
  } else if (url[0] != '/') {
    host = NthField(url, '/', 1);
  }

  if (const std::size_t colon = host.find(':'); colon != std::string::npos) {
    t.port = StrToInt(NthField(host, ':', 2));
    host.erase(colon);
  }

  if (!host.empty()) t.host = host;

  if (t.requestPath.empty()) {
    t.requestPath.assign(1, '/');
    t.requestUrl += '/';
  }
}
