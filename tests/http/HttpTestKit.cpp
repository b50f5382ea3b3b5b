#include "tests/http/HttpTestKit.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace httptest {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("ravolin-http-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

std::string RequestHeader(const std::string& requestLine, const std::string& host, const std::string& between,
                          const std::string& after) {
  std::string h = requestLine + "\r\n";
  if (!host.empty()) h += "Host: " + host + "\r\n";
  h += std::string(kAccept1) + "\r\n" + kAccept2 + "\r\n" + between + kFormType + "\r\n" + after + "\r\n";
  return h;
}

testsupport::Script Answer(const std::string& response, const std::string& tail) {
  return {testsupport::Expect(tail), testsupport::Send(response)};
}

void HttpTest::SetUp() {
  http = std::make_unique<TNMHTTP>(nullptr);
  http->Port = 0;
  http->ReportLevel = 0;
  http->Body = dir.File("freq.ini");
  http->Header = "Head.txt";
  http->InputFileMode = true;
  http->OutputFileMode = false;
  http->TimeOut = 10000;
}

void HttpTest::TearDown() { http.reset(); }

std::string HttpTest::Url(const testsupport::ScriptedServer& server, const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
}

}  // namespace httptest
