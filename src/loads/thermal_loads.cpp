#include "loads/thermal_loads.h"

#include <string>
#include <string_view>

#include "elements/active_set.h"
#include "elements/conduction_boundary.h"
#include "input/card_reader.h"
#include "input/convection_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "loads/load_reader.h"
#include "loads/point_loads.h"
#include "loads/self_weight.h"
#include "loads/side_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr std::string_view WRONG_CARD = "FUERZAS : TARJETA EQUIVOCADA EN FUERZAS";

bool printing() { return PROBLEM.printing(PRINT_DATA); }

// The set's load rows summed node by node, on a private cursor: one line per node.
void write_nodal_heats(int set) {
  const ElementSet& s = SETS(set);
  std::int32_t cursor = RUN.NXTPOS;
  double* heat = WORK.reals(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "CALOR", REAL_WORDS));
  ZEROR(PROBLEM.NPNODS, heat);
  for (int e = 1; e <= s.NELEM; ++e)
    for (int k = 1; k <= s.NNODE; ++k) heat[element_node(set, e, k) - 1] += load_entry(set, e, k);
  write_record(UNIT_LISTING, " FUERZAS TOTALES NODALES EQUIVALENTES ELEMENTALES");
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node)
    write_record(UNIT_LISTING, fmt::X(1) + fmt::I(node, 9) + fmt::X(5) + fmt::E(heat[node - 1], 12, 4));
}

// Reads one load-type card of a section and runs its reader; false at its end.
bool read_heat_type(int set) {
  LISTEN("FUERZAS");
  if (CARD.word_is(1, "PUNTUALES")) FUE001(set);
  else if (CARD.word_is(1, "GENERACIONINTERNA")) add_self_weight(set);
  else if (CARD.word_is(1, "DISTRIBUIDAS")) FUEREP(set);
  else if (CARD.word_is(1, "FINFUERZAS")) return false;
  else ERRSTP(WRONG_CARD);
  return true;
}

void thermal_section(int set) {
  if (printing()) {
    write_empty(UNIT_LISTING, 3);
    write_record(UNIT_LISTING, fmt::X(20) + "FUERZAS EN SET NUMERO:" + fmt::I(set, 5));
    write_empty(UNIT_LISTING);
  }
  clear_load_rows(set);
  LISTEN("FUERZAS");
  if (!CARD.word_is(1, "FUERZAS")) ERRSTP(WRONG_CARD);
  while (read_heat_type(set)) {
  }
  add_convection_heat(set);
  if (printing()) write_nodal_heats(set);
}

}  // namespace

void add_convection_heat(int set) {
  ConvectionTerms terms;
  for (std::int32_t card = 1; card <= PROBLEM.NFRON; ++card) {
    if (convection_word(card, 1) != set) continue;
    const std::int32_t row = WORK.int_at(PROBLEM.GLELEM + 2 * (convection_word(card, 2) - 1) + 1);
    convection_terms(card, terms);
    for (int a = 0; a < terms.nodes; ++a) load_entry(set, row, terms.positions[a]) += terms.heat[a];
  }
}

void read_thermal_loads() {
  LOADS.reset();
  LISTEN("CARGAS");
  if (!CARD.word_is(1, "CARGAS")) ERRSTP("CARGAS : TARJETA EQUIVOCADA EN FUERZAS");
  bool sections_read[MAX_SETS] = {};
  for (int k = 1; k <= PROBLEM.NSETS; ++k) {
    LISTEN("CARGAS");
    const int set = section_set(sections_read);
    ACTSET(set);
    thermal_section(set);
  }
}

}  // namespace vortan
