#include "input/support_readers.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// Single precision degrees-to-radians factor of the inclined supports.
constexpr double SUPPORT_DEGREES_TO_RADIANS = 0.01745329238474369;
constexpr std::string_view SUPPORT_BLOCK_ERROR = "ERROR EN LECTURA DE APOYOS INCLINADOS";
constexpr std::string_view LINK_BLOCK_ERROR = "ERROR EN LECTURA DE GRADOS DE LIBERTAD LIGADOS";

// The checks of one reader, with its own stop messages.
struct DataChecks {
  std::string_view wrong_card;
  std::string_view bad_node;
  std::string_view bad_direction;
};

constexpr DataChecks INCLINED{"LEAPYO: TARJETA EQUIVOCADA EN LEAPYO", "LEAPYO: NODO NO EXISTENTE", ""};
constexpr DataChecks ELASTIC{"LERESO: TARJETA EQUIVOCADA EN LERESO", "LERESO: NODO NO EXISTENTE",
                             "LERESO: DIRECCION NO EXISTENTE"};
constexpr DataChecks LINKED{"LEGDLL: TARJETA EQUIVOCADA EN LEGDLL", "LEGDLL: NODO NO EXISTENTE",
                            "LEGDLL: DIRECCION NO EXISTENTE"};

void expect_card(std::string_view routine, std::string_view keyword, std::string_view message) {
  LISTEN(routine);
  if (!CARD.word_is(1, keyword)) ERRSTP(message);
}

// Reads a data card that must hold at least count numbers: a missing number would
// otherwise be taken as 0 without a word.
void read_data_card(std::string_view routine, int count, const DataChecks& checks) {
  LISTEN(routine);
  if (CARD.NVALU < count) ERRSTP(checks.wrong_card);
}

std::int32_t node_in_slot(int slot, const DataChecks& checks) {
  const std::int32_t node = card_integer(slot);
  if (node < 1 || node > PROBLEM.NPNODS) ERRSTP(checks.bad_node);
  return node;
}

std::int32_t direction_in_slot(int slot, const DataChecks& checks) {
  const std::int32_t direction = card_integer(slot);
  if (direction < 1 || direction > PROBLEM.NDOFG) ERRSTP(checks.bad_direction);
  return direction;
}

void write_block_heading(std::string_view title, std::string_view columns) {
  write_empty(UNIT_LISTING, 3);
  write_record(UNIT_LISTING, fmt::X(10) + std::string(title));
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(10) + std::string(columns));
}

}  // namespace

void LEAPYO() {
  expect_card("LEAPYO", "APOYOSINCLINADOS", SUPPORT_BLOCK_ERROR);
  write_block_heading("APOYOS INCLINADOS", "NODOS" + fmt::X(10) + "ANGULO");
  for (std::int32_t i = 0; i < PROBLEM.MAPOY; ++i) {
    read_data_card("LEAPYO", 2, INCLINED);
    const std::int32_t node = node_in_slot(1, INCLINED);
    const double angle = card_real(2, "LEAPYO");
    WORK.int_at(PROBLEM.APOYO + i) = node;
    WORK.reals(PROBLEM.APANG)[i] = angle * SUPPORT_DEGREES_TO_RADIANS;
    write_record(UNIT_LISTING, fmt::X(10) + fmt::I(node, 5) + fmt::F(angle, 16, 6));
  }
  expect_card("LEAPYO", "FINAPOYOSINCLINADOS", SUPPORT_BLOCK_ERROR);
}

void LERESO() {
  expect_card("LERESO", "APOYOSESLATICOS", SUPPORT_BLOCK_ERROR);
  write_block_heading("APOYOS ELASTICOS", "NODOS" + fmt::X(3) + "DIREC." + fmt::X(10) + "VALOR");
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) {
    // The data cards are echoed under the name of the inclined-support reader.
    read_data_card("LEAPYO", 3, ELASTIC);
    const std::int32_t node = node_in_slot(1, ELASTIC);
    const std::int32_t direction = direction_in_slot(2, ELASTIC);
    const double value = card_real(3, "LERESO");
    WORK.int_at(PROBLEM.RESOR + i) = node;
    WORK.int_at(PROBLEM.REDIR + i) = direction;
    WORK.reals(PROBLEM.REVAL)[i] = value;
    write_record(UNIT_LISTING, fmt::X(10) + fmt::I(node, 5) + fmt::I(direction, 9) + fmt::E(value, 15, 6));
  }
  expect_card("LERESO", "FINAPOYOSESLATICOS", SUPPORT_BLOCK_ERROR);
}

void LEGDLL() {
  expect_card("LEGDLL", "GRADOSDELIBERTADLIGA", LINK_BLOCK_ERROR);
  write_block_heading("GRADOS DE LIBERTAD LIGADOS", "NODOS" + fmt::X(11) + "DIREC.");
  for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
    read_data_card("LEGDLL", 3, LINKED);
    const std::int32_t first = node_in_slot(1, LINKED);
    const std::int32_t second = node_in_slot(2, LINKED);
    const std::int32_t direction = direction_in_slot(3, LINKED);
    std::int32_t* group = WORK.ints(PROBLEM.NGDLL + 3 * i);
    group[0] = first;
    group[1] = second;
    group[2] = direction;
    write_record(UNIT_LISTING, fmt::X(10) + fmt::I(first, 5) + fmt::I(second, 8) + fmt::I(direction, 9));
  }
  expect_card("LEGDLL", "FINGRADOSDELIBERTADL", LINK_BLOCK_ERROR);
}

}  // namespace vortan
