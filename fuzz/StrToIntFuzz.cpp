// The integer conversion must never crash and must agree with itself: a text
// it accepts converts back and forth to the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Convert.h"
#include "base/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto value = TryStrToInt(text);
  try {
    const std::int32_t thrown = StrToInt(text);
    if (!value || *value != thrown) std::abort();
    if (StrToInt(IntToStr(thrown)) != thrown) std::abort();
  } catch (const EConvertError&) {
    if (value) std::abort();
  }
  return 0;
}
