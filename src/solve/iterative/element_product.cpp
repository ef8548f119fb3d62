#include "solve/iterative/element_product.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "input/problem.h"
#include "run/work_array.h"
#include "solve/assembly.h"
#include "solve/element_loop.h"
#include "solve/supports.h"

namespace vortan {

void element_product(const double* x, double* y, double penalty) {
  ZEROR(PROBLEM.NTOTV, y);
  for_each_element_stiffness([&](int, const std::int32_t* positions, int n, const double* k) {
    add_element_product(k, n, positions, x, y);
  });
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) {
    const std::int32_t g = spring_position(i) - 1;
    y[g] += spring_stiffness(i) * x[g];
  }
  if (PROBLEM.MGDLL <= 0) return;
  double matrix[4];
  link_matrix(penalty, matrix);
  for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
    std::int32_t pair[2];
    link_positions(i, pair[0], pair[1]);
    add_element_product(matrix, 2, pair, x, y);
  }
}

double add_support_diagonal(double* diag) {
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) diag[spring_position(i) - 1] += spring_stiffness(i);
  if (PROBLEM.MGDLL <= 0) return 0.0;
  double largest = 0.0;
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) largest = std::max(largest, std::fabs(diag[g]));
  const double penalty = LINK_PENALTY_FACTOR * largest;
  for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
    std::int32_t a = 0, b = 0;
    link_positions(i, a, b);
    diag[a - 1] += penalty;
    diag[b - 1] += penalty;
  }
  return penalty;
}

double assemble_element_loads(double* aslod, double* diag) {
  ZEROR(PROBLEM.NTOTV, aslod);
  if (diag == nullptr) {
    for_each_element([&](int e, const std::int32_t* positions, int n) { add_element_loads(e, positions, n, aslod); });
    return 0.0;
  }
  ZEROR(PROBLEM.NTOTV, diag);
  for_each_element_stiffness([&](int e, const std::int32_t* positions, int n, const double* k) {
    add_element_loads(e, positions, n, aslod);
    for (int i = 0; i < n; ++i)
      if (positions[i] > 0) diag[positions[i] - 1] += k[i + static_cast<std::ptrdiff_t>(i) * n];
  });
  return add_support_diagonal(diag);
}

}  // namespace vortan
