#include "run/memory_size.h"

#include <cmath>
#include <cstdlib>

namespace vortan {

bool parse_memory_size(std::string_view text, std::int32_t& words, std::string& error) {
  const std::string quoted = "'" + std::string(text) + "'";
  std::size_t at = 0;
  std::string number;
  while (at < text.size() && ((text[at] >= '0' && text[at] <= '9') || text[at] == '.')) number += text[at++];
  double multiple = 1.0;
  if (at < text.size()) {
    switch (text[at]) {
      case 'k': case 'K': multiple = 1024.0; break;
      case 'm': case 'M': multiple = 1024.0 * 1024.0; break;
      case 'g': case 'G': multiple = 1024.0 * 1024.0 * 1024.0; break;
      case 't': case 'T': multiple = 1024.0 * 1024.0 * 1024.0 * 1024.0; break;
      default: multiple = 0.0;
    }
    ++at;
  }
  char* end = nullptr;
  const double value = number.empty() ? -1.0 : std::strtod(number.c_str(), &end);
  if (multiple == 0.0 || at != text.size() || number.empty() || *end != '\0' || !std::isfinite(value)) {
    error = quoted + " is not a size: a number of bytes with K, M, G or T, as 6G or 1500M";
    return false;
  }
  const double bytes = value * multiple;
  if (bytes < SMALLEST_WORK_ARRAY_BYTES) {
    error = quoted + " is below the smallest work array, 1M";
    return false;
  }
  // 8G is one word more than the largest array: taken as the largest.
  const double largest_request = 8.0 * 1024.0 * 1024.0 * 1024.0;
  if (bytes > largest_request) {
    error = quoted + " is beyond the largest work array, 8G (2147483647 words of 4 bytes)";
    return false;
  }
  const double count = std::floor(bytes / 4.0);
  words = static_cast<std::int32_t>(count > LARGEST_WORK_ARRAY_WORDS ? LARGEST_WORK_ARRAY_WORDS : count);
  return true;
}

std::string memory_size_text(double bytes) {
  const double mib = std::ceil(bytes / (1024.0 * 1024.0));
  if (mib < 1024.0) return std::to_string(static_cast<long long>(mib)) + "M";
  return std::to_string(static_cast<long long>(std::ceil(mib / 1024.0))) + "G";
}

}  // namespace vortan
