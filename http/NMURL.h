#pragma once
// Small text helpers for URLs and header lines, and the form encoding of
// request data (TNMURL).

#include <cstdint>
#include <functional>
#include <string>

#include "base/Component.h"
#include "base/Events.h"

// Field n (from 1) of text, where fields are the runs between single
// occurrences of separator; two separators in a row enclose an empty field
// and the field after the last separator runs to the end. Empty when the
// text has fewer than n - 1 separators (or n is below 1).
std::string NthField(const std::string& text, char separator, int n);

// Position (from 1) of the n-th occurrence of ch in text; the length of the
// text plus 1 when there are fewer occurrences.
int NthCharPos(const std::string& text, char ch, int n);

using TOnErrorEvent = std::function<void(TComponent* Sender, const std::string& Operation, const std::string& ErrMsg)>;

// Form encoding: letters and digits stay, a blank becomes "+", every other
// byte becomes "%" and two upper-case hex digits. Bytes, no character sets.
class TNMURL : public TComponent {
public:
  explicit TNMURL(TComponent* owner) : TComponent(owner) {}

  std::string InputString;
  TOnErrorEvent OnError;

  // Never raises: a failure while encoding is reported through OnError
  // ("Error during encode") and the text comes back unchanged.
  std::string Encode(const std::string& text);
  std::string EncodedInput() { return Encode(InputString); }
};
