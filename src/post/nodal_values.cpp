#include "post/nodal_values.h"

#include <cmath>

#include "elements/active_set.h"
#include "input/catalogue.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "results/smoothing_record.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// The kinds of a set in order; returns their count.
int set_kinds(const ElementSet& s, int* kinds) {
  int n = 0;
  for (int kind = 1; kind <= DOF_KINDS; ++kind)
    if (s.pattern[kind - 1] == 1) kinds[n++] = kind;
  return n;
}

}  // namespace

void displacements_in_global_axes(const double* solution, double* global) {
  COPYR(solution, global, PROBLEM.NTOTV);
  if (PROBLEM.MAPOY <= 0 || PROBLEM.APOYO == 0) return;
  const std::int32_t npnods = PROBLEM.NPNODS;
  std::int32_t cursor = RUN.NXTPOS;
  double* angles = WORK.reals(DIREC1(cursor, RUN.MEMORY, npnods, "ANGUL", REAL_WORDS));
  // The kinds of the turned pairs of each node (0 while none is known): the first
  // pair's two kinds, then the second's (flat shells).
  std::int32_t* kinds_of = WORK.ints(DIREC1(cursor, RUN.MEMORY, 4 * std::int64_t{npnods}, "PARKA", INT_WORDS));
  ZEROR(npnods, angles);
  ZEROI(4 * std::int64_t{npnods}, kinds_of);
  // A node listed twice keeps its last angle, as the elements take it.
  for (std::int32_t i = 0; i < PROBLEM.MAPOY; ++i) {
    const std::int32_t node = WORK.int_at(PROBLEM.APOYO + i);
    if (node >= 1 && node <= npnods) angles[node - 1] = WORK.reals(PROBLEM.APANG)[i];
  }
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    const ElementSet& s = SETS(set);
    int pairs[2];
    const int count = s.inclined_support_pairs(pairs);
    int kinds[DOF_KINDS];
    if (s.family == ElementFamily::conduction || count == 0 || set_kinds(s, kinds) < pairs[count - 1] + 2) continue;
    for (int e = 1; e <= s.NELEM; ++e)
      for (int k = 1; k <= s.NNODE; ++k) {
        const std::int32_t node = element_node(set, e, k);
        if (node < 1 || node > npnods || angles[node - 1] == 0.0 || kinds_of[4 * (node - 1)] != 0) continue;
        for (int p = 0; p < count; ++p) {
          kinds_of[4 * (node - 1) + 2 * p] = kinds[pairs[p]];
          kinds_of[4 * (node - 1) + 2 * p + 1] = kinds[pairs[p] + 1];
        }
      }
  }
  for (std::int32_t node = 1; node <= npnods; ++node) {
    const double c = std::cos(angles[node - 1]), sn = std::sin(angles[node - 1]);
    for (int p = 0; p < 2; ++p) {
      const std::int32_t* pair = kinds_of + 4 * (node - 1) + 2 * p;
      if (pair[0] == 0) continue;
      const int a = kind_equation(node, pair[0]), b = kind_equation(node, pair[1]);
      if (a <= 0 || b <= 0) continue;
      const double x = solution[a - 1], y = solution[b - 1];
      global[a - 1] = c * x - sn * y;
      global[b - 1] = sn * x + c * y;
    }
  }
}

int model_kinds(int* kinds) {
  int n = 0;
  for (int kind = 1; kind <= DOF_KINDS && n < PROBLEM.NDOFG; ++kind)
    if (PROBLEM.union_pattern[kind - 1] == 1) kinds[n++] = kind;
  return n;
}

int node_dof_values(const double* vector, int node, double* values) {
  int kinds[DOF_KINDS];
  const int n = model_kinds(kinds);
  for (int i = 0; i < n; ++i) {
    const int equation = kind_equation(node, kinds[i]);
    values[i] = equation > 0 ? vector[equation - 1] : 0.0;
  }
  for (int i = n; i < PROBLEM.NDOFG; ++i) values[i] = 0.0;
  return PROBLEM.NDOFG;
}

bool smoothed_stresses_exist() {
  return SMOOTHING.done == 1 && SMOOTHING.TENST != 0 && SMOOTHING.components > 0;
}

double model_smoothed(int node, int c) {
  if (c >= SMOOTHING.components) return 0.0;
  return *smoothed_value(PROBLEM.NSETS + 1, node, c);
}

}  // namespace vortan

