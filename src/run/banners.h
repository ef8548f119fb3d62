// The banners of a run: the console banner at start-up, and the start and final
// banners of the listing.
#pragma once

#include <string>
#include <string_view>

namespace vortan {

// The version the banners and the --version option show.
inline constexpr std::string_view PROGRAM_VERSION = "5.1.5";

// The seven lines of the block-letter logo, 55 characters each.
const std::string* logo_lines();

void write_console_banner();
void write_start_banner();
void write_final_banner();

}  // namespace vortan
