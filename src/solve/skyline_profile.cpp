#include "solve/skyline_profile.h"

#include <algorithm>
#include <limits>

#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/supports.h"

namespace vortan {

void skyline_column_height(const std::int32_t* equations, int count, std::int32_t* heights) {
  // The search for the smallest number starts above every possible equation number,
  // so that elements of any problem size are measured from their own lowest equation.
  std::int32_t smallest = std::numeric_limits<std::int32_t>::max();
  for (int k = 0; k < count; ++k)
    if (equations[k] > 0) smallest = std::min(smallest, equations[k]);
  for (int k = 0; k < count; ++k) {
    const std::int32_t e = equations[k];
    if (e > 0) heights[e - 1] = std::max(heights[e - 1], e - smallest);
  }
}

std::int64_t ldlt_column_heights(const std::int32_t* leqns, std::int32_t neqns, std::int32_t* heights) {
  ZEROI(neqns, heights);
  std::int32_t equations[MAX_ELEMENT_VARIABLES];
  for_each_element([&](int, const std::int32_t* positions, int n) {
    for (int k = 0; k < n; ++k) equations[k] = positions[k] > 0 ? leqns[positions[k] - 1] : 0;
    skyline_column_height(equations, n, heights);
  });
  for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
    std::int32_t a = 0, b = 0;
    link_positions(i, a, b);
    const std::int32_t pair[2] = {leqns[a - 1], leqns[b - 1]};
    skyline_column_height(pair, 2, heights);
  }
  std::int64_t sum = 0;
  for (std::int32_t e = 0; e < neqns; ++e) sum += heights[e];
  return sum;
}

std::int64_t diagonal_addresses(const std::int32_t* heights, std::int32_t neqns, std::int32_t* maxad,
                                std::int32_t& half_band) {
  std::int64_t length = 0;
  std::int32_t largest = 0;
  for (std::int32_t i = 0; i < neqns; ++i) {
    length += std::int64_t{heights[i]} + 1;
    largest = std::max(largest, heights[i]);
  }
  half_band = largest + 1;
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "NEQNS=" + fmt::I(neqns, 15) + fmt::X(5) + "NWKTL=" + fmt::I(length, 15));
  write_empty(UNIT_LISTING);
  // Addresses are 32-bit words of the work array: a longer profile can never be held.
  if (length >= std::numeric_limits<std::int32_t>::max()) {
    std::int32_t cursor = RUN.NXTPOS;
    DIRECT(cursor, RUN.MEMORY, length + 1, "STIFF", REAL_WORDS);
  }
  // The first column has height 0 by construction (no equation lies above it).
  maxad[0] = 1;
  maxad[1] = 2;
  for (std::int32_t i = 2; i <= neqns; ++i) maxad[i] = maxad[i - 1] + heights[i - 1] + 1;
  return neqns > 0 ? std::int64_t{maxad[neqns]} - maxad[0] : 0;
}

}  // namespace vortan
