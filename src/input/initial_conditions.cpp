#include "input/initial_conditions.h"

#include <string>

#include "input/card_reader.h"
#include "input/dof_table.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

InitialConditions HISTORY;

namespace {

constexpr int UNIT_DISPLACEMENT_CURVES = 11;
constexpr int UNIT_FORCE_CURVES = 12;
constexpr int UNIT_ENERGY = 15;

bool card_has_word() { return CARD.NWORD > 0; }

// A node-list card: no word and exactly `count` values; the nodes go to a new array
// and to the curve file's heading record (count, values per node, nodes).
std::int32_t read_node_list(std::int32_t count, const char* name, const char* message, const char* title, int unit,
                            std::int32_t per_node, bool print) {
  LISTEN("INTIME");
  if (card_has_word() || CARD.NVALU != count) ERRSTP(message);
  const std::int32_t pos = DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, INT_WORDS);
  std::int32_t* nodes = WORK.ints(pos);
  for (std::int32_t i = 0; i < count; ++i) {
    nodes[i] = static_cast<std::int32_t>(CARD.VALUE(i + 1));
    if (nodes[i] < 1 || nodes[i] > PROBLEM.NPNODS) ERRSTP(message);
  }
  if (print) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, title);
    write_record(UNIT_LISTING, " NODOS ");
    std::string line;
    for (std::int32_t i = 0; i < count; ++i) {
      line += fmt::I(nodes[i], 6);
      if ((i + 1) % 12 == 0 || i + 1 == count) {
        write_record(UNIT_LISTING, line);
        line.clear();
      }
    }
  }
  OPENFI(unit);
  const std::int32_t head[2] = {count, per_node};
  write_unformatted(unit, head, sizeof head);
  write_unformatted(unit, nodes, sizeof(std::int32_t) * static_cast<std::size_t>(count));
  return pos;
}

// One block of nodal values up to its closing card ("FINDE..." or "FINVE...").
void read_nodal_block(int k, double* target, const char* end_word, const char* wrong, const char* nodes_message,
                      const char* x_title, const char* y_title, bool print) {
  if (print) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, std::string(" NODO") + x_title + y_title);
  }
  std::int32_t cards = 0;
  for (;;) {
    LISTEN("INTIME");
    if (CARD.NWORD > 0 && CARD.WORD(1).rfind(end_word, 0) == 0) return;
    if (card_has_word() || CARD.NVALU < k + 1) ERRSTP(wrong);
    const double first = CARD.VALUE(1);
    ++cards;
    if (cards > PROBLEM.NPNODS || !(first >= 1.0) || first >= PROBLEM.NPNODS + 1.0) ERRSTP(nodes_message);
    const auto node = static_cast<std::int32_t>(first);
    const std::int32_t count = std::min<std::int32_t>(k, adres(node, 1));
    double* values = target + adres(node, 2);
    for (std::int32_t j = 0; j < count; ++j) values[j] = CARD.VALUE(j + 2);
    if (print) {
      std::string line = fmt::I(node, 5);
      for (int j = 0; j < k; ++j) line += fmt::E(CARD.VALUE(j + 2), 18, 6);
      write_record(UNIT_LISTING, line);
    }
  }
}

}  // namespace

void INTIME(int values_per_node, double* despl, double* veloc, bool print) {
  LISTEN("INTIME");
  if (!CARD.word_is(1, "CONDICIONESINICIALES")) ERRSTP("INTIME : TARJETA EQUIVOCADA");
  if (PROBLEM.NREQD >= 1)
    HISTORY.NPRQD = read_node_list(PROBLEM.NREQD, "NPRQD", "INTIME : TARJETA EQUIVOCADA EN DESPLAZ.",
                                   " NODOS SELECCIONADOS PARA DESPLAZAMIENTOS ", UNIT_DISPLACEMENT_CURVES,
                                   PROBLEM.NDIME, print);
  if (PROBLEM.NREQL >= 1)
    HISTORY.NPRQL = read_node_list(PROBLEM.NREQL, "NPRQL", "INTIME : TARJETA EQUIVOCADA EN CARGAS",
                                   " NODOS SELECCIONADOS PARA CARGAS ", UNIT_FORCE_CURVES, values_per_node, print);
  if (PROBLEM.IENER == 1) OPENFI(UNIT_ENERGY);
  ZEROR(PROBLEM.NTOTV, despl);
  ZEROR(PROBLEM.NTOTV, veloc);
  for (;;) {
    LISTEN("INTIME");
    if (CARD.word_is(1, "DESPLAZAMIENTOSINICI")) {
      read_nodal_block(values_per_node, despl, "FINDE", "INTIME : TARJETA EQUIVOCADA EN DESPLAZ.",
                       "INTIME : VERIFICAR NUMERO DE NODOS DESP.", " X-DESP. INICIAL  ", " Y-DESP. INICIAL  ", print);
    } else if (CARD.word_is(1, "VELOCIDADESINICIALES")) {
      read_nodal_block(values_per_node, veloc, "FINVE", "INTIME : TARJETA EQUIVOCADA EN VELOCI.",
                       "INTIME : VERIFICAR NUMERO DE NODOS VEL.", " X-VELO. INICIAL  ", " Y-VELO. INICIAL  ", print);
    } else if (CARD.word_is(1, "ACELERACIONESINICIAL")) {
      // The accelerogram itself is read from its files by the explicit driver.
      if (PROBLEM.IFUNC == 0 && print) write_record(UNIT_LISTING, " DATOS DE ACELERACION EN FICHEROS .acx .acy .acz");
    } else if (CARD.word_is(1, "NOHAYCONDICIONESINIC")) {
      LISTEN("INTIME");
      if (!CARD.word_is(1, "FINCONDICIONESINICIA")) ERRSTP("INTIME : TARJETA EQUIVOCADA");
      return;
    } else {
      ERRSTP("INTIME : TARJETA EQUIVOCADA");
    }
  }
}

}  // namespace vortan
