#include "loads/point_loads.h"

#include <algorithm>
#include <string>

#include "elements/active_set.h"
#include "elements/point_geometry.h"
#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr int PRINTED_COMPONENTS = 6;
// 2 pi r below this single-precision 1e-10 is a node on the axis: factor 1.
constexpr double AXIS_CIRCUMFERENCE = 1.000000013351432e-10;

bool printing() { return PROBLEM.printing(PRINT_DATA); }

std::string load_line(std::int32_t node, int width, const double* values, int count) {
  std::string line = fmt::I(node, width);
  for (int i = 0; i < std::min(count, PRINTED_COMPONENTS); ++i) line += fmt::E(values[i], 12, 5);
  return line;
}

// Global point loads: one row of `width` components per node, node after node.
struct GlobalLoads {
  double* rows = nullptr;
  int width = 0;
  double* row(std::int32_t node) const { return rows + std::int64_t{node - 1} * width; }
};

void read_global_card(const GlobalLoads& loads) {
  if (CARD.NWORD > 0) ERRSTP("CARGAS : TARJETA EQUIVOCADA EN PASO 1");
  const std::int32_t node = card_integer(1);
  if (node < 1 || node > PROBLEM.NPNODS) ERRSTP("CARGAS : TARJETA EQUIVOCADA EN PASO 2");
  // A later card for the node replaces the earlier one.
  double* row = loads.row(node);
  for (int j = 0; j < loads.width; ++j) row[j] = j + 2 <= CARD.NVALU ? card_real(j + 2, "CARGAS") : 0.0;
  if (printing()) write_record(UNIT_LISTING, load_line(node, 5, row, loads.width));
}

// Every non-zero component goes to the first element of the set (in element order)
// holding its node and is then taken out of the table.
void move_into_set(int set, const GlobalLoads& loads) {
  const ElementSet& s = SETS(set);
  const int nodes = loaded_nodes(set);
  const int components = std::min<int>(s.NDOFN, loads.width);
  for (int e = 1; e <= s.NELEM; ++e)
    for (int k = 1; k <= nodes; ++k) {
      const std::int32_t node = element_node(set, e, k);
      if (node < 1 || node > PROBLEM.NPNODS) continue;
      double* row = loads.row(node);
      for (int j = 0; j < components; ++j) {
        if (row[j] == 0.0) continue;
        load_entry(set, e, (k - 1) * s.NDOFN + j + 1) += row[j];
        row[j] = 0.0;
      }
    }
}

// A component left in the table had no element variable to go to: the load would be
// lost without a word.
void check_every_load_placed(const GlobalLoads& loads) {
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const double* row = loads.row(node);
    if (std::all_of(row, row + loads.width, [](double v) { return v == 0.0; })) continue;
    write_record(UNIT_LISTING, " CARGA PUNTUAL SIN ELEMENTO EN EL NODO:" + fmt::I(node, 8));
    ERRSTP("CARGAS: CARGA PUNTUAL SIN ELEMENTO");
  }
}

// The first element (row and position) of a set that holds each node, so that a long
// list of point loads does not search the connectivity once per card.
struct FirstElements {
  std::int32_t* element = nullptr;
  std::int32_t* position = nullptr;
};

FirstElements index_first_elements(int set, std::int32_t cursor) {
  const std::int64_t n = PROBLEM.NPNODS;
  FirstElements first;
  first.element = WORK.ints(DIREC1(cursor, RUN.MEMORY, n, "PUNEL", INT_WORDS));
  first.position = WORK.ints(DIREC1(cursor, RUN.MEMORY, n, "PUNPO", INT_WORDS));
  ZEROI(n, first.element);
  const ElementSet& s = SETS(set);
  const int nodes = loaded_nodes(set);
  for (int e = 1; e <= s.NELEM; ++e)
    for (int k = 1; k <= nodes; ++k) {
      const std::int32_t node = element_node(set, e, k);
      if (node < 1 || node > PROBLEM.NPNODS || first.element[node - 1] != 0) continue;
      first.element[node - 1] = e;
      first.position[node - 1] = k;
    }
  return first;
}

void write_set_heading(const ElementSet& set) {
  write_record(UNIT_LISTING, " CARGAS PUNTUALES");
  // Heat-conduction sets carry a dimension code in place of the problem type.
  if (set.family == ElementFamily::conduction) {
    write_record(UNIT_LISTING, " NODO    CALOR");
    return;
  }
  switch (set.problem_type) {
    case 1: case 2: case 3: case 4:
      write_record(UNIT_LISTING, " NODO    DIR-X    DIR.-Y    DIR.-Z");
      break;
    case 5: write_record(UNIT_LISTING, " NODO    DIR-Z   DIR.-Tx   DIR.-Ty"); break;
    case 7: write_record(UNIT_LISTING, " NODO    DIR-X    DIR.-Y    DIR.-T"); break;
    case 8:
      write_record(UNIT_LISTING, std::string(" NODO    DIR.-X    DIR.-Y    DIR.-Z    MOM.-X    MOM.-Y") +
                                     "    MOM.-Z");
      break;
    default: break;
  }
}

// Solids and shells of revolution take point loads per unit of circumference: the
// factor 2 pi r turns them into the load of the whole ring (1 on the axis). Heat
// conduction sets carry a dimension code in place of the problem type.
double ring_factor(const ElementSet& set, std::int32_t node) {
  const bool ring = set.family == ElementFamily::continuum ? set.problem_type == AXISYMMETRIC
                                                          : set.family == ElementFamily::shell_of_revolution;
  if (!ring) return 1.0;
  const double circumference = CIRCUMFERENCE_FACTOR * node_coordinate(node, 0);
  return circumference < AXIS_CIRCUMFERENCE ? 1.0 : circumference;
}

void read_set_card(int set, int cards, const FirstElements& first) {
  const ElementSet& s = SETS(set);
  if (CARD.NWORD > 0 || CARD.NVALU < 1 + s.NDOFN) ERRSTP("FUE001 : TARJETA EQUIVOCADA EN PASO 1");
  const std::int32_t node = card_integer(1);
  if (cards > PROBLEM.NPNODS || node < 1 || node > PROBLEM.NPNODS)
    ERRSTP("FUE001 : TARJETA EQUIVOCADA EN PASO 2");
  double components[DOF_KINDS] = {};
  const int count = std::min<int>(s.NDOFN, DOF_KINDS);
  for (int i = 0; i < count; ++i) components[i] = card_real(i + 2, "FUE001");
  if (printing()) write_record(UNIT_LISTING, load_line(node, 7, components, count));
  const std::int32_t element = first.element[node - 1];
  if (element == 0) ERRSTP("FUE001: NODO SIN ELEMENTO EN EL SET");
  const double factor = ring_factor(s, node);
  for (int i = 0; i < count; ++i) components[i] *= factor;
  add_nodal_load(set, element, first.position[node - 1], components, count);
}

}  // namespace

void read_global_point_loads() {
  GlobalLoads loads;
  // Every set is prepared first, so the element work area exists before the table is
  // laid out past the main cursor.
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    ACTSET(s);
    loads.width = std::max<int>(loads.width, SETS(s).NDOFN);
  }
  std::int32_t cursor = RUN.NXTPOS;
  const std::int64_t count = std::int64_t{PROBLEM.NPNODS} * loads.width;
  loads.rows = WORK.reals(DIRECT(cursor, RUN.MEMORY, count, "PUNTC", REAL_WORDS));
  ZEROR(count, loads.rows);
  if (printing()) {
    write_empty(UNIT_LISTING, 3);
    write_record(UNIT_LISTING, " CARGAS PUNTUALES");
    write_empty(UNIT_LISTING);
  }
  for (LISTEN("CARGAS"); !CARD.word_is(1, "FINPUNTUALESGLOBALES"); LISTEN("CARGAS"))
    read_global_card(loads);
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    ACTSET(s);
    clear_load_rows(s);
    move_into_set(s, loads);
  }
  check_every_load_placed(loads);
}

void FUE001(int set) {
  if (printing()) write_set_heading(SETS(set));
  const FirstElements first = index_first_elements(set, RUN.NXTPOS);
  int cards = 0;
  for (const char* name = "FUE001";; name = "DATOS") {
    LISTEN(name);
    if (CARD.word_is(1, "FINPUNTUALES")) return;
    read_set_card(set, ++cards, first);
  }
}

}  // namespace vortan
