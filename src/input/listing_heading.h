// Headings of the data listings written by the problem-definition readers.
#pragma once

#include <string_view>

namespace vortan {

// Writes a heading and, on the next line, a row of "-" under it, both indented by
// five blanks.
void write_underlined_heading(std::string_view title);

}  // namespace vortan
