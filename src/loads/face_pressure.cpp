#include "loads/face_pressure.h"

#include <string>

#include "elements/active_set.h"
#include "elements/plate/plate_element.h"
#include "elements/shell/flat_shell_tasks.h"
#include "input/card_integer.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

bool printing() { return PROBLEM.printing(PRINT_DATA); }

void write_heading() {
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, fmt::X(5) + "CARGAS SOBRE CADA UNO DE LOS ELEMENTOS CARGADOS");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "ELEMENTO   CARGA NORMAL A CARA");
}

// The plate and flat-shell elements carry the load; any other set stops.
void require_plate_or_shell(const ElementSet& s) {
  const bool plate = s.family == ElementFamily::plate || s.family == ElementFamily::flat_shell;
  if (!plate || !is_plate_element(s.element_type)) ERRSTP("FUEREU : SET SIN CARGAS REPARTIDAS");
}

// The loads of the set's elements, one per element row, on a private cursor.
double* read_face_loads(const ElementSet& s) {
  std::int32_t cursor = RUN.NXTPOS;
  double* loads = WORK.reals(DIREC1(cursor, RUN.MEMORY, s.NELEM, "CARGR", REAL_WORDS));
  ZEROR(s.NELEM, loads);
  const int allowed = GETINT("NELCA=", 0, "NUMERO DE CARAS CARGADAS");
  if (printing()) write_heading();
  int cards = 0;
  for (LISTEN("FUEREU"); !CARD.word_is(1, "FINCARGASREPARTIDAS"); LISTEN("FUEREU")) {
    if (CARD.NWORD > 0 || CARD.NVALU < 2) ERRSTP("FUEREU : TARJETA EQUIVOCADA PASO 1");
    const std::int32_t element = card_integer(1);
    if (++cards > allowed || element < 1 || element > s.NELEM) ERRSTP("FUEREU : TARJETA EQUIVOCADA PASO 2");
    loads[element - 1] = CARD.VALUE(2);
    if (printing()) write_record(UNIT_LISTING, fmt::X(5) + fmt::I(element, 8) + fmt::X(3) + fmt::E(CARD.VALUE(2), 15, 6));
  }
  return loads;
}

}  // namespace

void FUEREU(int set) {
  const ElementSet& s = SETS(set);
  require_plate_or_shell(s);
  const double* loads = read_face_loads(s);
  const ActiveSetRecord& a = ACTIVE;
  const int corners = plate_corners(s.element_type);
  for (int e = 1; e <= s.NELEM; ++e) {
    gather_element(e);
    if (s.family == ElementFamily::plate) {
      double forces[4];
      plate_pressure_forces(e, a.reals(a.COREL), loads[e - 1], forces);
      for (int k = 0; k < corners; ++k) load_entry(set, e, k * s.NDOFN + 1) += forces[k];
    } else {
      double forces[12];
      flat_shell_pressure_forces(e, loads[e - 1], forces);
      for (int k = 0; k < corners; ++k)
        for (int i = 0; i < 3; ++i) load_entry(set, e, k * s.NDOFN + i + 1) += forces[3 * k + i];
    }
  }
}

}  // namespace vortan
