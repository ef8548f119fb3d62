#include <cmath>

#include "elements/element_pass.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "results/result_loops.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// The single-precision value 1.0E-10 widened to double.
constexpr double TABLE_THRESHOLD = 1.000000013351432e-10;

bool prints_forces(int set) { return SETS(set).print[SET_PRINT_FORCES] == 1; }

// Adds the element force vector at the element's global positions.
void scatter_forces(int element, double* aslol, double* aslod) {
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  const int n = element_positions(element, positions);
  const double* f = WORK.reals(ACTIVE.FUERZ);
  for (int i = 0; i < n; ++i) {
    if (positions[i] <= 0) continue;
    aslol[positions[i] - 1] += f[i];
    aslod[positions[i] - 1] += f[i];
  }
}

}  // namespace

void write_nodal_vector_table(int set, const double* vector, int length) {
  write_empty(UNIT_LISTING, 4);
  write_record(UNIT_LISTING, fmt::X(5) + (set > 0 ? "FUERZAS INTERNAS EN SET:" + fmt::I(set, 8)
                                                  : std::string("FUERZAS INTERNAS GLOBALES")));
  write_empty(UNIT_LISTING, 2);
  double largest = 0.0;
  for (int j = 0; j < length; ++j) largest = std::fmax(largest, std::fabs(vector[j]));
  const double threshold = largest > TABLE_THRESHOLD ? TABLE_THRESHOLD * largest : TABLE_THRESHOLD;
  for (int j = 0; j < length; ++j) {
    const double value = std::fabs(vector[j]) > threshold ? vector[j] : 0.0;
    write_record(UNIT_LISTING, fmt::I(j + 1, 8) + fmt::E(value, 15, 8));
  }
}

void internal_force_loop(const double* displacements, double* aslod) {
  const std::int64_t n = PROBLEM.NTOTV;
  const std::int32_t aslol_pos = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "ASLOL", REAL_WORDS);
  double* aslol = WORK.reals(aslol_pos);
  ZEROR(n, aslod);
  if (prints_forces(1)) {
    write_empty(UNIT_LISTING, 3);
    write_record(UNIT_LISTING, " FUERZAS INTERNAS");
    write_empty(UNIT_LISTING, 3);
  }
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    ZEROR(n, aslol);
    const bool printing = prints_forces(set);
    if (printing) {
      write_empty(UNIT_LISTING, 2);
      write_record(UNIT_LISTING, fmt::X(5) + "FUERZAS INTERNAS ELEMENTALES EN SET:" + fmt::I(set, 5));
      write_empty(UNIT_LISTING);
    }
    run_set_pass(
        set, ElementTask::internal_forces, [&](int element) { gather_element(element, displacements); },
        [&](int element) {
          check_finite_element_results("FUERINTER", element, WORK.reals(ACTIVE.FUERZ), ACTIVE.NEVAB, ACTIVE.NDOFN);
          scatter_forces(element, aslol, aslod);
        });
    if (printing) write_nodal_vector_table(set, aslol, static_cast<int>(n));
  }
  if (PROBLEM.printing(PRINT_FORCES)) write_nodal_vector_table(0, aslod, static_cast<int>(n));
}

}  // namespace vortan
