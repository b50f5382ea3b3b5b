// Checks against an independent implementation on the machine (Python's
// standard library), when it is there.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "http/NMURL.h"
#include "http/NMUUE.h"

namespace {

bool HavePython() { return std::system("python3 -c pass >/dev/null 2>&1") == 0; }

std::string Capture(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  ::pclose(p);
  return out;
}

std::string WriteTemp(const std::string& name, const std::string& data) {
  const auto path = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
  std::ofstream(path, std::ios::binary) << data;
  return path.string();
}

std::string RandomBytes(std::mt19937& rng, std::size_t n) {
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

}  // namespace

TEST(Reference, MimeLinesJoinedEqualPythonBase64) {
  if (!HavePython()) GTEST_SKIP() << "python3 not installed";
  std::mt19937 rng(7);
  for (const std::size_t n : {0u, 1u, 2u, 3u, 44u, 45u, 46u, 89u, 90u, 91u, 1000u, 4097u}) {
    const std::string data = RandomBytes(rng, n);
    const std::string file = WriteTemp("b64ref", data);
    const std::string expected = Capture(
        "python3 -c 'import base64,sys; "
        "sys.stdout.write(base64.b64encode(open(sys.argv[1],\"rb\").read()).decode())' " +
        file);
    std::filesystem::remove(file);

    TMemoryStream in, out;
    in.WriteText(data);
    TNMUUProcessor uu(nullptr);
    uu.InputStream = &in;
    uu.OutputStream = &out;
    uu.Encode();
    const std::string lines = out.ToString();
    std::string joined;
    std::size_t start = 0;
    while (start < lines.size()) {
      const std::size_t end = lines.find("\r\n", start);
      ASSERT_NE(end, std::string::npos);
      EXPECT_LE(end - start, 60u);
      joined += lines.substr(start, end - start);
      start = end + 2;
    }
    EXPECT_EQ(joined, expected) << n << " bytes";
  }
}

// Form encoding escapes every byte but letters, digits and the blank; Python's
// quote_plus also keeps "-", "_", "." and "~". Apart from those the two agree.
TEST(Reference, FormEncodingDiffersFromQuotePlusOnlyInItsSafeMarks) {
  if (!HavePython()) GTEST_SKIP() << "python3 not installed";
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string file = WriteTemp("formref", all);
  const std::string python = Capture(
      "python3 -c 'import sys,urllib.parse as u; "
      "sys.stdout.write(u.quote_plus(open(sys.argv[1],\"rb\").read(), safe=\"\"))' " +
      file);
  std::filesystem::remove(file);
  TNMURL url(nullptr);
  std::string ours = url.Encode(all);
  std::string theirs = python;
  for (const char* mark : {"-", "_", ".", "~"}) {
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(*mark));
    for (std::size_t at; (at = ours.find(escaped)) != std::string::npos;) ours.replace(at, 3, mark);
  }
  EXPECT_EQ(ours, theirs);
}
