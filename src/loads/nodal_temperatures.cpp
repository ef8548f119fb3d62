#include "loads/nodal_temperatures.h"

#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/problem.h"
#include "loads/load_reader.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

bool printing() { return PROBLEM.printing(PRINT_DATA); }

void read_temperature_card(double* temperatures) {
  // The system's messages of this card, as the fatal stop prints them (40 characters).
  if (CARD.NWORD > 0 || CARD.NVALU > 2) ERRSTP("FUE001 : TARJETA EQUIVOCADA EN TEMPERATU");
  const std::int32_t node = card_integer(1);
  if (node < 1 || node > PROBLEM.NPNODS) ERRSTP("TEMPER : TARJETA EQUIVOCADA EN NUMERO DE");
  temperatures[node - 1] += CARD.NVALU >= 2 ? card_real(2, "TEMPER") : 0.0;
}

}  // namespace

void TEMPER() {
  if (printing()) {
    write_empty(UNIT_LISTING, 3);
    write_record(UNIT_LISTING, fmt::X(5) + "TEMPERATURAS IMPUESTAS EN NODOS");
    write_empty(UNIT_LISTING, 2);
  }
  if (LOADS.TEMPE == 0) LOADS.TEMPE = DIRECT(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NPNODS, "TEMPE", REAL_WORDS);
  double* temperatures = WORK.reals(LOADS.TEMPE);
  ZEROR(PROBLEM.NPNODS, temperatures);
  for (LISTEN("TEMPER"); !CARD.word_is(1, "FINTEMPERATURA"); LISTEN("TEMPER"))
    read_temperature_card(temperatures);
  if (printing())
    for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node)
      if (temperatures[node - 1] != 0.0)
        write_record(UNIT_LISTING, fmt::I(node, 5) + fmt::E(temperatures[node - 1], 15, 8));
  LISTEN("CARGAS");
}

}  // namespace vortan
