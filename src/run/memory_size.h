// The size of the work array as the user gives it: on the command line (--memory) or
// in the environment (VORTAN_MEMORY), as a number of bytes with an optional binary
// multiple K, M, G or T (1024, 1024^2, ...), for example "6G" or "1.5G". The size is
// counted in 4-byte words, so the largest work array is 2^31 - 1 words: "8G" asks for
// exactly that much and is taken as the largest; anything beyond is refused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vortan {

inline constexpr const char* MEMORY_VARIABLE = "VORTAN_MEMORY";
inline constexpr std::int64_t LARGEST_WORK_ARRAY_WORDS = 2147483647;
inline constexpr std::int64_t SMALLEST_WORK_ARRAY_BYTES = 1 << 20;

// The words of a size text; false with the reason in error when the text is not a
// size, is below 1M or is beyond 8G.
bool parse_memory_size(std::string_view text, std::int32_t& words, std::string& error);

// A byte count in the form the option takes, rounded up to whole mebibytes or
// gibibytes ("640M", "3G").
std::string memory_size_text(double bytes);

}  // namespace vortan
