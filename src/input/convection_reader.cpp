#include "input/convection_reader.h"

#include <string>

#include "input/card_integer.h"
#include "input/card_reader.h"
#include "input/catalogue.h"
#include "input/element_sets.h"
#include "input/listing_heading.h"
#include "input/problem.h"
#include "input/property_layout.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr int NODES_PER_LINE = 10;
constexpr int MAX_POINTS = 27;

std::int32_t& word_at(std::int32_t card, int word) {
  return WORK.int_at(PROBLEM.CONVE + (card - 1) * CONVECTION_WORDS + (word - 1));
}

double& real_at(std::int32_t card, int i) {
  return WORK.reals(PROBLEM.CONVT)[(card - 1) * CONVECTION_REALS + i];
}

// CONVI: the first boundary of every element (NELEM words), then the next boundary of
// every boundary (NFRON words).
std::int32_t& first_of(std::int32_t element) { return WORK.int_at(PROBLEM.CONVI + (element - 1)); }
std::int32_t& next_of(std::int32_t card) { return WORK.int_at(PROBLEM.CONVI + PROBLEM.NELEM + (card - 1)); }

void write_heading() {
  write_empty(UNIT_LISTING, 2);
  write_underlined_heading("CONDICIONES DE CONVECCION-RADIACION");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "SET ELEM. DIME. NNODE NGAUS NODOS");
}

void echo_card(std::int32_t c) {
  std::string line = fmt::X(5) + fmt::I(word_at(c, 1), 3);
  for (int w = 2; w <= 5; ++w) line += fmt::I(word_at(c, w), 6);
  for (int k = 1; k <= word_at(c, 4); ++k) {
    if (k > 1 && (k - 1) % NODES_PER_LINE == 0) {
      write_record(UNIT_LISTING, line);
      line = fmt::X(32);
    }
    line += fmt::I(word_at(c, 5 + k), 6);
  }
  write_record(UNIT_LISTING, line);
  write_record(UNIT_LISTING, fmt::X(32) + "TEMP. AMBIENTE=" + fmt::E(real_at(c, 0), 14, 6) +
                                 "  COEF. CONVECCION=" + fmt::E(real_at(c, 1), 14, 6));
}

// Node k (1-based) of element row `row` of a set.
std::int32_t element_node_of(const ElementSet& s, std::int32_t row, int k) {
  return WORK.int_at(s.LNODS + (row - 1) + k * s.NELEM);
}

bool element_holds(const ElementSet& s, std::int32_t row, std::int32_t node) {
  for (int k = 1; k <= s.NNODE; ++k)
    if (element_node_of(s, row, k) == node) return true;
  return false;
}

// The five leading numbers of a card, each checked before it is used: the element must
// belong to the set, the piece must be a side or face of it (one dimension below the
// set) or its own extent, with a node count and a rule that its element type has.
void check_leading_numbers() {
  if (CARD.NWORD > 0 || CARD.NVALU < 5) ERRSTP("INPTERE: TARJETA ERRONEA EN CONVECCION");
  const std::int32_t set = card_integer(1), element = card_integer(2);
  if (set < 1 || set > PROBLEM.NSETS) ERRSTP("INPTERE: SET ERRONEO EN CONVECCION");
  // Elements are numbered over the whole mesh; the one named must belong to the set.
  if (element < 1 || element > PROBLEM.NELEM || WORK.int_at(PROBLEM.GLELEM + 2 * (element - 1)) != set)
    ERRSTP("INPTERE: ELEMENTO ERRONEO EN CONVECCION");
  const int set_dimension = SETS(set).dimension;
  const std::int32_t dimension = card_integer(3), nodes = card_integer(4), points = card_integer(5);
  if (dimension < 0 || dimension < set_dimension - 1 || dimension > set_dimension)
    ERRSTP("INPTERE: DIMENSION ERRONEA EN CONVECCION");
  const int type = dimension == 0 ? 0 : piece_element_type(dimension, nodes);
  const bool piece = dimension == 0 ? nodes == 1 : type != 0;
  if (nodes < 1 || nodes > CONVECTION_MAX_NODES || !piece) ERRSTP("INPTERE: NNODE ERRONEO EN CONVECCION");
  if (points < 1 || points > MAX_POINTS || (type != 0 && !has_integration_rule(type, points)))
    ERRSTP("INPTERE: NGAUS ERRONEO EN CONVECCION");
}

void read_card(std::int32_t c) {
  check_leading_numbers();
  const int nodes = card_integer(4);
  const int values = CARD.NVALU - 5 - nodes;  // ambient temperature [, film coefficient]
  if (values != 1 && values != 2) ERRSTP("INPTERE: TARJETA ERRONEA EN CONVECCION");
  const ElementSet& s = SETS(card_integer(1));
  const std::int32_t row = WORK.int_at(PROBLEM.GLELEM + 2 * (card_integer(2) - 1) + 1);
  for (int k = 1; k <= nodes; ++k) {
    const std::int32_t node = card_integer(5 + k);
    if (node < 1 || node > PROBLEM.NPNODS) ERRSTP("INPTERE: NODO ERRONEO EN CONVECCION");
    // The piece's conductance goes into its element's matrix, at the element's nodes.
    if (!element_holds(s, row, node)) ERRSTP("INPTERE: NODO AJENO AL ELEMENTO");
  }
  const double coefficient =
      values == 2 ? CARD.VALUE(5 + nodes + 2) : WORK.reals(s.PROPS)[props::CONDUCTION_CONVECTION];
  // A negative film coefficient would take heat out of a wall colder than its ambient.
  if (coefficient < 0.0) ERRSTP("INPTERE: COEF. DE CONVECCION NEGATIVO");
  for (int w = 1; w <= 5 + nodes; ++w) word_at(c, w) = card_integer(w);
  real_at(c, 0) = CARD.VALUE(5 + nodes + 1);
  real_at(c, 1) = coefficient;
}

// Chains the boundaries of every element in card order.
void index_by_element() {
  for (std::int32_t c = PROBLEM.NFRON; c >= 1; --c) {
    const std::int32_t element = word_at(c, 2);
    next_of(c) = first_of(element);
    first_of(element) = c;
  }
}

std::int32_t allocate(std::int64_t count, const char* name, int size) {
  const std::int32_t pos = DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, size);
  if (size == INT_WORDS) ZEROI(count, WORK.ints(pos));
  else ZEROR(count, WORK.reals(pos));
  return pos;
}

}  // namespace

void read_convection_block() {
  LISTEN("INPTERE");
  if (!CARD.word_is(1, "CONVECCIONRADIACION"))
    ERRSTP("INPTERE : ERROR EN CONDICIONES DE CONVECCION-RADIACION");
  if (PROBLEM.NFRON < 0) ERRSTP("INPTERE: NFRON NEGATIVO");
  const std::int64_t cards = PROBLEM.NFRON;
  PROBLEM.CONVE = allocate(cards * CONVECTION_WORDS, "CONVE", INT_WORDS);
  PROBLEM.CONVT = allocate(cards * CONVECTION_REALS, "CONVT", REAL_WORDS);
  const bool echo = PROBLEM.printing(PRINT_DATA);
  if (echo) write_heading();
  std::int32_t count = 0;
  for (;;) {
    LISTEN("DATCONV");
    if (CARD.word_is(1, "FINCONVECCIONRADIACI")) break;
    if (count == PROBLEM.NFRON) ERRSTP("INPTERE: SOBRAN ELEMENTOS DE CONVECCION");
    read_card(++count);
    if (echo) echo_card(count);
  }
  if (count < PROBLEM.NFRON) ERRSTP("INPTERE: FALTAN ELEMENTOS DE CONVECCION");
  PROBLEM.CONVI = allocate(std::int64_t{PROBLEM.NELEM} + cards, "CONVI", INT_WORDS);
  index_by_element();
}

std::int32_t convection_word(std::int32_t card, int word) { return word_at(card, word); }
double convection_ambient(std::int32_t card) { return real_at(card, 0); }
double convection_coefficient(std::int32_t card) { return real_at(card, 1); }

std::int32_t first_convection(std::int32_t element) {
  if (PROBLEM.CONVI == 0 || element < 1 || element > PROBLEM.NELEM) return 0;
  return first_of(element);
}

std::int32_t next_convection(std::int32_t card) {
  if (PROBLEM.CONVI == 0 || card < 1 || card > PROBLEM.NFRON) return 0;
  return next_of(card);
}

}  // namespace vortan
