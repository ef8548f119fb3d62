#include "input/added_masses.h"

#include <cstdint>

#include "input/card_integer.h"
#include "input/card_reader.h"
#include "input/dof_table.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

constexpr const char* WRONG_CARD = "ADDMASF : TARJETA EQUIVOCADA MASAS CONC.";

}  // namespace

double ADDMASF(double* xmast) {
  LISTEN("ADDMAS");
  if (!CARD.word_is(1, "MASASANADIDAS")) ERRSTP(WRONG_CARD);
  const std::int32_t indpm = GETINT("INDPM=", 0, " IND. MASAS CONCENTRADAS 1 SI, 0 NO");
  if (indpm <= 0) return 0.0;
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "MASAS CONSENTRADAS EN NODOS (SOLO 2 o 3 GRAD. DE LIB)");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "NODO MASA");
  double sum = 0.0;
  for (;;) {
    LISTEN("ADDMAS");
    if (CARD.word_is(1, "FINMASASANADIDAS")) break;
    if (CARD.NVALU < 2) ERRSTP(WRONG_CARD);
    const std::int32_t node = card_integer(1);
    const double mass = CARD.VALUE(2);
    // A node outside the mesh has no degrees of freedom to take the mass.
    if (node < 1 || node > PROBLEM.NPNODS) ERRSTP("DATOS : VERIFICAR NUMERO DE NODOS");
    // A negative mass would make the mass matrix indefinite: no frequency has a meaning then.
    if (!(mass >= 0.0)) ERRSTP("ADDMASF : MASA CONCENTRADA NEGATIVA");
    write_record(UNIT_LISTING, fmt::I(node, 9) + fmt::E(mass, 16, 6));
    for (std::int32_t m = 0; m < adres(node, 1); ++m) xmast[adres(node, 2) + m] += mass;
    sum += mass;
  }
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "SUMA DE MASA CONS.:" + fmt::E(sum, 16, 8));
  return sum;
}

}  // namespace vortan
