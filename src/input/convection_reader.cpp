#include "input/convection_reader.h"

#include <string>

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

constexpr int NODES_PER_LINE = 10;
constexpr int MAX_DIMENSION = 3;
constexpr int MAX_POINTS = 27;

std::int32_t& word_at(std::int32_t element, int word) {
  return WORK.int_at(PROBLEM.CONVE + (element - 1) * CONVECTION_WORDS + (word - 1));
}

void write_heading() {
  write_empty(UNIT_LISTING, 2);
  write_underlined_heading("CONDICIONES DE CONVECCION-RADIACION");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "SET ELEM. DIME. NNODE NGAUS NODOS");
}

void echo_element(std::int32_t e) {
  std::string line = fmt::X(5) + fmt::I(word_at(e, 1), 3);
  for (int w = 2; w <= 5; ++w) line += fmt::I(word_at(e, w), 6);
  for (int k = 1; k <= word_at(e, 4); ++k) {
    if (k > 1 && (k - 1) % NODES_PER_LINE == 0) {
      write_record(UNIT_LISTING, line);
      line = fmt::X(32);
    }
    line += fmt::I(word_at(e, 5 + k), 6);
  }
  write_record(UNIT_LISTING, line);
}

// The five leading numbers of an element card, each checked before it is used.
void check_leading_numbers() {
  if (CARD.NWORD > 0 || CARD.NVALU < 5) ERRSTP("INPTERE: TARJETA ERRONEA EN CONVECCION");
  const std::int32_t set = card_integer(1), element = card_integer(2);
  if (set < 1 || set > PROBLEM.NSETS) ERRSTP("INPTERE: SET ERRONEO EN CONVECCION");
  // Elements are numbered over the whole mesh; the one named must belong to the set.
  if (element < 1 || element > PROBLEM.NELEM || WORK.int_at(PROBLEM.GLELEM + 2 * (element - 1)) != set)
    ERRSTP("INPTERE: ELEMENTO ERRONEO EN CONVECCION");
  if (card_integer(3) < 1 || card_integer(3) > MAX_DIMENSION)
    ERRSTP("INPTERE: DIMENSION ERRONEA EN CONVECCION");
  if (card_integer(4) < 1 || card_integer(4) > CONVECTION_MAX_NODES)
    ERRSTP("INPTERE: NNODE ERRONEO EN CONVECCION");
  if (card_integer(5) < 1 || card_integer(5) > MAX_POINTS) ERRSTP("INPTERE: NGAUS ERRONEO EN CONVECCION");
}

void read_element_card(std::int32_t e) {
  check_leading_numbers();
  const int nnode = card_integer(4);
  if (CARD.NVALU != 5 + nnode) ERRSTP("INPTERE: TARJETA ERRONEA EN CONVECCION");
  for (int k = 1; k <= nnode; ++k) {
    const std::int32_t node = card_integer(5 + k);
    if (node < 1 || node > PROBLEM.NPNODS) ERRSTP("INPTERE: NODO ERRONEO EN CONVECCION");
  }
  for (int w = 1; w <= 5 + nnode; ++w) word_at(e, w) = card_integer(w);
}

}  // namespace

void read_convection_block() {
  LISTEN("INPTERE");
  if (!CARD.word_is(1, "CONVECCIONRADIACION"))
    ERRSTP("INPTERE : ERROR EN CONDICIONES DE CONVECCION-RADIACION");
  const std::int64_t words = static_cast<std::int64_t>(PROBLEM.NFRON) * CONVECTION_WORDS;
  PROBLEM.CONVE = DIRECT(RUN.NXTPOS, RUN.MEMORY, words, "CONVE", INT_WORDS);
  ZEROI(words, WORK.ints(PROBLEM.CONVE));
  const bool echo = PROBLEM.printing(PRINT_DATA);
  if (echo) write_heading();
  std::int32_t count = 0;
  for (;;) {
    LISTEN("DATCONV");
    if (CARD.word_is(1, "FINCONVECCIONRADIACI")) break;
    if (count == PROBLEM.NFRON) ERRSTP("INPTERE: SOBRAN ELEMENTOS DE CONVECCION");
    read_element_card(++count);
    if (echo) echo_element(count);
  }
  if (count < PROBLEM.NFRON) ERRSTP("INPTERE: FALTAN ELEMENTOS DE CONVECCION");
}

std::int32_t convection_word(std::int32_t element, int word) { return word_at(element, word); }

}  // namespace vortan
