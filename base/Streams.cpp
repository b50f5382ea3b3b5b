#include "base/Streams.h"

#include <algorithm>
#include <cstring>

#include "base/Exception.h"

#ifdef _WIN32
#define ravolin_fseek _fseeki64
#define ravolin_ftell _ftelli64
#else
#define ravolin_fseek fseeko
#define ravolin_ftell ftello
#endif

std::int64_t TStream::Size() {
  const std::int64_t here = Position();
  const std::int64_t end = Seek(0, SeekOrigin::End);
  Seek(here, SeekOrigin::Beginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

// --- TMemoryStream ---------------------------------------------------------

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t available = Size() - position_;
  const std::int64_t n = std::max<std::int64_t>(0, std::min(count, available));
  if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const auto end = static_cast<std::size_t>(position_ + count);
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == SeekOrigin::Current) base = position_;
  if (origin == SeekOrigin::End) base = Size();
  position_ = std::max<std::int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

// --- TFileStream -----------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, Mode mode) : fileName_(fileName) {
  file_ = std::fopen(fileName.c_str(), mode == OpenRead ? "rb" : "wb");
  if (!file_) {
    if (mode == OpenRead) throw EFOpenError("Cannot open file " + fileName);
    throw EFCreateError("Cannot create file " + fileName);
  }
  // Written files get their bytes in blocks (a captured body 64 KiB at a
  // time). The C library's small buffer would copy part of every block and
  // split it into two writes; unbuffered, each Write is one write to the
  // file, and what it returned is in the file at once.
  if (mode == Create) std::setvbuf(file_, nullptr, _IONBF, 0);
}

TFileStream::~TFileStream() {
  if (file_) std::fclose(file_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  return static_cast<std::int64_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  return static_cast<std::int64_t>(std::fwrite(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  const int whence = origin == SeekOrigin::Beginning ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  if (ravolin_fseek(file_, offset, whence) != 0) throw EStreamError("Seek failed on " + fileName_);
  return static_cast<std::int64_t>(ravolin_ftell(file_));
}
