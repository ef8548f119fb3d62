// The card that starts a post-processing writer: its keyword and the model name.
#pragma once

#include <string>
#include <string_view>

namespace vortan {

// Characters of the model name kept from the card.
inline constexpr int MODEL_NAME_LENGTH = 10;

// Reads the next card under the routine name `routine`; its first word must be
// `keyword` and a second word must follow, else the run stops with `message`. Returns
// the first 10 characters of the second word, padded with blanks to 10.
std::string read_model_card(std::string_view routine, std::string_view keyword, std::string_view message);

}  // namespace vortan
