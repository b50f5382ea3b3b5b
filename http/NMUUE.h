#pragma once
// Turns the bytes of a stream into lines of printable text: Base64 lines
// (uuMime) or uuencode-style lines with a leading length character (uuCode).
// Each line carries up to 45 input bytes and ends in CR LF.

#include <array>
#include <cstdint>

#include "base/Component.h"
#include "base/Events.h"
#include "base/Streams.h"

enum UUMethods : std::uint8_t { uuMime = 0, uuCode = 1 };

class TNMUUProcessor : public TComponent {
public:
  explicit TNMUUProcessor(TComponent* owner) : TComponent(owner) {}

  UUMethods Method = uuMime;
  TNotifyEvent OnBeginEncode;
  TNotifyEvent OnEndEncode;  // also when encoding fails
  // Declared for decoding, which this component does not do; never raised.
  TNotifyEvent OnBeginDecode;
  TNotifyEvent OnEndDecode;

  // Owned by the caller. Encode reads InputStream whole, from its start,
  // appends lines to OutputStream and leaves OutputStream at position 0.
  TStream* InputStream = nullptr;
  TStream* OutputStream = nullptr;

  // Copies the alphabet of Method; any other value leaves it as it was.
  void SelectAlphabet();
  const std::array<char, 64>& Alphabet() const { return alphabet_; }

  // A stream failure raises after OnEndEncode; the lines written so far stay.
  void Encode();

private:
  void EncodeLines();

  std::array<char, 64> alphabet_{};
};
