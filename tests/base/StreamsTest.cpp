#include "base/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

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
