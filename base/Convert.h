#pragma once
// Integer <-> text conversions with the program's one set of rules.
//
// Text to integer: optional leading spaces (the space character only); then
// either an optional "+" or "-" and decimal digits within the signed 32-bit
// range, or, unsigned, a hexadecimal number introduced by "$", "x", "X", "0x"
// or "0X" that fits in 32 bits and is taken as a 32-bit pattern. Nothing may
// follow the digits. Anything else raises EConvertError with the message
// "'<text>' is not a valid integer value".

#include <cstdint>
#include <optional>
#include <string>

std::optional<std::int32_t> TryStrToInt(const std::string& text);
std::int32_t StrToInt(const std::string& text);

// Decimal, "-" before negative values, no leading zeros.
std::string IntToStr(std::int64_t value);
