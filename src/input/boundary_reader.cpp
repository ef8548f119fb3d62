#include "input/boundary_reader.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/listing_heading.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr std::string_view WRONG_CARD = "INPCCO: TARJETA EQUIVOCADA EN INPCCO";
constexpr std::string_view END_WORD = "FINCONDICIONESDECONT";
constexpr int VALUES_PER_LINE = 6;

// The nodes a restraint card applies to. extra is the number of values in front of the
// codes besides the first node (0 for a single node, 2 for "A" last "INC" step).
struct NodeRange {
  std::int32_t first = 0;
  std::int32_t last = 0;
  std::int32_t step = 1;
  int extra = 0;
};

int column_length() { return PROBLEM.NDOFG + 1; }

std::int32_t* code_column(std::int32_t node) {
  return WORK.ints(PROBLEM.boundary_codes) + static_cast<std::int64_t>(node - 1) * column_length();
}

double* value_column(std::int32_t node) {
  return WORK.reals(PROBLEM.boundary_values) + static_cast<std::int64_t>(node - 1) * column_length();
}

// The form of the card, from the number of words on it.
NodeRange card_range() {
  NodeRange range;
  if (CARD.NWORD <= 1) {
    range.first = range.last = card_integer(1);
    return range;
  }
  if (CARD.NWORD > 2) ERRSTP("INPCCO: VERIFICAR SINTAXIS");
  if (!CARD.word_is(2, "A")) ERRSTP("INPCCO: COMANDO DESCONOCIDO 1");
  if (!CARD.word_is(3, "INC")) ERRSTP("INPCCO: COMANDO DESCONOCIDO 2");
  range.first = card_integer(1);
  range.last = card_integer(2);
  range.step = card_integer(3);
  range.extra = 2;
  return range;
}

void check_range(const NodeRange& range) {
  if (CARD.NVALU < range.extra + PROBLEM.NDOFG + 1) ERRSTP(WRONG_CARD);
  if (range.first < 1 || range.first > PROBLEM.NPNODS) ERRSTP("INPCCO: NODO NO EXISTENTE");
  if (range.last < 1 || range.last > PROBLEM.NPNODS) ERRSTP("INPCCO: NODO FINAL NO EXISTENTE");
  // A step below 1 would never reach the last node; a range running backwards would
  // restrain no node at all and its card would be lost without a word.
  if (range.step < 1 || range.last < range.first) ERRSTP(WRONG_CARD);
}

// Only 1 restrains and 0 leaves free; any other code (a 2, or a node number taken for
// a code on a card that lacks its "INC") would otherwise leave the degree of freedom
// free without a word.
void check_codes(const NodeRange& range) {
  std::int64_t sum = 0;
  for (int j = 1; j <= PROBLEM.NDOFG; ++j) {
    const double code = CARD.VALUE(range.extra + 1 + j);
    if (code != 0.0 && code != 1.0) ERRSTP("INPCCO: CODIGO DE RESTRICCION NO VALIDO");
  }
  for (int j = 1; j <= PROBLEM.NDOFG; ++j) sum += card_integer(range.extra + 1 + j);
  // In flat-shell problems a card without restraints gives its node a direction vector.
  if (sum == 0 && PROBLEM.flat_shell_set == 0) ERRSTP("INPCCO: NO EXISTE PRESCRIPCION");
}

// The slot of the word "P" on the card, 0 when there is none.
int direction_word_slot() {
  for (int slot = 1; slot <= CARD.NSLOT; ++slot)
    if (CARD.word_is(slot, "P")) return slot;
  return 0;
}

// "P" follows the node, its codes and its prescribed values (slot 14 with six degrees
// of freedom) and shares its slot with the first of the three components. Only a
// single-node card can carry it: on a range card it is a third word.
void read_direction_vector(const NodeRange& range) {
  if (PROBLEM.flat_shell_set == 0) return;
  const int slot = direction_word_slot();
  if (slot == 0) return;
  const int expected = 2 * PROBLEM.NDOFG + 2;
  // Anywhere else the components would be taken for prescribed values.
  if (slot != expected) ERRSTP("INPCCO: VERIFICAR SINTAXIS");
  if (CARD.NVALU < expected + 2) ERRSTP(WRONG_CARD);
  std::int32_t& flag = WORK.int_at(PROBLEM.shell_flags + range.first - 1);
  if (flag == 0) ++PROBLEM.direction_vectors;
  flag = 1;
  for (int c = 0; c < 3; ++c)
    WORK.reals(PROBLEM.shell_vectors)[range.first - 1 + static_cast<std::int64_t>(c) * PROBLEM.NPNODS] =
        card_real(expected + c, "INPCCO");
}

// Fills the first node's columns from the card, then copies them to the other nodes.
void store_range(const NodeRange& range) {
  const int codes_start = range.extra + 2;
  const bool has_values = CARD.NVALU > range.extra + PROBLEM.NDOFG + 1;
  std::int32_t* codes = code_column(range.first);
  double* values = value_column(range.first);
  codes[0] = range.first;
  values[0] = range.first;
  for (int j = 1; j <= PROBLEM.NDOFG; ++j) {
    codes[j] = card_integer(codes_start + j - 1);
    values[j] = has_values ? card_real(codes_start + PROBLEM.NDOFG + j - 1, "INPCCO") : 0.0;
  }
  for (std::int64_t node = static_cast<std::int64_t>(range.first) + range.step; node <= range.last;
       node += range.step) {
    const auto n = static_cast<std::int32_t>(node);
    std::int32_t* target_codes = code_column(n);
    double* target_values = value_column(n);
    for (int j = 1; j <= PROBLEM.NDOFG; ++j) {
      target_codes[j] = codes[j];
      target_values[j] = values[j];
    }
    target_codes[0] = n;
    target_values[0] = n;
  }
}

void read_restraint_card() {
  const NodeRange range = card_range();
  check_range(range);
  check_codes(range);
  read_direction_vector(range);
  store_range(range);
}

void read_unrestrained_block() {
  if (PROBLEM.printing(PRINT_DATA)) write_record(UNIT_LISTING, " NO SE ESPECIFICAN CONDICIONES DE CONTORNO");
  LISTEN("INPCCO");
  if (!CARD.word_is(1, END_WORD)) ERRSTP("INPCCO: SE ESPERA FIN DE CONDICIONES");
}

void list_direction_vectors() {
  write_empty(UNIT_LISTING, 2);
  write_underlined_heading("NODOS CON COORDENADAS PARTICULARES :");
  const double* vectors = WORK.reals(PROBLEM.shell_vectors);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    if (WORK.int_at(PROBLEM.shell_flags + node - 1) != 1) continue;
    std::string line = fmt::X(5) + fmt::I(node, 8);
    for (int c = 0; c < 3; ++c) line += fmt::E(vectors[node - 1 + static_cast<std::int64_t>(c) * PROBLEM.NPNODS], 16, 7);
    write_record(UNIT_LISTING, line);
  }
}

void write_summary_heading() {
  write_empty(UNIT_LISTING, 2);
  write_underlined_heading("RESUMEN DE LAS CONDICIONES DE CONTORNO :");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + fmt::A("NODO", 8) + fmt::X(2) + "CODIGOS / VALORES PRESCRITOS");
}

// One restrained node: number, codes and prescribed values, six values to a line; the
// continuation lines start under the first value.
void list_restraint(const std::int32_t* codes, const double* values) {
  std::string line = fmt::X(5) + fmt::I(codes[0], 8) + fmt::X(2);
  for (int j = 1; j <= PROBLEM.NDOFG; ++j) line += fmt::I(codes[j], 2);
  const int indent = static_cast<int>(line.size());
  for (int j = 1; j <= PROBLEM.NDOFG; ++j) {
    if (j > 1 && (j - 1) % VALUES_PER_LINE == 0) {
      write_record(UNIT_LISTING, line);
      line = fmt::X(indent);
    }
    line += fmt::E(values[j], 14, 6);
  }
  write_record(UNIT_LISTING, line);
}

// Copies every filled column, in node order, to NODPR and PRESC.
void compact_restraints(bool listing) {
  std::int32_t count = 0;
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node)
    if (code_column(node)[0] != 0) ++count;
  PROBLEM.NVFIX = count;
  const int length = column_length();
  const std::int64_t entries = static_cast<std::int64_t>(length) * count;
  PROBLEM.NODPR = DIRECT(RUN.NXTPOS, RUN.MEMORY, entries, "NODPR", INT_WORDS);
  PROBLEM.PRESC = DIRECT(RUN.NXTPOS, RUN.MEMORY, entries, "PRESC", REAL_WORDS);
  std::int32_t* nodpr = WORK.ints(PROBLEM.NODPR);
  double* presc = WORK.reals(PROBLEM.PRESC);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const std::int32_t* codes = code_column(node);
    if (codes[0] == 0) continue;
    const double* values = value_column(node);
    for (int j = 0; j < length; ++j) {
      nodpr[j] = codes[j];
      presc[j] = values[j];
    }
    if (listing) list_restraint(nodpr, presc);
    nodpr += length;
    presc += length;
  }
}

}  // namespace

void INPCCO() {
  LISTEN("INPCCO");
  if (!CARD.word_is(1, "CONDICIONESDECONTORN")) ERRSTP("INPCCO: SE ESPERAN CONDICIONES DE CONTORNO");
  const bool listing = PROBLEM.printing(PRINT_DATA);
  LISTEN("INPCCO");
  if (CARD.word_is(1, "SINRESTRICCIONES")) {
    read_unrestrained_block();
    compact_restraints(false);
    return;
  }
  while (!CARD.word_is(1, END_WORD)) {
    read_restraint_card();
    LISTEN("INPCCO");
  }
  if (listing && PROBLEM.flat_shell_set > 0 && PROBLEM.direction_vectors > 0) list_direction_vectors();
  if (listing) write_summary_heading();
  compact_restraints(listing);
}

}  // namespace vortan
