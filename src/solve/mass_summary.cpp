#include "solve/mass_summary.h"

#include <algorithm>
#include <string>

#include "input/element_sets.h"
#include "input/problem.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

constexpr int VALUES_PER_LINE = 6;

}  // namespace

void print_mass_summary(const double* xmast, const double* compact, std::int32_t neqns) {
  double free_sum = 0.0, total = 0.0;
  for (std::int32_t i = 0; i < neqns; ++i) free_sum += compact[i];
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) total += xmast[g];
  int largest_type = 0, largest_dofs = 1;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    largest_type = std::max(largest_type, SETS(s).problem_type);
    largest_dofs = std::max(largest_dofs, static_cast<int>(SETS(s).NDOFN));
  }
  if (largest_type < PLATE) total /= largest_dofs;
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "SUMA DE MASA LIBRE:" + fmt::E(free_sum, 16, 8));
  write_record(UNIT_LISTING, fmt::X(5) + "SUMA DE MASA TOTAL:" + fmt::E(total, 16, 8));
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "MASA POR GRADO DE LIBERTAD ACTIVO");
  for (std::int32_t first = 0; first < neqns; first += VALUES_PER_LINE) {
    std::string line = fmt::I(first + 1, 8);
    for (std::int32_t i = first; i < std::min(neqns, first + VALUES_PER_LINE); ++i) line += fmt::E(compact[i], 14, 6);
    write_record(UNIT_LISTING, line);
  }
}

}  // namespace vortan
