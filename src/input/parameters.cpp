#include "input/parameters.h"

#include <cmath>
#include <string>

#include "input/card_real.h"
#include "input/card_reader.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

std::string padded(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

// The name proper: the text before the first "=", compared as a 20-character word.
std::string parameter_name(std::string_view text, const char* routine) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos)
    ERRSTP(std::string(routine) + ": = ES UN PARAMETRO DE LA VARIABLE");
  std::string name(text.substr(0, equals));
  const std::size_t end = name.find_last_not_of(' ');
  name.resize(end == std::string::npos ? 0 : end + 1);
  return name.substr(0, WORD_LENGTH);
}

// The first slot whose word is the name, or 0.
int find_slot(const std::string& name) {
  for (int i = 1; i <= CARD.NSLOT; ++i)
    if (CARD.WORD(i) == name) return i;
  return 0;
}

char control_of(std::string_view description) {
  return description.empty() ? ' ' : description.front();
}

bool is_necessary(char control) { return control == '!' || control == '*'; }

bool is_echoed(char control, bool found) {
  if (control == '*' || control == '#') return false;
  return control != '?' || found;
}

// The description as printed: from its second character for "!" and "?".
std::string echo_description(std::string_view description) {
  const char control = control_of(description);
  const std::string_view shown =
      (control == '!' || control == '?') ? description.substr(1) : description;
  return padded(shown, 40);
}

std::string tag_of(const std::string& name) {
  const std::string five = padded(name, 5);
  if (five == "     ") return std::string(7, ' ');
  return "(" + five + ")";
}

[[noreturn]] void missing_parameter(const std::string& name, std::string_view description) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(4) + "*** ERROR: " + padded(name, 5) + " = " +
                                 padded(description.substr(description.empty() ? 0 : 1), 34));
  write_record(UNIT_LISTING, fmt::X(15) + "ES UN PARAMETRO NECESARIO, ESPECIFIQUELO !");
  ERRSTP("GETINT: NO ENCUENTRA PARAMETRO INISP.");
}

// Looks the parameter up; on return found tells whether the card carried it.
double look_up(std::string_view text, double default_value, std::string_view description,
               const char* routine, std::string& name, bool& found) {
  name = parameter_name(text, routine);
  const int slot = find_slot(name);
  found = slot != 0;
  if (!found && is_necessary(control_of(description))) missing_parameter(name, description);
  return found ? CARD.VALUE(slot) : default_value;
}

bool fixed_form(double x) {
  if (x == 0.0) return true;
  const double magnitude = std::log10(std::fabs(x + 1.0e-20)) + 1.0;
  return magnitude >= -3.0 && magnitude <= 7.0;
}

}  // namespace

std::int32_t GETINT(std::string_view text, std::int32_t default_value, std::string_view description) {
  std::string name;
  bool found = false;
  const double value = look_up(text, default_value, description, "GETINT", name, found);
  // A value that no 32-bit integer holds would wrap into a meaningless count.
  if (!(std::fabs(value) < 2147483648.0)) ERRSTP("GETINT: VALOR ENTERO FUERA DE RANGO");
  const std::int32_t result = found ? static_cast<std::int32_t>(std::trunc(value)) : default_value;
  if (is_echoed(control_of(description), found))
    write_record(UNIT_LISTING, fmt::X(3) + echo_description(description) + fmt::X(2) +
                                   std::string(15, '.') + fmt::X(1) + fmt::I(result, 8) +
                                   fmt::X(1) + tag_of(name));
  return result;
}

double GETREA(std::string_view text, double default_value, std::string_view description) {
  std::string name;
  bool found = false;
  const double result = look_up(text, default_value, description, "GETREA", name, found);
  if (found && !parameter_in_range(result)) stop_out_of_range("GETREA", result, name);
  if (is_echoed(control_of(description), found)) {
    const std::string number = fixed_form(result)
                                   ? std::string(10, '.') + fmt::X(1) + fmt::F(result, 13, 5)
                                   : std::string(5, '.') + fmt::X(1) + fmt::E(result, 18, 5);
    write_record(UNIT_LISTING, fmt::X(3) + echo_description(description) + fmt::X(2) + number +
                                   fmt::X(1) + tag_of(name));
  }
  return result;
}

int ACTIVA(std::string_view word) {
  if (word == "ACTIVO") return 1;
  if (word == "NOACTIVO") return 0;
  ERRSTP("INPEST: ACTIVACION DESCONOCIDA");
}

void ECHWRD(int n, std::string_view description, std::string_view word) {
  std::string shown(word.substr(0, 10));
  const std::size_t end = shown.find_last_not_of(' ');
  shown.resize(end == std::string::npos ? 0 : end + 1);
  const std::string field = fmt::A(shown, 7);
  if (n == 0)
    write_record(UNIT_LISTING, fmt::X(4) + padded(description, 40) + fmt::X(2) +
                                   std::string(14, '.') + fmt::X(6) + field);
  else
    write_record(UNIT_LISTING, fmt::I(n, 5) + fmt::X(3) + padded(description, 40) + fmt::X(2) +
                                   std::string(10, '.') + fmt::X(2) + field);
}

}  // namespace vortan
