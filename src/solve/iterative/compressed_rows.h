// The free-free part of the global matrix in compressed rows: the structure built
// from the connectivity of all sets (one entry for every pair of free equations that
// an element, a spring or a link couples, and every diagonal), the assembly of the
// element matrices into it with the prescribed values moved to the right-hand side,
// and the product with a vector.
#pragma once

#include <cstdint>

namespace vortan {

struct CompressedRows {
  std::int32_t n = 0;                 // equations (NEQNS)
  const std::int32_t* ia = nullptr;   // n + 1 row starts, 0-based
  const std::int32_t* ja = nullptr;   // columns (0-based equations), sorted in each row
  double* a = nullptr;                // values
  std::int64_t entries() const { return ia[n]; }
};

// Equation numbers in global order: LEQNS(g) = 1, 2, ... at the free positions and 0
// at the prescribed ones. Returns NEQNS.
std::int32_t number_compressed_equations(const std::int32_t* iffix, std::int32_t* leqns);

// Builds IA and JA in the work array from the element passes of every set and the link
// list, for the equations of leqns. words_per_entry: the work-array words each entry
// will need (its column, its value, and the factors that share the pattern). When the
// entries (NLARG) are more than the work array can hold (NSIZZ), the message
// "ESPACIO INSUFICIENTE PARA ALMACENAR MATRIZ DE RIGIDEZ" with both counts goes to the
// console and the listing and the run stops with "SOLGCAS:ESPACIO INSUFICIENTE MAT RIG".
// Returns the work-array positions of IA and JA.
void build_compressed_structure(const std::int32_t* leqns, std::int32_t neqns, int words_per_entry,
                                std::int32_t& ia_position, std::int32_t& ja_position);

// The right-hand side of the free equations: f - K_fp u_p by equation.
struct CompressedSystem {
  CompressedRows rows;
  const std::int32_t* leqns = nullptr;
  const double* fixed = nullptr;
  double* rhs = nullptr;                 // by equation
  double* prescribed_diagonal = nullptr; // by global position, or null (links only)
};

// Adds a matrix of n variables at global positions: entries between two free
// equations into the rows, and K_ij * FIXED(j) of a prescribed column j subtracted from
// the right-hand side of every free row i.
void add_to_compressed_rows(const double* matrix, int n, const std::int32_t* positions, CompressedSystem& system);

// Zeroes the values, the right-hand side and aslod; assembles every element's stiffness
// into the rows and its loads into aslod; adds the springs and the link penalties; and
// adds the loads of the free positions to the right-hand side. Returns the penalty of
// the links (0 without links).
double assemble_compressed_system(CompressedSystem& system, double* aslod);

// The sum of a[k] x[ja[k]] for k = begin .. end - 1, with four independent partial
// sums so that the additions of a long row do not wait on each other.
inline double row_sum(const double* a, const std::int32_t* ja, const double* x, std::int32_t begin,
                      std::int32_t end) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  std::int32_t k = begin;
  for (; k + 4 <= end; k += 4) {
    s0 += a[k] * x[ja[k]];
    s1 += a[k + 1] * x[ja[k + 1]];
    s2 += a[k + 2] * x[ja[k + 2]];
    s3 += a[k + 3] * x[ja[k + 3]];
  }
  for (; k < end; ++k) s0 += a[k] * x[ja[k]];
  return (s0 + s1) + (s2 + s3);
}

// y = A x over the n equations.
void compressed_product(const CompressedRows& rows, const double* x, double* y);

// DESPL from the solution x by equation (LEQNS) and the prescribed values (FIXED).
void scatter_compressed_solution(const double* x);

}  // namespace vortan
