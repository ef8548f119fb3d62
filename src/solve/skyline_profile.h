// Column heights and addresses of profile (skyline) storage. The height of column e is
// the distance from its diagonal to the topmost row any element couples it with; only
// the entries under that skyline are stored.
#pragma once

#include <cstdint>

namespace vortan {

// Raises the column heights (heights[e - 1] for equation e) by one element's equation
// numbers: height(e) = max(height(e), e - smallest) over its positive numbers, where
// smallest is the smallest positive number of the element. Numbers that are 0 or
// negative (prescribed degrees of freedom) take no part.
void skyline_column_height(const std::int32_t* equations, int count, std::int32_t* heights);

// Column heights of the LDLT path from the equation numbers of every element of every
// set and of every link; heights[e - 1] for e = 1 .. neqns. Returns their sum.
std::int64_t ldlt_column_heights(const std::int32_t* leqns, std::int32_t neqns, std::int32_t* heights);

// Diagonal addresses of the eigenvalue and dynamics storage (STIFF with MAXAD, each
// column from its diagonal upward): MAXAD(1) = 1, MAXAD(i+1) = MAXAD(i) + height(i) + 1;
// maxad holds neqns + 1 entries (at least 2). Returns the profile length NWKTL =
// MAXAD(NEQNS+1) - MAXAD(1) and the half band (largest height + 1), and writes the
// "NEQNS=" / "NWKTL=" lines to the listing. Stops through the allocator when the
// profile cannot be addressed in the work array.
std::int64_t diagonal_addresses(const std::int32_t* heights, std::int32_t neqns, std::int32_t* maxad,
                                std::int32_t& half_band);

}  // namespace vortan
