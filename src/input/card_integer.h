// Integers read from the numbers of the current card.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "input/card_reader.h"

namespace vortan {

// The number in a slot of the current card truncated toward zero, as the readers take
// node, element, set and code numbers. A number beyond the 32-bit range is clamped to
// its end (so that it fails any range check instead of wrapping), and a slot outside
// the card reads as 0.
inline std::int32_t card_integer(int slot) {
  if (slot < 1 || slot > CARD_SLOTS) return 0;
  const double value = CARD.VALUE(slot);
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace vortan
