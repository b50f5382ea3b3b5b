// The state feed's request reader and answer on arbitrary client bytes,
// cut into pieces of a size the first byte picks. The reader must decide
// the same whatever the pieces, never hold more than its cap, and every
// answer must be a whole HTTP/1.0 answer whose Content-Length is true.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/PieceInput.h"
#include "serve/FeedAnswer.h"
#include "serve/RequestHead.h"

namespace {

using fuzz::Check;

std::size_t ContentLength(const std::string& header) {
  const std::string name = "\r\nContent-Length: ";
  const std::size_t at = header.find(name);
  Check(at != std::string::npos);
  return std::strtoul(header.c_str() + at + name.size(), nullptr, 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::PieceInput input;
  if (!fuzz::SplitInput(data, size, input)) return 0;

  RequestHead whole;
  whole.Add(input.bytes);
  RequestHead pieces;
  fuzz::InPieces(input, [&](std::string_view piece) {
    const RequestHead::Status before = pieces.status();
    pieces.Add(piece);
    Check(before == RequestHead::Status::NeedMore || pieces.status() == before);  // decided once
    Check(pieces.Text().size() <= RequestHead::kMaxBytes);
  });
  Check(whole.status() == pieces.status());
  Check(whole.Text() == pieces.Text());
  if (pieces.status() != RequestHead::Status::Complete && pieces.status() != RequestHead::Status::Bad) return 0;

  const PanelSnapshot panel{"14200", "3", 3, true, false};
  const std::string answer = AnswerFeedRequest(pieces, panel);
  Check(answer.rfind("HTTP/1.0 ", 0) == 0);
  const int status = std::atoi(answer.c_str() + 9);
  Check(status == 200 || status == 400 || status == 404 || status == 405 || status == 505);
  Check(pieces.status() == RequestHead::Status::Complete || status == 400);
  const std::size_t end = answer.find("\r\n\r\n");
  Check(end != std::string::npos);
  const std::string header = answer.substr(0, end + 2);
  const std::string body = answer.substr(end + 4);
  Check(header.find("\r\nConnection: close\r\n") != std::string::npos);
  // HEAD gets the length of the body it does not get.
  Check(body.empty() || body.size() == ContentLength(header));
  if (status == 200 && !body.empty()) Check(body == FreqIniText(panel));
  return 0;
}
