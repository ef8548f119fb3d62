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

// First kind position (0-based among the set's kinds) of the pair an inclined support
// turns, or -1 for a problem type whose elements do not turn the unknowns of such
// nodes.
int turned_pair(const ElementSet& s) {
  switch (s.problem_type) {
    case PLANE_STRESS: case PLANE_STRAIN: case AXISYMMETRIC: case SHELL_OF_REVOLUTION: return 0;
    case PLATE: return 1;
    case FRAME: return s.dimension == 2 ? 0 : -1;
    case BEAM_ELEMENT: return 0;
    default: return -1;
  }
}

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
  // The two kinds of the turned pair of each node (0 while none is known).
  std::int32_t* first = WORK.ints(DIREC1(cursor, RUN.MEMORY, npnods, "PARKA", INT_WORDS));
  std::int32_t* second = WORK.ints(DIREC1(cursor, RUN.MEMORY, npnods, "PARKB", INT_WORDS));
  ZEROR(npnods, angles);
  ZEROI(npnods, first);
  ZEROI(npnods, second);
  // A node listed twice keeps its last angle, as the elements take it.
  for (std::int32_t i = 0; i < PROBLEM.MAPOY; ++i) {
    const std::int32_t node = WORK.int_at(PROBLEM.APOYO + i);
    if (node >= 1 && node <= npnods) angles[node - 1] = WORK.reals(PROBLEM.APANG)[i];
  }
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    const ElementSet& s = SETS(set);
    const int pair = turned_pair(s);
    int kinds[DOF_KINDS];
    if (s.family == ElementFamily::conduction || pair < 0 || set_kinds(s, kinds) < pair + 2) continue;
    for (int e = 1; e <= s.NELEM; ++e)
      for (int k = 1; k <= s.NNODE; ++k) {
        const std::int32_t node = element_node(set, e, k);
        if (node < 1 || node > npnods || angles[node - 1] == 0.0 || first[node - 1] != 0) continue;
        first[node - 1] = kinds[pair];
        second[node - 1] = kinds[pair + 1];
      }
  }
  for (std::int32_t node = 1; node <= npnods; ++node) {
    if (first[node - 1] == 0) continue;
    const int a = kind_equation(node, first[node - 1]), b = kind_equation(node, second[node - 1]);
    if (a <= 0 || b <= 0) continue;
    const double c = std::cos(angles[node - 1]), sn = std::sin(angles[node - 1]);
    const double x = solution[a - 1], y = solution[b - 1];
    global[a - 1] = c * x - sn * y;
    global[b - 1] = sn * x + c * y;
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

