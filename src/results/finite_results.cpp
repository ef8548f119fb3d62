#include <cmath>
#include <string>

#include "elements/active_set.h"
#include "results/result_loops.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

void check_finite_element_results(std::string_view task, int element, const double* values, int count,
                                  int per_group) {
  for (int i = 0; i < count; ++i) {
    if (std::isfinite(values[i])) continue;
    const std::int32_t number = element_node(ACTIVE.set, element, 0);
    write_record(UNIT_LISTING, "VALOR NO FINITO=" + fmt::E(values[i], 15, 6) + " ELEMENTO=" + fmt::I(number, 10) +
                                   " SET=" + fmt::I(ACTIVE.set, 5) + " GRUPO=" + fmt::I(i / per_group + 1, 3) +
                                   " COMPONENTE=" + fmt::I(i % per_group + 1, 3));
    ERRSTP(std::string(task) + ": NO FINITO ELEMENTO " + std::to_string(number));
  }
}

}  // namespace vortan
