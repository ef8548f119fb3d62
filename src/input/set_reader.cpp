#include "input/set_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "input/catalogue.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "input/set_input.h"
#include "run/errstp.h"
#include "run/work_array.h"

namespace vortan {

namespace set_input {

void stop(const Reader& reader, std::string_view text) {
  ERRSTP(std::string(reader.prefix) + ": " + std::string(text));
}

void SetCards::start_set(int set_number) {
  set = set_number;
  std::copy(std::begin(DEFAULT_STORAGE), std::end(DEFAULT_STORAGE), storage);
  std::fill(std::begin(print), std::end(print), 1);
  NELEM = 0;
  std::fill(std::begin(props), std::end(props), 0.0);
  beam_dimension = DEFAULT_BEAM_DIMENSION;
}

}  // namespace set_input

namespace {

using namespace set_input;

// ---- "SETNUMERO" ------------------------------------------------------------------

// The set number of the current card, checked before it is used as an index.
int set_number(const Reader& reader) {
  if (!CARD.word_is(1, "SETNUMERO")) stop(reader, "ESPERO LEER SET_NUMERO");
  const double value = CARD.VALUE(1);
  const double last = std::min<int>(PROBLEM.NSETS, MAX_SETS);
  // Compared as a real: a huge number must not be truncated into an integer first.
  if (!(value >= 1.0) || !(value < last + 1.0)) stop(reader, "NUMERO DE SET EQUIVOCADO");
  return static_cast<int>(value);
}

// ---- "TIPO" -----------------------------------------------------------------------

constexpr std::string_view STRUCTURAL_TYPES[] = {
    "TENSIONPLANA", "DEFORMACIONPLANA", "SOLIDODEREVOLUCION",
    "SOLIDO",       "PLACA",            "LAMINADEREVOLUCION",
    "VIGA",         "LAMINAPLANA",      "ELEMENTOFINITOVIGA"};
constexpr std::string_view THERMAL_TYPES[] = {"UNADIMENSION", "DOSDIMENSIONES",
                                              "TRESDIMENSIONES"};
constexpr std::string_view BEAM_SUBTYPES[] = {"ARMADURA", "RETICULA", "COMBINADO"};

// 1-based position of the card's word in a keyword list, 0 when absent.
template <std::size_t N>
int keyword_code(int slot, const std::string_view (&keywords)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (CARD.word_is(slot, keywords[i])) return static_cast<int>(i) + 1;
  return 0;
}

void check_element_count(const Reader& reader, std::int32_t count) {
  if (count < 1) stop(reader, "NUMERO DE ELEMENTOS ERRONEO");
}

// "VIGA": the card fixes the element itself: two-node members, with a third node (the
// reference node of the member axes) for grids and frames in three dimensions.
void beam_type_card(SetCards& cards) {
  const int subtype = keyword_code(3, BEAM_SUBTYPES);
  if (subtype == 0) stop(STRUCTURAL_READER, "NO ESTA BIEN DEFINIDO ELEMENTO VIGA");
  cards.beam_subtype = subtype;
  cards.beam_dimension = GETINT("DIMENSION=", DEFAULT_BEAM_DIMENSION, "DIMENSION DEL PROBLEMA");
  cards.NELEM = GETINT("NELEM=", 1, "NUMERO DE ELEMENTOS EN EL SET");
  check_element_count(STRUCTURAL_READER, cards.NELEM);
  cards.element_type = 0;
  cards.NNODE = subtype != 1 && cards.beam_dimension == 3 ? 3 : 2;
  cards.NGAUS = BEAM_GAUSS_POINTS;
}

void layer_count(SetCards& cards) {
  cards.layers = GETINT("LAMINADOS=", 1, "NUMERO DE LAMINADOS");
  if (cards.layers < 1 || cards.layers > MAX_LAYERS)
    stop(STRUCTURAL_READER, "NUMERO ERRORNEO DE LAMINADOS");
}

// A "TIPO" card sets every value that belongs to the problem type: a type without
// layers, nonlinearity or local axes clears what a previous set left of them.
void set_problem_type(SetCards& cards, int type) {
  cards.problem_type = type;
  cards.nonlinear = 0;
  cards.layers = 1;
  cards.local_axes = 0;
  cards.beam_subtype = 0;
}

void structural_type_card(SetCards& cards) {
  const int type = keyword_code(2, STRUCTURAL_TYPES);
  if (type == 0) stop(STRUCTURAL_READER, "TIPO DE ANALISIS NO IMPLEMENTADO");
  set_problem_type(cards, type);
  switch (type) {
    case PLANE_STRESS: case PLANE_STRAIN: case AXISYMMETRIC: case SOLID:
      cards.nonlinear = CARD.word_is(3, "NOLINEAL") ? 1 : 0;
      break;
    case PLATE: case BEAM_ELEMENT: layer_count(cards); break;
    case FLAT_SHELL:
      cards.local_axes = CARD.word_is(3, "LOCALES") ? 1 : 0;
      layer_count(cards);
      break;
    case FRAME: beam_type_card(cards); break;
    default: break;
  }
}

void thermal_type_card(SetCards& cards) {
  const int type = keyword_code(2, THERMAL_TYPES);
  if (type == 0) stop(THERMAL_READER, "TIPO DE ANALISIS NO IMPLEMENTADO");
  set_problem_type(cards, type);
}

// ---- "ELEMENTO" ---------------------------------------------------------------------

// Plates and the truncated cone carry no temperature element.
bool thermal_element(int code) {
  return code != ELEM_TLCL && code != ELEM_DKT && code != ELEM_CLLL && code != ELEM_TRC2;
}

constexpr int THERMAL_WEDGE_NGAUS = 7;

void element_card(const Reader& reader, SetCards& cards) {
  const int code = element_type_of_keyword(CARD.WORD(2));
  if (code == 0 || (reader.thermal && !thermal_element(code)))
    stop(reader, "TIPO DE ELEMENTO NO CONOCIDO");
  const int default_ngaus = reader.thermal && code == ELEM_PI15 ? THERMAL_WEDGE_NGAUS
                                                                : element_default_ngaus(code);
  const std::int32_t ngaus = GETINT("NGAUS=", default_ngaus, " NUEMERO DE PUNTOS DE INTEGRACION");
  const std::int32_t nelem = GETINT("NELEM=", 0, "! NUMERO DE ELEMENTOS EN EL SET");
  // The wedge has one rule of 21 points, whatever the card asks for; every other type
  // must name a rule it has, or its point arrays would be laid out for the wrong count.
  if (code != ELEM_PI15 && !has_integration_rule(code, ngaus))
    stop(reader, "NUMERO DE PUNTOS GAUSS ERRONEO");
  check_element_count(reader, nelem);
  cards.element_type = code;
  cards.NNODE = element_nodes(code);
  cards.NGAUS = code == ELEM_PI15 ? WEDGE_RULE_POINTS : ngaus;
  cards.NELEM = nelem;
}

// ---- storage and print cards ----------------------------------------------------------

char storage_code(std::string_view word) {
  if (word == "DISCO") return 'D';
  if (word == "MEMORIA") return 'M';
  if (word == "RECALCULO") return 'R';
  ERRSTP("INPEST: ALMACENAMIENTO NO CONOCIDO");
}

bool storage_card(const Reader& reader, SetCards& cards) {
  for (int kind = 0; kind < storage_kinds(reader); ++kind)
    if (CARD.word_is(1, STORAGE_CARDS[kind].keyword)) {
      cards.storage[kind] = storage_code(CARD.WORD(2));
      return true;
    }
  return false;
}

bool print_card(SetCards& cards) {
  for (int which = 0; which < 5; ++which)
    if (CARD.word_is(1, PRINT_CARDS[which].keyword)) {
      cards.print[which] = ACTIVA(CARD.WORD(2));
      return true;
    }
  return false;
}

// ---- one set block ------------------------------------------------------------------

// Reads cards until one that no set card starts; that card stays current.
void read_set_cards(const Reader& reader, SetCards& cards) {
  for (;;) {
    LISTEN(reader.routine);
    if (CARD.NWORD == 0) stop(reader, "TARJETA EQUIVOCADA EN INPSET");
    if (CARD.word_is(1, "TIPO")) {
      if (reader.thermal) thermal_type_card(cards);
      else structural_type_card(cards);
    } else if (CARD.word_is(1, "ELEMENTO")) {
      element_card(reader, cards);
    } else if (CARD.word_is(1, "MATERIAL")) {
      if (reader.thermal) read_thermal_material(cards);
      else read_structural_material(cards);
      check_moduli_and_thicknesses(reader, cards);
    } else if (!storage_card(reader, cards) && !print_card(cards)) {
      return;
    }
  }
}

void check_set_end(const Reader& reader, const SetCards& cards) {
  if (cards.NELEM == 0) stop(reader, "NO EXISTE TARJETA DE ELEMENTO");
  if (cards.props[0] == 0.0) stop(reader, "NO EXISTE TARJETA DE MATERIAL");
  if (!CARD.word_is(1, "FINSET")) stop(reader, "NO EXISTE TARJETA FIN_SET");
}

// The set's largest arrays (its load arrays and its connectivity) must be addressable
// by the 32-bit positions of the work array; larger counts would wrap around in the
// products that size them.
void check_array_sizes(const Reader& reader, std::int64_t carga, const SetCards& cards) {
  constexpr std::int64_t LARGEST = std::numeric_limits<std::int32_t>::max();
  const std::int64_t connectivity = (std::int64_t{cards.NNODE} + 1) * cards.NELEM;
  if (carga * REAL_WORDS > LARGEST || connectivity > LARGEST)
    stop(reader, "NUMERO DE ELEMENTOS EXCESIVO");
}

std::int32_t zeroed_reals(std::int64_t count, std::string_view name) {
  const std::int32_t position = DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS);
  ZEROR(count, WORK.reals(position));
  return position;
}

// Values per load array: one per element degree of freedom.
std::int64_t load_values(const SetCards& cards, const SetCounts& counts) {
  return std::int64_t{counts.NDOFN} * cards.NNODE * cards.NELEM;
}

// "CARGA" of a frame set holds twice as many values as its members have degrees of
// freedom.
std::int64_t carga_values(const SetCards& cards, const SetCounts& counts) {
  const std::int64_t loads = load_values(cards, counts);
  return cards.problem_type == FRAME ? 2 * loads : loads;
}

void create_set_arrays(const SetCards& cards, const SetCounts& counts, ElementSet& set) {
  const int nprops = counts.nprops * cards.layers;
  set.PROPS = DIRECT(RUN.NXTPOS, RUN.MEMORY, nprops, "PROPS", REAL_WORDS);
  std::copy(cards.props, cards.props + nprops, WORK.reals(set.PROPS));
  const std::int64_t loads = load_values(cards, counts);
  set.CARGA = zeroed_reals(carga_values(cards, counts), "CARGA");
  if (cards.nonlinear == 1) {
    set.CARGI = zeroed_reals(loads, "CARGI");
    set.CARG1 = zeroed_reals(loads, "CARG1");
    set.CARGT = zeroed_reals(loads, "CARGT");
  }
}

void store_set(const Reader& reader, const SetCards& cards, const SetCounts& counts) {
  ElementSet& set = SETS(cards.set);
  set.problem_type = cards.problem_type;
  set.family = reader.thermal ? ElementFamily::conduction : structural_family(cards.problem_type);
  set.element_type = cards.element_type;
  set.beam_subtype = cards.beam_subtype;
  set.beam_dimension = cards.problem_type == FRAME ? cards.beam_dimension : 0;
  set.local_axes = cards.local_axes;
  set.nonlinear = cards.nonlinear;
  set.layers = cards.layers;
  set.NNODE = cards.NNODE;
  set.NELEM = cards.NELEM;
  set.NGAUS = cards.NGAUS;
  set.NDOFN = counts.NDOFN;
  set.NSTRE = counts.NSTRE;
  set.NSTR1 = counts.NSTR1;
  set.NSTNL = counts.NSTNL;
  set.dimension = counts.dimension;
  set.nprops = counts.nprops;
  std::copy(cards.storage, cards.storage + RECORD_KINDS, set.storage);
  std::copy(cards.print, cards.print + 5, set.print);
  std::copy(counts.pattern, counts.pattern + DOF_KINDS, set.pattern);
  for (int kind = 0; kind < DOF_KINDS; ++kind)
    if (counts.pattern[kind] == 1) PROBLEM.union_pattern[kind] = 1;
  PROBLEM.NDIME = std::max(PROBLEM.NDIME, std::int32_t{counts.dimension});
  create_set_arrays(cards, counts, set);
}

void start_reading() {
  PROBLEM.NDIME = 0;
  PROBLEM.NDOFG = 0;
  std::fill(std::begin(PROBLEM.union_pattern), std::end(PROBLEM.union_pattern), 0);
}

void finish_reading() {
  PROBLEM.NDOFG = static_cast<std::int32_t>(
      std::count(std::begin(PROBLEM.union_pattern), std::end(PROBLEM.union_pattern), 1));
}

// The loop shared by both readers: NSETS blocks, each opened by its "SETNUMERO" card.
void read_sets(const Reader& reader) {
  start_reading();
  SetCards cards;
  bool defined[MAX_SETS] = {};
  for (int read = 1; read <= PROBLEM.NSETS; ++read) {
    if (read > 1) LISTEN(reader.routine);
    const int number = set_number(reader);
    // A number given twice would overwrite one set and leave another undefined.
    if (defined[number - 1]) stop(reader, "NUMERO DE SET REPETIDO");
    defined[number - 1] = true;
    if (PROBLEM.printing(PRINT_DATA)) write_set_heading(number);
    cards.start_set(number);
    read_set_cards(reader, cards);
    check_set_end(reader, cards);
    if (PROBLEM.printing(PRINT_DATA)) write_set_summary(reader, cards);
    const SetCounts counts =
        reader.thermal ? thermal_combination(cards) : structural_combination(cards);
    if (!reader.thermal) check_structural_material(cards);
    check_array_sizes(reader, carga_values(cards, counts), cards);
    store_set(reader, cards, counts);
  }
  finish_reading();
}

}  // namespace

void INPSET() { read_sets(STRUCTURAL_READER); }

void read_thermal_sets() { read_sets(THERMAL_READER); }

}  // namespace vortan
