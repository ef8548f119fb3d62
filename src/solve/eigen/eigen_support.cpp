#include "solve/eigen/eigen_support.h"

#include <algorithm>
#include <cmath>

#include "solve/profile_factor.h"

namespace vortan {

double mass_product(const double* mass, const double* x, const double* y, std::int32_t n) {
  double s = 0.0;
  for (std::int32_t i = 0; i < n; ++i) s += x[i] * mass[i] * y[i];
  return s;
}

void times_mass(const double* mass, const double* x, double* y, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) y[i] = mass[i] * x[i];
}

double mass_normalise(const double* mass, double* x, std::int32_t n) {
  const double square = mass_product(mass, x, x, n);
  if (!(square > 0.0)) return 0.0;
  const double norm = std::sqrt(square);
  for (std::int32_t i = 0; i < n; ++i) x[i] /= norm;
  return norm;
}

void mass_orthogonalise(const double* mass, double* x, std::int32_t n, const double* modes, std::int64_t stride,
                        int count) {
  for (int pass = 0; pass < 2; ++pass)
    for (int j = 0; j < count; ++j) {
      const double* phi = modes + j * stride;
      const double c = mass_product(mass, phi, x, n);
      for (std::int32_t i = 0; i < n; ++i) x[i] -= c * phi[i];
    }
}

std::int32_t mass_degrees_of_freedom(const double* mass, std::int32_t n) {
  return static_cast<std::int32_t>(std::count_if(mass, mass + n, [](double m) { return m > 0.0; }));
}

void start_vector(double* x, std::int32_t n) {
  // Fractional parts of multiples of the golden ratio: spread over [0, 1) without
  // pattern, so no symmetry of the mesh numbering is repeated in the vector.
  constexpr double golden = 0.6180339887498949;
  for (std::int32_t i = 0; i < n; ++i) {
    const double t = (i + 1) * golden;
    x[i] = 1.0 + 0.5 * (t - std::floor(t));
  }
}

void sort_modes(EigenModes& modes, std::int32_t n) {
  for (int i = 1; i <= modes.count; ++i) {
    int lowest = i;
    for (int j = i + 1; j <= modes.count; ++j)
      if (modes.eigenvalues[j - 1] < modes.eigenvalues[lowest - 1]) lowest = j;
    if (lowest == i) continue;
    std::swap(modes.eigenvalues[i - 1], modes.eigenvalues[lowest - 1]);
    std::swap_ranges(modes.vector(i), modes.vector(i) + n, modes.vector(lowest));
  }
}

ShiftedFactor factor_determinant(const double* factor, const std::int32_t* maxad, std::int32_t n) {
  ShiftedFactor f;
  for (std::int32_t i = 0; i < n; ++i) {
    const double d = factor[maxad[i] - 1];
    f.log_determinant += std::log(std::abs(d));
    if (d < 0.0) {
      ++f.below;
      f.sign = -f.sign;
    }
  }
  return f;
}

ShiftedFactor factorise_shifted(const double* stiff, double* target, const std::int32_t* maxad, std::int32_t n,
                                std::int64_t nwktl, const double* mass, double shift) {
  if (target != stiff) std::copy(stiff, stiff + nwktl + 1, target);
  for (std::int32_t i = 0; i < n; ++i) target[maxad[i] - 1] -= shift * mass[i];
  DECOMP(target, maxad, n, true);
  return factor_determinant(target, maxad, n);
}

}  // namespace vortan
