#include "input/dof_table.h"

#include "input/element_sets.h"
#include "input/problem.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr int COUNT = 1;
constexpr int OFFSET = 2;
constexpr int FIRST_KIND = 3;  // word of kind 1


std::int32_t& kind_code(int node, int kind) { return adres(node, FIRST_KIND + kind - 1); }

// Node k (1-based) of row r of a set's connectivity.
std::int32_t element_node(const ElementSet& set, int row, int k) {
  return WORK.int_at(set.LNODS + (row - 1) + k * set.NELEM);
}

// Nodes of an element that carry its degrees of freedom: the two end nodes of a
// member (its reference node only fixes the member's axes), every node otherwise.
int carrying_nodes(const ElementSet& set) {
  return set.family == ElementFamily::frame ? 2 : set.NNODE;
}

void merge_node(const ElementSet& set, int node) {
  if (adres(node, COUNT) == 0) {
    adres(node, COUNT) = set.NDOFN;
    for (int kind = 1; kind <= DOF_KINDS; ++kind) kind_code(node, kind) = set.pattern[kind - 1];
    return;
  }
  int present = 0;
  for (int kind = 1; kind <= DOF_KINDS; ++kind) {
    if (set.pattern[kind - 1] == 1 && kind_code(node, kind) == 0) kind_code(node, kind) = 1;
    if (kind_code(node, kind) != 0) ++present;
  }
  adres(node, COUNT) = present;
}

}  // namespace

std::int32_t& adres(int node, int word) {
  return WORK.int_at(PROBLEM.ADRES + (node - 1) * ADRES_WORDS + (word - 1));
}

int kind_equation(int node, int kind) {
  if (kind_code(node, kind) == 0) return 0;
  int ordinal = 0;
  for (int k = 1; k <= kind; ++k)
    if (kind_code(node, k) != 0) ++ordinal;
  return adres(node, OFFSET) + ordinal;
}

void merge_set_patterns() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    const ElementSet& set = SETS(s);
    for (int row = 1; row <= set.NELEM; ++row) {
      for (int k = 1; k <= carrying_nodes(set); ++k) merge_node(set, element_node(set, row, k));
      // The mid-side nodes of the TLCL plate triangle carry no deflection (kind 3)
      // and no rotation of kind 5: their one unknown is the rotation along the side.
      // In a flat shell the unknowns they do without (a displacement and rotations)
      // depend on the directions of their sides and planes and are settled by the
      // flat-shell step of the build.
      if (set.element_type == ELEM_TLCL && set.problem_type != FLAT_SHELL)
        for (int k = 4; k <= set.NNODE; ++k) {
          const int node = element_node(set, row, k);
          kind_code(node, 3) = 2;
          kind_code(node, 5) = 2;
        }
    }
  }
}

void number_degrees_of_freedom() {
  std::int64_t total = 0;
  for (int node = 1; node <= PROBLEM.NPNODS; ++node) {
    adres(node, OFFSET) = static_cast<std::int32_t>(total);
    total += adres(node, COUNT);
  }
  PROBLEM.NTOTV = static_cast<std::int32_t>(total);
  const int column = PROBLEM.NDOFG + 1;
  for (int c = 0; c < PROBLEM.NVFIX; ++c) {
    const std::int32_t* codes = WORK.ints(PROBLEM.NODPR + c * column);
    const int node = codes[0];
    int f = 0;
    for (int kind = 1; kind <= DOF_KINDS && f < PROBLEM.NDOFG; ++kind) {
      std::int32_t& code = kind_code(node, kind);
      if (code != 1 && code != 2) continue;
      ++f;
      if (codes[f] == 1) code = 2;
    }
  }
}

void fill_fixity() {
  const int column = PROBLEM.NDOFG + 1;
  double* fixed = WORK.reals(PROBLEM.FIXED);
  for (int c = 0; c < PROBLEM.NVFIX; ++c) {
    const double* values = WORK.reals(PROBLEM.PRESC) + c * column;
    const int node = static_cast<int>(values[0]);
    int v = 0;
    for (int kind = 1; kind <= DOF_KINDS && v < PROBLEM.NDOFG; ++kind) {
      const std::int32_t code = kind_code(node, kind);
      if (code == 0) continue;
      ++v;
      if (code == 2) fixed[adres(node, OFFSET) + v - 1] = values[v];
    }
  }
  std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  int equation = 0;
  for (int node = 1; node <= PROBLEM.NPNODS; ++node)
    for (int kind = 1; kind <= DOF_KINDS; ++kind) {
      const std::int32_t code = kind_code(node, kind);
      if (code == 0) continue;
      if (code == 2) iffix[equation] = 1;
      ++equation;
    }
}

}  // namespace vortan
