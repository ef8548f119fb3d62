// Triangular factorisation of the LDLT path's profile matrix and the solution with its
// factors. The matrix AMATR holds the NEQNS diagonal entries first, then the entries
// above the diagonal column after column, each column from its top row down to the
// row above the diagonal; pointers[j] (j = 0 .. NEQNS, pointers[0] = 0) is the end of
// column j in that part, so column j has pointers[j] - pointers[j-1] entries.
#pragma once

#include <cstdint>

namespace vortan {

// Factors the matrix in place into U^T D U: the columns receive the unit upper factor
// U and the diagonal the reciprocals 1/d. Prints the singular and ill-conditioned
// warnings, stops with "SKYTRI:MATRIZ SINGULAR" on a rank failure for a zero
// unreduced diagonal and with "SKYTRI: MECANISMO ..." on a reduced diagonal that has
// lost almost all the digits of the unreduced one (the relative pivot rule of
// pivot_rule.h; a zero reduced diagonal of a zero unreduced one included), and writes
// the per-equation console progress line. equation_of_position (LEQNS), when given,
// names the node and degree of freedom of such an equation. Returns the count of
// equations that lost at least 7 digits. Negative pivots are factored like positive
// ones. The work is the panel factorisation below, with SKYLINE_PANEL_WIDTH columns
// per panel and worker_thread_count() threads (VORTAN_THREADS), unless the squares
// of the column heights add up to less than SKYLINE_PANEL_WORK (a few milliseconds of
// work): such a profile is factored column by column.
std::int32_t SKYTRI(double* amatr, const std::int32_t* pointers, std::int32_t neqns,
                    const std::int32_t* equation_of_position = nullptr);

// Columns per panel of SKYTRI.
inline constexpr int SKYLINE_PANEL_WIDTH = 64;
inline constexpr double SKYLINE_PANEL_WORK = 1.6E7;

// The factorisation of SKYTRI one column at a time: each entry of column j becomes
// final through one dot product with an earlier column. The reference of the panel
// factorisation; the same warnings, stops and progress lines.
std::int32_t skyline_factor_by_columns(double* amatr, const std::int32_t* pointers, std::int32_t neqns,
                                       const std::int32_t* equation_of_position = nullptr);

// The same factorisation a panel of panel_width consecutive columns at a time (rounded
// up to whole tiles of the block updates): the entries of the panel in the rows above
// it are made final by products of blocks of columns, shared among `threads` threads,
// then the panel's own rows are reduced column after column, each pivot checked and
// its progress line written as the column factorisation does, in the same order. The
// factors agree with those of the column factorisation to rounding (the sums are
// added in another order), and do not depend on the number of threads, bit for bit.
// A profile no wider than one panel is factored exactly as by columns.
std::int32_t skyline_factor_by_panels(double* amatr, const std::int32_t* pointers, std::int32_t neqns,
                                      const std::int32_t* equation_of_position, int threads, int panel_width);

// Forward reduction with U^T, multiplication by the stored reciprocal diagonal and back
// substitution; v holds the right-hand side on entry and the solution on exit.
void skyline_resolution(const double* amatr, const std::int32_t* pointers, std::int32_t neqns, double* v);

// Floating-point operations of the factorisation of a profile (the multiplications and
// additions of the column reductions and of the diagonal updates).
double skyline_factor_flops(const std::int32_t* pointers, std::int32_t neqns);

}  // namespace vortan
