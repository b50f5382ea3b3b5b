#include "http/NMUUE.h"

#include <cstring>

#include "base/Exception.h"

namespace {

constexpr char kMimeAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kBytesPerLine = 45;

}  // namespace

void TNMUUProcessor::SelectAlphabet() {
  if (Method == uuMime) {
    std::memcpy(alphabet_.data(), kMimeAlphabet, 64);
  } else if (Method == uuCode) {
    alphabet_[0] = static_cast<char>(96);
    for (int i = 1; i < 64; ++i) alphabet_[static_cast<std::size_t>(i)] = static_cast<char>(32 + i);
  }
}

void TNMUUProcessor::Encode() {
  InputStream->SetPosition(0);
  Fire(OnBeginEncode, this);
  try {
    SelectAlphabet();
    EncodeLines();
  } catch (...) {
    OutputStream->SetPosition(0);
    Fire(OnEndEncode, this);
    throw;
  }
  OutputStream->SetPosition(0);
  Fire(OnEndEncode, this);
}

void TNMUUProcessor::EncodeLines() {
  const auto& a = alphabet_;
  const bool mime = Method == uuMime;
  unsigned char in[kBytesPerLine];
  char line[1 + kBytesPerLine / 3 * 4 + 2];  // length character, 60 characters, CR LF

  const std::int64_t size = InputStream->Size();
  std::int64_t position = 0;
  OutputStream->Seek(0, SeekOrigin::End);
  while (position < size) {
    const auto n = static_cast<int>(InputStream->Read(in, kBytesPerLine));
    if (n <= 0) throw EReadError("Stream read error");
    position += n;

    int out = 0;
    if (!mime) line[out++] = a[static_cast<std::size_t>(n)];
    int i = 0;
    for (; i + 3 <= n; i += 3) {
      const unsigned b0 = in[i], b1 = in[i + 1], b2 = in[i + 2];
      line[out++] = a[b0 >> 2];
      line[out++] = a[((b0 & 3) << 4) | (b1 >> 4)];
      line[out++] = a[((b1 & 15) << 2) | (b2 >> 6)];
      line[out++] = a[b2 & 63];
    }
    if (n - i == 1) {
      const unsigned b0 = in[i];
      line[out++] = a[b0 >> 2];
      line[out++] = a[(b0 & 3) << 4];
      if (mime) {
        line[out++] = '=';
        line[out++] = '=';
      }
    } else if (n - i == 2) {
      const unsigned b0 = in[i], b1 = in[i + 1];
      line[out++] = a[b0 >> 2];
      line[out++] = a[((b0 & 3) << 4) | (b1 >> 4)];
      line[out++] = a[(b1 & 15) << 2];
      if (mime) line[out++] = '=';
    }
    line[out++] = '\r';
    line[out++] = '\n';
    OutputStream->WriteBuffer(line, out);
  }
  if (!mime) {
    const char last[] = {a[0], '\r', '\n'};
    OutputStream->WriteBuffer(last, 3);
  }
}
