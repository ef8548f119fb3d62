#include "post/optimisation_file.h"

#include <cstdint>
#include <string>

#include "input/problem.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/iterative/damped_iteration.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

std::string without_trailing_blanks(const std::string& text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::int32_t free_positions() {
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  std::int32_t count = 0;
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) count += iffix[g] == 1 ? 0 : 1;
  return count;
}

}  // namespace

void write_optimisation_file() {
  const int u = UNIT_OPTIMISATION;
  write_record(u, " VORTAN: ITERACION AMORTIGUADA ELEMENTO A ELEMENTO");
  write_record(u, without_trailing_blanks(PROBLEM.title));
  write_record(u, " PASO=" + fmt::E(DAMPED_STEP, 16, 8) + " AMORTIGUAMIENTO=" + fmt::E(DAMPED_RATIO, 16, 8) +
                      " TOLERANCIA=" + fmt::E(DAMPED_TOLERANCE, 16, 8) + " CICLOS MAXIMOS=" +
                      fmt::I(DAMPED_CYCLE_LIMIT, 8));
  write_record(u, " GDL=" + fmt::I(PROBLEM.NTOTV, 8) + " LIBRES=" + fmt::I(free_positions(), 8));
  write_record(u, "   CICLO         RESIDUO         ENERGIA");
  if (SOLUTION.HISTO != 0) {
    for (std::int32_t k = 1; k <= SOLUTION.iterations; ++k) {
      const DampedCycle c = damped_cycle(k);
      write_record(u, fmt::I(k, 8) + fmt::E(c.residual, 16, 8) + fmt::E(c.energy, 16, 8));
    }
  }
  write_record(u, (SOLUTION.converged ? " CONVERGENCIA EN" : " SIN CONVERGENCIA EN") + fmt::I(SOLUTION.iterations, 8) +
                      " CICLOS");
  write_record(u, " RESIDUO FINAL=" + fmt::E(SOLUTION.residual, 16, 8) + " ENERGIA FINAL=" +
                      fmt::E(SOLUTION.energy, 16, 8));
}

}  // namespace vortan
