#include "serve/Hertz.h"

#include <charconv>
#include <cmath>

#include "base/Convert.h"

namespace {

constexpr std::int64_t kHertzPerTenth = 100;
constexpr std::int64_t kHertzPerKilohertz = 1000;
constexpr std::int64_t kFewestTenths = 10;       // 1.0 kHz
constexpr std::int64_t kMostTenths = 999999;     // 99999.9 kHz

}  // namespace

std::optional<PanelFrequency> PanelFrequencyFromHertz(std::string_view text) {
  double hertz = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, hertz);
  if (error != std::errc() || stop != end || !std::isfinite(hertz)) return std::nullopt;
  // Bounded before rounding, so that the conversion to an integer is exact.
  if (hertz < 0 || hertz >= 1e9) return std::nullopt;
  const std::int64_t tenths = std::llround(hertz / kHertzPerTenth);
  if (tenths < kFewestTenths || tenths > kMostTenths) return std::nullopt;
  return PanelFrequency{static_cast<std::int32_t>(tenths / 10), static_cast<int>(tenths % 10)};
}

std::optional<std::int64_t> HertzShown(const PanelSnapshot& panel) {
  const std::optional<std::int32_t> kilohertz = TryStrToInt(panel.edit1);
  if (!kilohertz || *kilohertz < 0) return std::nullopt;
  return *kilohertz * kHertzPerKilohertz + panel.trackBar * kHertzPerTenth;
}
