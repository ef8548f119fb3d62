#include "solve/pivot_rule.h"

#include <cmath>
#include <string>

#include "input/dof_table.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

constexpr int COUNT = 1;   // ADRES word: degrees of freedom of the node
constexpr int OFFSET = 2;  // ADRES word: global offset of its first one

}  // namespace

bool pivot_lost_its_digits(double pivot, double original_diagonal) {
  return !(std::fabs(pivot) > PIVOT_RELATIVE_LIMIT * std::fabs(original_diagonal));
}

DofPlace place_of_position(std::int64_t position) {
  if (PROBLEM.ADRES == 0) return {};
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const std::int64_t first = adres(node, OFFSET);
    if (position >= first && position < first + adres(node, COUNT))
      return {node, static_cast<int>(position - first + 1)};
  }
  return {};
}

DofPlace place_of_equation(const std::int32_t* equation_of_position, std::int32_t equation) {
  if (equation_of_position == nullptr) return {};
  for (std::int64_t g = 0; g < PROBLEM.NTOTV; ++g)
    if (equation_of_position[g] == equation) return place_of_position(g);
  return {};
}

void stop_on_lost_pivot(std::string_view routine, std::int64_t equation, double pivot, double original_diagonal,
                        DofPlace place) {
  write_record(UNIT_LISTING, "PIVOTE SIN CIFRAS SIGNIFICATIVAS=" + fmt::E(pivot, 20, 6) +
                                 " DIAGONAL ORIGINAL=" + fmt::E(original_diagonal, 20, 6));
  std::string line = "ECUACION No.=" + fmt::I(equation, 10);
  if (place.node > 0) line += " NODO=" + fmt::I(place.node, 10) + " GDL=" + fmt::I(place.dof, 3);
  write_record(UNIT_LISTING, line);
  if (place.node > 0)
    ERRSTP(std::string(routine) + ": MECANISMO NODO " + std::to_string(place.node) + " GDL " +
           std::to_string(place.dof));
  ERRSTP(std::string(routine) + ": MECANISMO EN ECUACION " + std::to_string(equation));
}

}  // namespace vortan
