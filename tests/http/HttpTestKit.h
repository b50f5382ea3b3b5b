#pragma once
// What the request engine's tests share: a temporary folder, whole-file
// reads and writes, a component set up like the panel's, and the exact
// request header the engine sends.

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "http/NMHttp.h"
#include "tests/support/ScriptedServer.h"

namespace httptest {

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::string& name);
void WriteFile(const std::string& name, const std::string& bytes);

// The two Accept lines every request carries.
inline constexpr const char* kAccept1 = "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff";
inline constexpr const char* kAccept2 = "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript";
inline constexpr const char* kFormType = "Content-type: application/x-www-form-urlencoded";

// requestLine, Host, the Accept lines, lines before Content-type (between),
// Content-type, lines after it, the blank line.
std::string RequestHeader(const std::string& requestLine, const std::string& host = "127.0.0.1",
                          const std::string& between = "", const std::string& after = "");

// Reads a request whose header (and body) ends with tail, answers with
// response, closes.
testsupport::Script Answer(const std::string& response, const std::string& tail = "\r\n\r\n");

// A component with the panel's settings, its body file in the temp folder,
// and a time-out so that a test that goes wrong fails instead of hanging.
class HttpTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  std::string Url(const testsupport::ScriptedServer& server, const std::string& path = "/") const;
  std::string BodyFile() const { return ReadFile(http->Body); }

  TempDir dir;
  std::unique_ptr<TNMHTTP> http;
};

}  // namespace httptest
