#include "loads/load_reader.h"

#include "elements/active_set.h"
#include "input/card_integer.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "loads/load_section.h"
#include "loads/nodal_temperatures.h"
#include "loads/point_loads.h"
#include "run/errstp.h"

namespace vortan {

LoadRecord LOADS;

// A set given twice would have its first section cleared (or its loads turned twice)
// while another set got none.
int section_set(bool* sections_read) {
  if (!CARD.word_is(1, "SETNUMERO")) ERRSTP("CARGAS: ESPERO LEER SET_NUMERO");
  const std::int32_t set = card_integer(1);
  if (set < 1 || set > PROBLEM.NSETS) ERRSTP("CARGAS: NUMERO DE SET EQUIVOCADO");
  if (sections_read[set - 1]) ERRSTP("CARGAS: SET REPETIDO EN FUERZAS");
  sections_read[set - 1] = true;
  return set;
}

void read_loads() {
  LOADS.reset();
  LISTEN("CARGAS");
  if (!CARD.word_is(1, "FUERZAS")) ERRSTP("CARGAS : TARJETA EQUIVOCADA EN FUERZAS");
  if (CARD.word_is(3, "PUNTUALES")) {
    read_global_point_loads();
    LOADS.global_point_loads = 1;
  }
  LISTEN("CARGAS");
  if (CARD.word_is(1, "TEMPERATURA")) TEMPER();
  bool sections_read[MAX_SETS] = {};
  for (int k = 1; k <= PROBLEM.NSETS; ++k) {
    if (k > 1) LISTEN("CARGAS");
    const int set = section_set(sections_read);
    ACTSET(set);
    FUERZAS(set);
  }
}

}  // namespace vortan
