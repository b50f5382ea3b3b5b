#include "base/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/Exception.h"

TEST(MemoryStream, ReadsWhatWasWrittenFromAnyPosition) {
  TMemoryStream s;
  s.WriteText("hello");
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Position(), 5);
  s.SetPosition(1);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 4);
  EXPECT_STREQ(buf, "ello");
  EXPECT_EQ(s.Read(buf, 8), 0);
  EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);
}

TEST(FileStream, CreateEmptiesAndOpenReadFailsWithTheFileName) {
  const auto path = (std::filesystem::temp_directory_path() / "ravolin_stream_test.bin").string();
  {
    TFileStream w(path, TFileStream::Create);
    w.WriteText("abcdef");
  }
  {
    TFileStream r(path, TFileStream::OpenRead);
    EXPECT_EQ(r.Size(), 6);
  }
  { TFileStream w(path, TFileStream::Create); }
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  std::remove(path.c_str());

  try {
    TFileStream r("/nonexistent/x", TFileStream::OpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file /nonexistent/x");
  }
  EXPECT_THROW(TFileStream("/nonexistent/x", TFileStream::Create), EFCreateError);
}

TEST(FileStream, WrittenBlocksAreInTheFileAtOnceAndKeepTheirPlace) {
  const auto path = (std::filesystem::temp_directory_path() / "ravolin_stream_blocks.bin").string();
  const std::string block(65536, 'x');
  {
    TFileStream w(path, TFileStream::Create);
    w.WriteText(block);
    w.WriteText("abc");
    w.WriteText(block);
    EXPECT_EQ(w.Position(), 2 * 65536 + 3);
    // Another reader sees everything while the stream is still open, as a
    // capture that is cancelled or dies leaves it.
    EXPECT_EQ(std::filesystem::file_size(path), 2u * 65536 + 3);
    w.SetPosition(65536);
    w.WriteText("ABC");
    EXPECT_EQ(w.Size(), 2 * 65536 + 3);
  }
  std::ifstream in(path, std::ios::binary);
  const std::string all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(all, block + "ABC" + block);
  in.close();
  std::remove(path.c_str());
}
