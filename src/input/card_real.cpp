#include "input/card_real.h"

#include <cmath>
#include <string>

#include "input/card_reader.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

bool card_value_in_range(double value) { return std::fabs(value) < INPUT_REAL_LIMIT; }

bool parameter_in_range(double value) {
  return value == 0.0 || (std::fabs(value) >= INPUT_REAL_FLOOR && std::fabs(value) < INPUT_REAL_LIMIT);
}

void stop_out_of_range(std::string_view routine, double value, std::string_view name) {
  std::string line = fmt::X(4) + "*** ERROR: ";
  if (!name.empty()) line += std::string(name) + " = ";
  line += fmt::E(value, 15, 6);
  line += name.empty() ? "  SE ADMITEN VALORES FINITOS DE MODULO MENOR QUE 1.0E+75"
                       : "  SE ADMITE 0 O UN MODULO DE 1.0E-75 A 1.0E+75 (EXCLUIDO)";
  write_record(UNIT_LISTING, line);
  ERRSTP(std::string(routine) + ": VALOR FUERA DE RANGO");
}

double card_real(int slot, std::string_view routine) {
  const double value = slot >= 1 && slot <= CARD_SLOTS ? CARD.VALUE(slot) : 0.0;
  if (!card_value_in_range(value)) stop_out_of_range(routine, value);
  return value;
}

}  // namespace vortan
