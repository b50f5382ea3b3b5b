#pragma once
// Why a follow fetch failed, in the words the operator reads on stderr, and
// the status of the answer it got.

#include <cstdint>
#include <optional>
#include <string>

namespace follow {

// The status of the header's first line: "HTTP/", a version, a blank and
// three digits, then a blank, the line's end or nothing. None when there is
// no such line (a garbled line, or no answer at all).
std::optional<int> StatusOfHeader(const std::string& header);

// Only a 2xx answer carries the station's file.
bool IsGoodStatus(int status);

inline constexpr const char* kNoStatusLine = "no status line";
std::string StatusReason(int status);                  // "status 404"
std::string TooLongReason(std::uint32_t maxBytes);     // "answer longer than 65536 bytes"
std::string DeadlineReason(std::uint32_t deadlineMs);  // "no complete answer within 10 s"

}  // namespace follow
