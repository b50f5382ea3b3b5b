#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "http/NMUUE.h"

namespace {

std::string EncodeText(const std::string& input, UUMethods method) {
  TMemoryStream in, out;
  in.WriteText(input);
  TNMUUProcessor uu(nullptr);
  uu.Method = method;
  uu.InputStream = &in;
  uu.OutputStream = &out;
  uu.Encode();
  EXPECT_EQ(out.Position(), 0);
  return out.ToString();
}

// A stream whose writes fail after a number of bytes.
class FailingStream : public TMemoryStream {
public:
  explicit FailingStream(std::int64_t limit) : limit_(limit) {}
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    if (Size() + count > limit_) return 0;
    return TMemoryStream::Write(buffer, count);
  }

private:
  std::int64_t limit_;
};

}  // namespace

TEST(LineEncoder, MimeLinesArePaddedBase64) {
  EXPECT_EQ(EncodeText("", uuMime), "");
  EXPECT_EQ(EncodeText("abc", uuMime), "YWJj\r\n");
  EXPECT_EQ(EncodeText("a", uuMime), "YQ==\r\n");
  EXPECT_EQ(EncodeText("ab", uuMime), "YWI=\r\n");
}

TEST(LineEncoder, MimeBreaksAfter45InputBytes) {
  const std::string out45 = EncodeText(std::string(45, 'x'), uuMime);
  ASSERT_EQ(out45.size(), 62u);
  EXPECT_EQ(out45.substr(60), "\r\n");
  const std::string out46 = EncodeText(std::string(46, 'x'), uuMime);
  EXPECT_EQ(out46.substr(0, 62), out45);
  EXPECT_EQ(out46.substr(62), "eA==\r\n");
}

TEST(LineEncoder, UuCodeLinesCarryTheirLength) {
  EXPECT_EQ(EncodeText("", uuCode), "`\r\n");
  // 'a','b','c' = 0x61 0x62 0x63 -> indexes 24 22 9 35 -> 56 54 41 67.
  EXPECT_EQ(EncodeText("abc", uuCode), "#86)C\r\n`\r\n");
  // A short last group gives two or three characters, not four; index 0 is '`'.
  EXPECT_EQ(EncodeText("a", uuCode), "!80\r\n`\r\n");
  EXPECT_EQ(EncodeText("ab", uuCode), "\"86(\r\n`\r\n");
  const std::string full = EncodeText(std::string(45, '\0'), uuCode);
  EXPECT_EQ(full, "M" + std::string(60, '`') + "\r\n`\r\n");
}

TEST(LineEncoder, AlphabetsAndTheirSelection) {
  TNMUUProcessor uu(nullptr);
  EXPECT_EQ(uu.Alphabet()[0], '\0');
  uu.Method = uuCode;
  uu.SelectAlphabet();
  EXPECT_EQ(uu.Alphabet()[0], '`');
  for (int i = 1; i < 64; ++i) EXPECT_EQ(uu.Alphabet()[static_cast<std::size_t>(i)], 32 + i);
  uu.Method = static_cast<UUMethods>(7);
  uu.SelectAlphabet();
  EXPECT_EQ(uu.Alphabet()[0], '`');
  uu.Method = uuMime;
  uu.SelectAlphabet();
  EXPECT_EQ(std::string(uu.Alphabet().begin(), uu.Alphabet().end()),
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
}

TEST(LineEncoder, ReadsFromTheStartAndAppendsAfterExistingOutput) {
  TMemoryStream in, out;
  in.WriteText("abc");  // position left at the end
  out.WriteText("X\r\n");
  TNMUUProcessor uu(nullptr);
  std::vector<std::string> events;
  uu.OnBeginEncode = [&](TComponent* s) {
    EXPECT_EQ(s, &uu);
    events.push_back("begin");
  };
  uu.OnEndEncode = [&](TComponent*) { events.push_back("end@" + std::to_string(out.Position())); };
  uu.InputStream = &in;
  uu.OutputStream = &out;
  uu.Encode();
  EXPECT_EQ(out.ToString(), "X\r\nYWJj\r\n");
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "end@0"}));
}

TEST(LineEncoder, WriteFailureRaisesAfterTheEndEventAndKeepsEarlierLines) {
  TMemoryStream in;
  in.WriteText(std::string(100, 'y'));
  FailingStream out(70);
  TNMUUProcessor uu(nullptr);
  int ends = 0;
  uu.OnEndEncode = [&](TComponent*) {
    ++ends;
    EXPECT_EQ(out.Position(), 0);
  };
  uu.InputStream = &in;
  uu.OutputStream = &out;
  EXPECT_THROW(uu.Encode(), EWriteError);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(out.Size(), 62);
}

TEST(LineEncoder, FileStreamsBothWays) {
  const auto dir = std::filesystem::temp_directory_path() / ("uue-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string inName = (dir / "in.bin").string(), outName = (dir / "out.txt").string();
  std::string data;
  for (int i = 0; i < 1000; ++i) data += static_cast<char>(i * 7);
  {
    TFileStream f(inName, TFileStream::Create);
    f.WriteText(data);
  }
  std::string fromFile;
  {
    TFileStream in(inName, TFileStream::OpenRead), out(outName, TFileStream::Create);
    TNMUUProcessor uu(nullptr);
    uu.InputStream = &in;
    uu.OutputStream = &out;
    uu.Encode();
    EXPECT_EQ(out.Position(), 0);
  }
  {
    TFileStream out(outName, TFileStream::OpenRead);
    fromFile.resize(static_cast<std::size_t>(out.Size()));
    out.ReadBuffer(fromFile.data(), out.Size());
  }
  EXPECT_EQ(fromFile, EncodeText(data, uuMime));
  std::filesystem::remove_all(dir);
}
