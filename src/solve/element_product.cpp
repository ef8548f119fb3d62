#include "solve/element_product.h"

#include "solve/element_loop.h"

namespace vortan {

void element_stiffness_product(const std::int32_t* equations, std::int32_t neqns, const double* x, double* y) {
  for (std::int32_t i = 0; i < neqns; ++i) y[i] = 0.0;
  std::int32_t local[MAX_ELEMENT_VARIABLES];
  for_each_element_stiffness([&](int, const std::int32_t* positions, int n, const double* k) {
    for (int i = 0; i < n; ++i) local[i] = positions[i] > 0 ? equations[positions[i] - 1] : 0;
    add_element_product(k, n, local, x, y);
  });
}

}  // namespace vortan
