#include "solve/assembly.h"

#include <algorithm>
#include <cmath>

#include "input/element_sets.h"
#include "input/problem.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/supports.h"

namespace vortan {

namespace {

void add_springs_to_full_matrix(double* astif, std::int32_t ntotv) {
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) {
    const std::int64_t g = spring_position(i) - 1;
    astif[g * ntotv + g] += spring_stiffness(i);
  }
}

double add_links_to_full_matrix(double* astif, std::int32_t ntotv) {
  if (PROBLEM.MGDLL <= 0) return 0.0;
  double largest = 0.0;
  for (std::int64_t g = 0; g < ntotv; ++g) largest = std::max(largest, std::fabs(astif[g * ntotv + g]));
  const double penalty = LINK_PENALTY_FACTOR * largest;
  double matrix[4];
  link_matrix(penalty, matrix);
  for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
    std::int32_t pair[2];
    link_positions(i, pair[0], pair[1]);
    add_to_full_matrix(matrix, 2, pair, astif, ntotv);
  }
  return penalty;
}

// The diagonal entry a matrix adds at a prescribed position, kept for the penalty.
void keep_prescribed_diagonal(const double* matrix, int n, const std::int32_t* positions, SkylineSystem& s) {
  if (s.prescribed_diagonal == nullptr) return;
  for (int i = 0; i < n; ++i) {
    const std::int32_t e = positions[i] > 0 ? s.leqns[positions[i] - 1] : 0;
    if (e < 0) s.prescribed_diagonal[-e - 1] += matrix[i + static_cast<std::ptrdiff_t>(i) * n];
  }
}

double largest_skyline_diagonal(const SkylineSystem& s) {
  double largest = 0.0;
  for (std::int32_t i = 0; i < s.neqns; ++i) largest = std::max(largest, std::fabs(s.amatr[i]));
  if (s.prescribed_diagonal != nullptr)
    for (std::int32_t i = 0; i < s.prescribed; ++i) largest = std::max(largest, std::fabs(s.prescribed_diagonal[i]));
  return largest;
}

}  // namespace

void add_element_loads(int element, const std::int32_t* positions, int n, double* aslod) {
  const ElementSet& set = SETS(ACTIVE.set);
  if (set.CARGA == 0) return;
  for (int i = 0; i < n; ++i)
    if (positions[i] > 0) aslod[positions[i] - 1] += element_load(set, element, i);
}

void add_to_full_matrix(const double* matrix, int n, const std::int32_t* positions, double* astif,
                        std::int32_t ntotv) {
  for (int j = 0; j < n; ++j) {
    if (positions[j] < 1) continue;
    double* column = astif + static_cast<std::int64_t>(positions[j] - 1) * ntotv;
    const double* source = matrix + static_cast<std::ptrdiff_t>(j) * n;
    for (int i = 0; i < n; ++i)
      if (positions[i] > 0) column[positions[i] - 1] += source[i];
  }
}

double assemble_full_system(double* astif, double* aslod) {
  const std::int32_t ntotv = PROBLEM.NTOTV;
  ZEROR(std::int64_t{ntotv} * ntotv, astif);
  ZEROR(ntotv, aslod);
  for_each_element_stiffness([&](int e, const std::int32_t* positions, int n, const double* k) {
    add_element_loads(e, positions, n, aslod);
    add_to_full_matrix(k, n, positions, astif, ntotv);
  });
  add_springs_to_full_matrix(astif, ntotv);
  return add_links_to_full_matrix(astif, ntotv);
}

void add_to_skyline(const double* matrix, int n, const std::int32_t* positions, SkylineSystem& s) {
  keep_prescribed_diagonal(matrix, n, positions, s);
  double* upper = s.amatr + s.neqns;
  for (int j = 0; j < n; ++j) {
    if (positions[j] < 1) continue;
    const std::int32_t c = s.leqns[positions[j] - 1];
    const double* column = matrix + static_cast<std::ptrdiff_t>(j) * n;
    if (c < 0) {
      // A prescribed column: its entries in free rows act on the prescribed value.
      const double value = s.fixed[positions[j] - 1];
      if (value == 0.0) continue;
      for (int i = 0; i < n; ++i) {
        const std::int32_t r = positions[i] > 0 ? s.leqns[positions[i] - 1] : 0;
        if (r > 0) s.rhs[r - 1] -= column[i] * value;
      }
      continue;
    }
    if (c == 0) continue;
    const std::int64_t end = s.pointers[c];  // entry (r, c) sits at end - (c - r)
    for (int i = 0; i < n; ++i) {
      const std::int32_t r = positions[i] > 0 ? s.leqns[positions[i] - 1] : 0;
      if (r < 1 || r > c) continue;
      if (r == c) s.amatr[c - 1] += column[i];
      else upper[end - (c - r)] += column[i];
    }
  }
}

double assemble_skyline_system(SkylineSystem& s, double* aslod) {
  for_each_element_stiffness([&](int e, const std::int32_t* positions, int n, const double* k) {
    add_element_loads(e, positions, n, aslod);
    add_to_skyline(k, n, positions, s);
  });
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) {
    const std::int32_t g = spring_position(i);
    const double k = spring_stiffness(i);
    add_to_skyline(&k, 1, &g, s);
  }
  double penalty = 0.0;
  if (PROBLEM.MGDLL > 0) {
    penalty = LINK_PENALTY_FACTOR * largest_skyline_diagonal(s);
    double matrix[4];
    link_matrix(penalty, matrix);
    for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
      std::int32_t pair[2];
      link_positions(i, pair[0], pair[1]);
      add_to_skyline(matrix, 2, pair, s);
    }
  }
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g)
    if (s.leqns[g] > 0) s.rhs[s.leqns[g] - 1] += aslod[g];
  return penalty;
}

}  // namespace vortan
