#include "solve/profile_matrix.h"

#include <algorithm>

#include "elements/active_set.h"
#include "input/problem.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/equation_numbering.h"
#include "solve/skyline_profile.h"

namespace vortan {

ProfileRecord PROFILE;

namespace {

std::int32_t* equations_of(const std::int32_t* positions, int n, std::int32_t* equations) {
  const std::int32_t* mhigh = WORK.ints(PROFILE.MHIGH);
  for (int k = 0; k < n; ++k) equations[k] = positions[k] > 0 ? mhigh[positions[k] - 1] : 0;
  return equations;
}

}  // namespace

int element_profile_equations(int element, std::int32_t* equations) {
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  const int n = element_positions(element, positions);
  equations_of(positions, n, equations);
  return n;
}

void build_stiffness_profile() {
  const std::int32_t ntotv = PROBLEM.NTOTV;
  PROFILE.MHIGH = DIRECT(RUN.NXTPOS, RUN.MEMORY, ntotv, "MHIGH", INT_WORDS);
  PROFILE.NHIGH = DIRECT(RUN.NXTPOS, RUN.MEMORY, ntotv, "NHIGH", INT_WORDS);
  std::int32_t* heights = WORK.ints(PROFILE.NHIGH);
  PROFILE.NEQNS = number_free_equations(WORK.ints(PROBLEM.IFFIX), ntotv, WORK.ints(PROFILE.MHIGH), heights);
  std::int32_t equations[MAX_ELEMENT_VARIABLES];
  for_each_element([&](int, const std::int32_t* positions, int n) {
    skyline_column_height(equations_of(positions, n, equations), n, heights);
  });
  // MAXAD(2) exists even without equations.
  const std::int64_t entries = std::max<std::int64_t>(std::int64_t{PROFILE.NEQNS} + 1, 2);
  PROFILE.MAXAD = DIRECT(RUN.NXTPOS, RUN.MEMORY, entries, "MAXAD", INT_WORDS);
  PROFILE.NWKTL = diagonal_addresses(heights, PROFILE.NEQNS, WORK.ints(PROFILE.MAXAD), PROFILE.half_band);
  PROFILE.STIFF = DIRECT(RUN.NXTPOS, RUN.MEMORY, PROFILE.NWKTL + 1, "STIFF", REAL_WORDS);
  ZEROR(PROFILE.NWKTL + 1, WORK.reals(PROFILE.STIFF));
}

void add_to_profile(const double* matrix, int n, const std::int32_t* equations, const std::int32_t* maxad,
                    double* stiff) {
  for (int j = 0; j < n; ++j) {
    const std::int32_t c = equations[j];
    if (c < 1) continue;
    const double* column = matrix + static_cast<std::ptrdiff_t>(j) * n;
    const std::int64_t diagonal = maxad[c - 1] - 1;  // 0-based address of (c, c)
    for (int i = 0; i < n; ++i) {
      const std::int32_t r = equations[i];
      if (r >= 1 && r <= c) stiff[diagonal + (c - r)] += column[i];
    }
  }
}

void assemble_profile_stiffness() {
  double* stiff = WORK.reals(PROFILE.STIFF);
  ZEROR(PROFILE.NWKTL + 1, stiff);
  const std::int32_t* maxad = WORK.ints(PROFILE.MAXAD);
  std::int32_t equations[MAX_ELEMENT_VARIABLES];
  for_each_element_stiffness([&](int, const std::int32_t* positions, int n, const double* k) {
    add_to_profile(k, n, equations_of(positions, n, equations), maxad, stiff);
  });
}

void assemble_lumped_mass(double* xmast) {
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    int n = 0;
    run_set_pass(
        s, ElementTask::mass_matrix,
        [&](int e) {
          n = element_positions(e, positions);
          gather_element(e);
        },
        [&](int) {
          const double* m = WORK.reals(ACTIVE.XMASA);
          for (int i = 0; i < n; ++i)
            if (positions[i] > 0) xmast[positions[i] - 1] += m[i + static_cast<std::ptrdiff_t>(i) * n];
        });
  }
}

void gather_equations(const double* global, double* compact) {
  const std::int32_t* mhigh = WORK.ints(PROFILE.MHIGH);
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g)
    if (mhigh[g] > 0) compact[mhigh[g] - 1] = global[g];
}

void scatter_equations(const double* compact, double* global) {
  const std::int32_t* mhigh = WORK.ints(PROFILE.MHIGH);
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) global[g] = mhigh[g] > 0 ? compact[mhigh[g] - 1] : 0.0;
}

}  // namespace vortan
