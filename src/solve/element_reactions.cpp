#include "solve/element_reactions.h"

#include <cstdint>

#include "input/problem.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/supports.h"

namespace vortan {

namespace {

bool any_prescribed(const std::int32_t* iffix, const std::int32_t* positions, int n) {
  for (int i = 0; i < n; ++i)
    if (positions[i] > 0 && iffix[positions[i] - 1] == 1) return true;
  return false;
}

// Adds matrix * u at the prescribed positions among the given ones.
void add_prescribed_forces(const double* matrix, int n, const std::int32_t* positions, const std::int32_t* iffix,
                           const double* despl, double* react) {
  for (int i = 0; i < n; ++i) {
    if (positions[i] < 1 || iffix[positions[i] - 1] != 1) continue;
    double force = 0.0;
    for (int j = 0; j < n; ++j)
      if (positions[j] > 0) force += matrix[i + static_cast<std::ptrdiff_t>(j) * n] * despl[positions[j] - 1];
    react[positions[i] - 1] += force;
  }
}

}  // namespace

void compute_element_reactions(const double* despl, const double* aslod, double penalty, double* react) {
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  const std::int32_t ntotv = PROBLEM.NTOTV;
  ZEROR(ntotv, react);
  for_each_element([&](int e, const std::int32_t* positions, int n) {
    if (!any_prescribed(iffix, positions, n)) return;
    gather_element(e);
    element_stiffness(e);
    add_prescribed_forces(WORK.reals(ACTIVE.RIGID), n, positions, iffix, despl, react);
  });
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) {
    const std::int32_t g = spring_position(i);
    const double k = spring_stiffness(i);
    add_prescribed_forces(&k, 1, &g, iffix, despl, react);
  }
  double matrix[4];
  link_matrix(penalty, matrix);
  for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
    std::int32_t pair[2];
    link_positions(i, pair[0], pair[1]);
    add_prescribed_forces(matrix, 2, pair, iffix, despl, react);
  }
  for (std::int32_t g = 0; g < ntotv; ++g)
    if (iffix[g] == 1) react[g] -= aslod[g];
}

}  // namespace vortan
