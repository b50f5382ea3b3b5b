#pragma once
// Byte streams: a position, a size, block reads and writes. TMemoryStream
// keeps its bytes in memory; TFileStream reads or writes a file.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class SeekOrigin { Beginning, Current, End };

class TStream {
public:
  virtual ~TStream() = default;

  // Move up to count bytes; return how many moved (0 at the end).
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Beginning); }
  virtual std::int64_t Size();

  // Move exactly count bytes or raise EReadError / EWriteError.
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  void WriteText(const std::string& text) { WriteBuffer(text.data(), static_cast<std::int64_t>(text.size())); }
};

class TMemoryStream : public TStream {
public:
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }

  const std::vector<char>& Data() const { return data_; }
  std::string ToString() const { return std::string(data_.begin(), data_.end()); }
  void Clear();

private:
  std::vector<char> data_;
  std::int64_t position_ = 0;
};

class TFileStream : public TStream {
public:
  enum Mode { OpenRead, Create };

  // OpenRead raises EFOpenError "Cannot open file <name>"; Create makes or
  // empties the file and raises EFCreateError "Cannot create file <name>".
  TFileStream(const std::string& fileName, Mode mode);
  ~TFileStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;

  const std::string& FileName() const { return fileName_; }

private:
  std::string fileName_;
  std::FILE* file_ = nullptr;
};
