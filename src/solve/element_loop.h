// Element passes of the solution paths: every set in order, every element row of the
// set, with the element's global positions and, when asked, its stiffness matrix.
#pragma once

#include <cstdint>

#include "elements/active_set.h"
#include "elements/element_pass.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "run/work_array.h"

namespace vortan {

// Obtains the stiffness (conductivity in heat conduction) of element row `element` of
// the active set into ACTIVE.RIGID, NEVAB x NEVAB column by column, storing it by the
// set's codes. The element's data must have been gathered.
void element_stiffness(int element);

// The element stiffness loop of the static drivers: computes the stiffness of every
// element of every set and stores it as the sets' codes say, so that the solution
// and result passes fetch what was stored.
void compute_element_stiffnesses();

// The element mass loop of the eigenvalue and dynamics drivers: computes the lumped
// mass of every element of every set (task "MASMATRIZ") and stores it as the sets'
// codes say.
void compute_element_masses();

// The element load of variable i (0-based) of element row `element` of a set, from
// the set's element load vectors (NELEM x NEVAB, element index fastest).
inline double element_load(const ElementSet& set, int element, int i) {
  if (set.CARGA == 0) return 0.0;
  return WORK.reals(set.CARGA)[(element - 1) + static_cast<std::int64_t>(i) * set.NELEM];
}

// y(indices) += matrix * x(indices) for an n x n matrix stored column by column;
// indices are 1-based into x and y, and an index below 1 takes no part (a prescribed
// position in equation order). The one kernel of the element-by-element products.
inline void add_element_product(const double* matrix, int n, const std::int32_t* indices, const double* x,
                                double* y) {
  double xe[MAX_ELEMENT_VARIABLES];
  double ye[MAX_ELEMENT_VARIABLES];
  for (int j = 0; j < n; ++j) {
    xe[j] = indices[j] > 0 ? x[indices[j] - 1] : 0.0;
    ye[j] = 0.0;
  }
  for (int j = 0; j < n; ++j) {
    const double xj = xe[j];
    if (xj == 0.0) continue;
    const double* column = matrix + static_cast<std::ptrdiff_t>(j) * n;
    for (int i = 0; i < n; ++i) ye[i] += column[i] * xj;
  }
  for (int i = 0; i < n; ++i)
    if (indices[i] > 0) y[indices[i] - 1] += ye[i];
}

// Calls visit(element, positions, count) for every element row of every set, the set
// active; positions are the 1-based global positions of the element's variables.
template <class Visit>
void for_each_element(Visit visit) {
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    activate_for_pass(s);
    const int nelem = SETS(s).NELEM;
    for (int e = 1; e <= nelem; ++e) visit(e, positions, element_positions(e, positions));
  }
}

// As for_each_element, with the element's stiffness in ACTIVE.RIGID as a fourth
// argument; every set is marked as stored afterwards.
template <class Visit>
void for_each_element_stiffness(Visit visit) {
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    int n = 0;
    run_set_pass(
        s, ElementTask::stiffness,
        [&](int e) {
          n = element_positions(e, positions);
          gather_element(e);
        },
        [&](int e) { visit(e, positions, n, static_cast<const double*>(WORK.reals(ACTIVE.RIGID))); });
  }
}

}  // namespace vortan
