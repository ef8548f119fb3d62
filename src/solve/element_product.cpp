#include "solve/element_product.h"

#include "solve/element_loop.h"

namespace vortan {

void element_stiffness_product(const std::int32_t* equations, std::int32_t neqns, const double* x, double* y) {
  for (std::int32_t i = 0; i < neqns; ++i) y[i] = 0.0;
  std::int32_t local[MAX_ELEMENT_VARIABLES];
  double xe[MAX_ELEMENT_VARIABLES];
  for_each_element_stiffness([&](int, const std::int32_t* positions, int n, const double* k) {
    for (int i = 0; i < n; ++i) {
      local[i] = positions[i] > 0 ? equations[positions[i] - 1] : 0;
      xe[i] = local[i] > 0 ? x[local[i] - 1] : 0.0;
    }
    for (int i = 0; i < n; ++i) {
      if (local[i] < 1) continue;
      double s = 0.0;
      for (int j = 0; j < n; ++j) s += k[i + static_cast<std::ptrdiff_t>(j) * n] * xe[j];
      y[local[i] - 1] += s;
    }
  });
}

}  // namespace vortan
