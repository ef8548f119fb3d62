#include "solve/finite_solution.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "solve/pivot_rule.h"

namespace vortan {

namespace {

void check_finite(const double* values, std::string_view message) {
  for (std::int64_t g = 0; g < PROBLEM.NTOTV; ++g) {
    if (std::isfinite(values[g])) continue;
    const DofPlace place = place_of_position(g);
    write_record(UNIT_LISTING, "VALOR NO FINITO=" + fmt::E(values[g], 15, 6) + " ECUACION No.=" +
                                   fmt::I(g + 1, 10) + " NODO=" + fmt::I(place.node, 10) + " GDL=" +
                                   fmt::I(place.dof, 3));
    ERRSTP(std::string(message) + std::to_string(g + 1));
  }
}

}  // namespace

void check_finite_displacements(const double* despl) { check_finite(despl, "SOLUCION: DESPL. NO FINITO EC. "); }

void check_finite_reactions(const double* react) { check_finite(react, "SOLUCION: REACC. NO FINITA EC. "); }

}  // namespace vortan
