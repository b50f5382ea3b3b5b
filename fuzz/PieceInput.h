#pragma once
// For the targets that check a reader gives the same result however its
// input is cut: the first byte picks a piece size of 1 to 32, the rest is
// the input. A failed check aborts, which libFuzzer counts as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

struct PieceInput {
  std::size_t piece = 1;
  std::string_view bytes;
};

// False for an empty input, which has no piece size.
inline bool SplitInput(const std::uint8_t* data, std::size_t size, PieceInput& input) {
  if (size == 0) return false;
  input.piece = 1 + data[0] % 32;
  input.bytes = std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1);
  return true;
}

// Calls take(piece) for the bytes in pieces of input.piece, in order.
template <class Take>
void InPieces(const PieceInput& input, Take take) {
  for (std::size_t at = 0; at < input.bytes.size(); at += input.piece) take(input.bytes.substr(at, input.piece));
}

}  // namespace fuzz
