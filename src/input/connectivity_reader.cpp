#include "input/connectivity_reader.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "input/card_integer.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/listing_heading.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr std::string_view BAD_CARD = "INPCON: TARJETA ELEMENTAL ERRONEA";
constexpr int NODES_PER_LINE = 10;
constexpr int MESSAGE_LENGTH = 40;

// Entry (entry, e) of the global element list: 1 the set, 2 the row in its LNODS.
std::int32_t& glelem(int entry, std::int32_t element) {
  return WORK.int_at(PROBLEM.GLELEM + 2 * (element - 1) + (entry - 1));
}

// LNODS(row, column) of a set: column 1 the element number, 2.. the nodes.
std::int32_t& lnods(const ElementSet& set, std::int32_t row, int column) {
  return WORK.int_at(set.LNODS + (row - 1) + (column - 1) * set.NELEM);
}

void write_heading() {
  write_empty(UNIT_LISTING, 2);
  write_underlined_heading("DEFINICION ELEMENTAL :");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "ELEMENTO" + fmt::X(4) + "SET" + fmt::X(3) + "NODOS");
}

// One element: number and set, then its nodes, ten to a line.
void echo_element(std::int32_t element, int set_number, const ElementSet& set, std::int32_t row) {
  std::string line = fmt::X(5) + fmt::I(element, 8) + fmt::I(set_number, 7);
  for (int k = 1; k <= set.NNODE; ++k) {
    if (k > 1 && (k - 1) % NODES_PER_LINE == 0) {
      write_record(UNIT_LISTING, line);
      line = fmt::X(20);
    }
    line += fmt::I(lnods(set, row, k + 1), 8);
  }
  write_record(UNIT_LISTING, line);
}

// Reads one element card and stores it in the next row of its set.
void read_element_card() {
  LISTEN("INPCON");
  if (CARD.NWORD > 0 || CARD.NVALU < 4) ERRSTP(BAD_CARD);
  const std::int32_t element = card_integer(1);
  const std::int32_t set_number = card_integer(2);
  if (set_number < 1 || set_number > PROBLEM.NSETS || element < 1) ERRSTP(BAD_CARD);
  ElementSet& set = SETS(set_number);
  if (element > PROBLEM.NELEM || CARD.NVALU - 2 > set.NNODE) ERRSTP("INPCON: VERIFICA NELEM & NNODE");
  // A repeated element number, or a set given more cards than it has elements.
  if (glelem(1, element) != 0 || set.rows_used > set.NELEM) ERRSTP(BAD_CARD);
  const std::int32_t row = set.rows_used;
  lnods(set, row, 1) = element;
  for (int k = 1; k <= set.NNODE; ++k) lnods(set, row, k + 1) = card_integer(2 + k);
  if (PROBLEM.printing(PRINT_DATA)) echo_element(element, set_number, set, row);
  glelem(1, element) = set_number;
  glelem(2, element) = row;
  set.rows_used = row + 1;
}

[[noreturn]] void stop_on_bad_node(std::int32_t element, std::int32_t node) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "ELEMENTO" + fmt::I(element, 10) + "  NODO" + fmt::I(node, 12) +
                                 "  FUERA DE LOS NODOS 1 A" + fmt::I(PROBLEM.NPNODS, 10));
  std::string message = "INPCON: NODO ERRONEO EN ELEMENTO " + std::to_string(element);
  if (message.size() > MESSAGE_LENGTH) message = "INPCON: NODO ERRONEO EN ELEM. " + std::to_string(element);
  ERRSTP(message);
}

// Every element number 1..NELEM has been given exactly once (NELEM distinct numbers
// in 1..NELEM), so GLELEM leads to every row of every set.
void check_node_numbers() {
  for (std::int32_t element = 1; element <= PROBLEM.NELEM; ++element) {
    const ElementSet& set = SETS(glelem(1, element));
    const std::int32_t row = glelem(2, element);
    for (int k = 1; k <= set.NNODE; ++k) {
      const std::int32_t node = lnods(set, row, k + 1);
      // A space member may leave out its reference node (0): its axes then follow
      // from the member alone.
      if (node == 0 && k == 3 && set.family == ElementFamily::frame) continue;
      if (node < 1 || node > PROBLEM.NPNODS) stop_on_bad_node(element, node);
    }
  }
}

}  // namespace

void INPCON() {
  LISTEN("INPCON");
  if (!CARD.word_is(1, "GEOMETRIA")) ERRSTP("INPCON: SE ESPERA TARJETA DE GEOMETRIA");
  if (PROBLEM.printing(PRINT_DATA)) write_heading();
  // A repeated element number is recognised by its set entry already being set.
  ZEROI(2 * static_cast<std::int64_t>(PROBLEM.NELEM), WORK.ints(PROBLEM.GLELEM));
  for (std::int32_t i = 1; i <= PROBLEM.NELEM; ++i) read_element_card();
  check_node_numbers();
}

}  // namespace vortan
