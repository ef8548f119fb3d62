// Vector operations shared by the eigenvalue methods: products with the diagonal mass,
// mass normalisation, mass-orthogonal deflation, the start vector and the
// factorisation of a shifted profile matrix with its Sturm count and determinant.
#pragma once

#include <cstdint>

#include "solve/eigen/eigen_methods.h"

namespace vortan {

// x^T M y with the diagonal mass.
double mass_product(const double* mass, const double* x, const double* y, std::int32_t n);

// y = M x.
void times_mass(const double* mass, const double* x, double* y, std::int32_t n);

// Scales x to x^T M x = 1 and returns the norm it had; a zero vector is left as it is
// and gives 0.
double mass_normalise(const double* mass, double* x, std::int32_t n);

// Removes from x its components along `count` mass-normalised vectors (the first at
// modes, then every stride reals): x -= (phi_j^T M x) phi_j, twice over, so that what
// rounding leaves after the first pass is removed by the second.
void mass_orthogonalise(const double* mass, double* x, std::int32_t n, const double* modes, std::int64_t stride,
                        int count);

// Number of equations with a positive mass.
std::int32_t mass_degrees_of_freedom(const double* mass, std::int32_t n);

// The start vector of the iterations: near (1, 1, ..., 1), with small irregular
// differences between the components, so that it is not mass-orthogonal to the
// antisymmetric modes of a symmetric structure (as the exact (1, ..., 1) is).
void start_vector(double* x, std::int32_t n);

// Factorisation of K - shift M. The profile matrix `target` receives K from `stiff`
// (nwktl + 1 reals; the two may be the same array when K is already there), the shift
// is taken from its diagonal and the result is factorised with negative pivots
// allowed. Returns the number of negative pivots (the eigenvalues below the shift)
// and the logarithm of the absolute determinant with its sign.
struct ShiftedFactor {
  std::int32_t below = 0;
  double log_determinant = 0.0;
  int sign = 1;
};
ShiftedFactor factorise_shifted(const double* stiff, double* target, const std::int32_t* maxad, std::int32_t n,
                                std::int64_t nwktl, const double* mass, double shift);

// Puts the modes in ascending order of eigenvalue, moving their vectors (n reals
// each) with them.
void sort_modes(EigenModes& modes, std::int32_t n);

// Determinant of the factorised profile matrix: log of its magnitude and its sign.
ShiftedFactor factor_determinant(const double* factor, const std::int32_t* maxad, std::int32_t n);

}  // namespace vortan
