// The response header reader on arbitrary server bytes, against a model of
// its reading rules. A loopback peer sends the bytes and closes; the real
// session reads them through the platform's message loop, then the rest of
// the data is captured to check that the reader stopped right after the
// header's last line.
//
// Input: a control byte, then the server's bytes. Bit 0 of the control byte
// sends the header to a file instead of the Header text. Bit 1 puts a run
// of 65408 + (next byte) letters before the server's bytes, so that the
// longest line a read accepts, 65537 bytes with its line feed, lies within
// reach of the mutations. Bit 2 sends the bytes from a thread in pieces of
// 1 to 8 bytes (bits 3 to 5 plus 1) while the session reads, so that lines
// arrive split; the outcome must not depend on how they are split.
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "base/Convert.h"
#include "base/Exception.h"
#include "http/NMHttp.h"
#include "tests/support/LoopbackSocket.h"

namespace {

namespace loopback = testsupport::loopback;

constexpr std::size_t kMaxLineRun = 65536;  // bytes before the line feed
constexpr std::size_t kMaxValue = 256;
constexpr std::size_t kStretchBase = 65408;

class HeaderProbe : public TNMHTTP {
public:
  using TNMHTTP::TNMHTTP;
  void SetReplyNumber(std::int16_t n) { ReplyNumber = n; }
};

struct Expected {
  std::string header;
  bool tooLong = false;
  std::int16_t status = -7;  // unchanged unless the status line has text
  std::optional<std::string> cookie;
  std::optional<std::string> location;
  std::size_t consumed = 0;
};

// One read: the next line through its line feed; empty at the end of the
// data, where an unfinished line is dropped; nothing when the line is over
// the limit.
std::optional<std::string> NextLine(const std::string& in, std::size_t& at) {
  const std::size_t lf = in.find('\n', at);
  const std::size_t run = (lf == std::string::npos ? in.size() : lf) - at;
  if (run > kMaxLineRun) return std::nullopt;
  if (lf == std::string::npos) {
    at = in.size();
    return std::string();
  }
  std::string line = in.substr(at, lf + 1 - at);
  at = lf + 1;
  return line;
}

std::string FirstWordUpper(const std::string& line) {
  std::string word = line.substr(0, line.find(' '));
  for (char& c : word)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return word;
}

std::string ValueAfter(std::string line, std::size_t skip) {
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return skip >= line.size() ? std::string() : line.substr(skip, kMaxValue);
}

std::int16_t StatusOf(const std::string& line) {
  const std::size_t first = line.find(' ');
  if (first == std::string::npos) return 0;
  const std::size_t second = line.find(' ', first + 1);
  const std::string field =
      line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
  const auto value = TryStrToInt(field);
  if (!value || *value < -32768 || *value > 32767) return 0;
  return static_cast<std::int16_t>(*value);
}

Expected Model(const std::string& in) {
  Expected e;
  std::size_t at = 0;
  std::optional<std::string> line = NextLine(in, at);
  if (!line) {
    e.tooLong = true;
    return e;
  }
  if (!line->empty()) e.status = StatusOf(*line);
  e.header += *line;
  for (;;) {
    line = NextLine(in, at);
    if (!line) {
      e.tooLong = true;
      return e;
    }
    const std::string word = FirstWordUpper(*line);
    if (word == "SET-COOKIE:") e.cookie = ValueAfter(*line, 12);
    if (word == "LOCATION:") e.location = ValueAfter(*line, 10);
    e.header += *line;
    if (line->empty() || *line == "\n" || *line == "\r\n") break;
  }
  e.consumed = at;
  return e;
}

int Listener(std::uint16_t& port) {
  const int fd = loopback::BoundSocket(port);  // throws, ending the run, on failure
  if (!loopback::Listen(fd, 4)) std::abort();
  return fd;
}

// Sends what the socket takes at once, without waiting.
std::size_t SendNow(int peer, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const long n = loopback::SendSome(peer, bytes.data() + done, bytes.size() - done, true);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// Writes the rest while the session reads, then closes; stops early when the
// reader has gone. The first 4 KiB go at most piece bytes per send.
void SendRest(int peer, const std::string& bytes, std::size_t done, std::size_t piece) {
  while (done < bytes.size()) {
    const std::size_t chunk = done < 4096 ? std::min(piece, bytes.size() - done) : bytes.size() - done;
    const long n = loopback::SendSome(peer, bytes.data() + done, chunk, false);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  loopback::CloseSocket(peer);
}

// One thread for every input that streams, since starting a thread per
// input would cost more than the read itself.
class Sender {
public:
  Sender() : worker_([this] { Loop(); }) {}

  void Start(int peer, const std::string& bytes, std::size_t done, std::size_t piece) {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = Job{peer, &bytes, done, piece};
    busy_ = true;
    changed_.notify_all();
  }

  // Until the running job has closed its socket.
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
  }

private:
  struct Job {
    int peer;
    const std::string* bytes;
    std::size_t done;
    std::size_t piece;
  };

  void Loop() {
    for (;;) {
      Job job{};
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return job_.has_value(); });
        job = *job_;
        job_.reset();
      }
      SendRest(job.peer, *job.bytes, job.done, job.piece);
      std::lock_guard<std::mutex> lock(mutex_);
      busy_ = false;
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<Job> job_;
  bool busy_ = false;
  std::thread worker_;  // last, so that it starts after the members it uses
};

std::string ReadWhole(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void Fail(const char* what) {
  std::fprintf(stderr, "response header: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::uint16_t port = 0;
  static const int listener = Listener(port);
  // A plain array, so that it outlives the clean-up at exit.
  static char headerFolder[] = "/tmp/fuzz_responseheader_XXXXXX";
  static const bool made = [] {
    if (!::mkdtemp(headerFolder)) std::abort();
    std::atexit([] {
      std::remove((std::string(headerFolder) + "/Head.txt").c_str());
      ::rmdir(headerFolder);
    });
    return true;
  }();
  (void)made;
  static const std::string headerFile = std::string(headerFolder) + "/Head.txt";
  static Sender* const sender = new Sender;  // lives to the end of the process
  // Lives to the end of the process; one session serves every input.
  static HeaderProbe* const http = [] {
    auto* probe = new HeaderProbe(nullptr);
    probe->Host = "127.0.0.1";
    probe->TimeOut = 10000;  // a read that hangs fails the input
    return probe;
  }();

  if (size < 1) return 0;
  const bool fileMode = data[0] & 1;
  const bool trickle = data[0] & 4;
  const std::size_t piece = trickle ? 1 + (data[0] >> 3 & 7) : std::string::npos;
  std::string bytes;
  std::size_t start = 1;
  if (data[0] & 2) {
    if (size < 2) return 0;
    bytes.assign(kStretchBase + data[1], 'x');
    start = 2;
  }
  bytes.append(reinterpret_cast<const char*>(data) + start, size - start);
  const Expected want = Model(bytes);

  http->Port = port;
  http->OutputFileMode = fileMode;
  http->Header = fileMode ? headerFile : std::string("stale header");
  http->LastCookie = "stale cookie";
  http->LastLocation = "earlier location";
  http->SetReplyNumber(-7);
  http->Connect();
  const int peer = loopback::AcceptConnection(listener);
  if (peer == loopback::kNoSocket) Fail("accept failed");
  // Small inputs go out whole before the read starts; larger ones, and the
  // split ones, stream from the sender thread while the session reads.
  bool streaming = false;
  const std::size_t sent = trickle ? 0 : SendNow(peer, bytes);
  if (sent == bytes.size() && !trickle) {
    loopback::CloseSocket(peer);
  } else {
    sender->Start(peer, bytes, sent, piece);
    streaming = true;
  }

  bool tooLong = false;
  std::string rest;
  try {
    http->ReadResponseHeader();
    http->CaptureString(rest, -1);
  } catch (const ERangeError&) {
    tooLong = true;
  } catch (const Exception& e) {
    std::fprintf(stderr, "response header: raised %s\n", e.Message().c_str());
    std::abort();
  }
  http->Disconnect();
  if (streaming) sender->Wait();

  if (tooLong != want.tooLong) Fail(tooLong ? "unexpected range error" : "overlong line accepted");
  if (http->GetReplyNumber() != want.status) Fail("status");
  const std::string header = fileMode ? ReadWhole(headerFile) : http->Header;
  if (header != want.header) Fail("header text");
  if (!want.tooLong && rest != bytes.substr(want.consumed)) Fail("bytes after the header");
  if (http->LastCookie != want.cookie.value_or(std::string())) Fail("cookie");
  if (http->LastLocation != want.location.value_or("earlier location")) Fail("location");
  return 0;
}
