// Factorisation K = U^T D U of the profile matrix of the eigenvalue and dynamics
// analyses (STIFF with MAXAD, each column from its diagonal upward) and the solution
// with the factors.
#pragma once

#include <cstdint>

namespace vortan {

// Overwrites stiff with the unit upper factor U (above the diagonal) and D (on the
// diagonal). Every pivot is checked as it is formed: a zero one, or a negative one
// when negative pivots are not allowed, prints "LA MATRIZ DE RIGIDEZ NO ES DEFINIDA
// POSITIVA" with the equation and the pivot and stops. Without negative pivots allowed
// a positive pivot that has lost almost all the digits of its diagonal stops too (the
// relative pivot rule of pivot_rule.h). When equation_of_position (MHIGH) is given,
// both stops name the node and degree of freedom of the equation. With negative pivots allowed
// (eigenvalue shifting) the factorisation goes on; the count of negative pivots is
// returned (by Sylvester's law, the eigenvalues below the shift).
std::int32_t DECOMP(double* stiff, const std::int32_t* maxad, std::int32_t neqns, bool allow_negative,
                    const std::int32_t* equation_of_position = nullptr);

// Solves with the factors of DECOMP: forward reduction with U^T, division by D and
// back substitution; v holds the right-hand side on entry and the solution on exit.
void profile_resolution(const double* stiff, const std::int32_t* maxad, std::int32_t neqns, double* v);

// The same solution for `count` right-hand sides held equation by equation: entry k of
// equation n (1-based) at v[(n - 1) * count + k]. Every entry of the factors then
// multiplies a contiguous run of `count` values, which the compiler pairs into vector
// instructions.
void profile_resolution_interleaved(const double* stiff, const std::int32_t* maxad, std::int32_t neqns, double* v,
                                    int count);

// y = A x for the symmetric profile matrix A (before factorisation).
void profile_product(const double* stiff, const std::int32_t* maxad, std::int32_t neqns, const double* x,
                     double* y);

}  // namespace vortan
