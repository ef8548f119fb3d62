// The inner kernels of the profile factorisations: dot products and updates over
// contiguous runs of two columns. The dot product keeps eight independent partial
// sums, so that the additions do not wait on each other and the compiler can pair
// them into vector instructions.
#pragma once

#include <cstdint>

namespace vortan {

inline double dot_contiguous(const double* __restrict x, const double* __restrict y, std::int64_t n) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0, s5 = 0.0, s6 = 0.0, s7 = 0.0;
  std::int64_t k = 0;
  for (; k + 8 <= n; k += 8) {
    s0 += x[k] * y[k];
    s1 += x[k + 1] * y[k + 1];
    s2 += x[k + 2] * y[k + 2];
    s3 += x[k + 3] * y[k + 3];
    s4 += x[k + 4] * y[k + 4];
    s5 += x[k + 5] * y[k + 5];
    s6 += x[k + 6] * y[k + 6];
    s7 += x[k + 7] * y[k + 7];
  }
  for (; k < n; ++k) s0 += x[k] * y[k];
  return ((s0 + s1) + (s2 + s3)) + ((s4 + s5) + (s6 + s7));
}

// y -= a * x over n contiguous entries.
inline void subtract_multiple(double a, const double* __restrict x, double* __restrict y, std::int64_t n) {
  for (std::int64_t k = 0; k < n; ++k) y[k] -= a * x[k];
}

}  // namespace vortan
