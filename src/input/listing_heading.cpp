#include "input/listing_heading.h"

#include <string>

#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

void write_underlined_heading(std::string_view title) {
  write_record(UNIT_LISTING, fmt::X(5) + std::string(title));
  write_record(UNIT_LISTING, fmt::X(5) + std::string(title.size(), '-'));
}

}  // namespace vortan
