// Elastic supports (springs on single degrees of freedom) and linked degrees of
// freedom (a penalty that ties one degree of freedom of two nodes together), as the
// solution paths add them to the global matrix.
#pragma once

#include <cstdint>

namespace vortan {

// Global position (1-based) of spring i (0-based) of RESOR / REDIR.
std::int32_t spring_position(std::int32_t i);
// Stiffness of spring i (REVAL).
double spring_stiffness(std::int32_t i);

// Global positions (1-based) of the two degrees of freedom of link i (0-based) of NGDLL.
void link_positions(std::int32_t i, std::int32_t& a, std::int32_t& b);

// Penalty of the links: 1.0E6 times the largest absolute diagonal entry of the
// global matrix once every element and spring is in.
inline constexpr double LINK_PENALTY_FACTOR = 1.0E6;

// The 2 x 2 penalty matrix of a link, column by column: P, -P, -P, P.
inline void link_matrix(double penalty, double* matrix) {
  matrix[0] = penalty;
  matrix[1] = -penalty;
  matrix[2] = -penalty;
  matrix[3] = penalty;
}

}  // namespace vortan
