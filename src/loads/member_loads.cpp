#include "loads/member_loads.h"

#include <string>

#include "elements/active_set.h"
#include "elements/frame/frame_tasks.h"
#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "input/property_layout.h"
#include "loads/element_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// The messages of the block: an unknown card (A), a load card without its numbers
// (B), an element outside the set (C), a point load off its member (D), self weight
// without a specific weight (E).
[[noreturn]] void input_error(char which) {
  ERRSTP(std::string("FUEVIG: ERROR EN LA ENTRADA DE DATOS  ") + which);
}

bool printing() { return PROBLEM.printing(PRINT_DATA); }

constexpr int WIDTH = 14;

// Adds a load given in the member's local axes to element row `element`.
void add_member_load(int set, int element, const MemberLoad& load) {
  double fixed_end[MAX_MEMBER_VARIABLES], equivalent[MAX_MEMBER_VARIABLES];
  const int n = member_load_vectors(element, load, fixed_end, equivalent);
  for (int i = 0; i < n; ++i) {
    member_fixed_end_force(set, element, i) += fixed_end[i];
    load_entry(set, element, i + 1) += equivalent[i];
  }
}

// A load of global components g on a member of the given axes, in its local axes.
void to_local(const double* axes, const double* g, double* local) {
  for (int i = 0; i < 3; ++i) local[i] = axes[3 * i] * g[0] + axes[3 * i + 1] * g[1] + axes[3 * i + 2] * g[2];
}

void write_block_heading(std::string_view title, bool point, bool local, int components) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + std::string(title));
  write_record(UNIT_LISTING, fmt::X(5) + (local ? "EN EJES LOCALES DE LAS BARRAS" : "EN EJES GLOBALES"));
  std::string line = "  ELEMENTO";
  if (point) line += fmt::A("DISTANCIA", WIDTH);
  const char* names[3] = {"X", "Y", "Z"};
  for (int i = 0; i < components; ++i) line += fmt::A(std::string(point ? "FUERZA-" : "CARGA-") + names[i], WIDTH);
  write_record(UNIT_LISTING, line);
}

// One block of point (point = true) or uniform loads, up to its closing card.
void read_load_block(int set, bool point) {
  const ElementSet& s = SETS(set);
  const bool local = CARD.word_is(2, "LOCALES");
  const int components = s.dimension;
  const int first = point ? 3 : 2;  // slot of the first component
  if (printing())
    write_block_heading(point ? "CARGAS PUNTUALES EN BARRAS" : "CARGA UNIFORMEMENTE DISTRIBUIDA EN BARRAS", point,
                        local, components);
  const char* closing = point ? "FINPUNTUALES" : "FINREPARTIDAS";
  for (LISTEN("FUEVIG"); !CARD.word_is(1, closing); LISTEN("FUEVIG")) {
    if (CARD.NWORD > 0 || CARD.NVALU < first - 1 + components) input_error('B');
    const std::int32_t element = card_integer(1);
    if (element < 1 || element > s.NELEM) input_error('C');
    MemberLoad load;
    load.point = point;
    double given[3] = {};
    for (int i = 0; i < components; ++i) given[i] = card_real(first + i, "FUEVIG");
    if (point) load.distance = card_real(2, "FUEVIG");
    if (printing()) {
      std::string line = fmt::I(element_node(set, element, 0), 10);
      if (point) line += fmt::E(load.distance, WIDTH, 6);
      for (int i = 0; i < components; ++i) line += fmt::E(given[i], WIDTH, 6);
      write_record(UNIT_LISTING, line);
    }
    gather_element(element);
    double length = 0.0, axes[9];
    frame_member_axes(element, length, axes);
    if (point && !(load.distance >= 0.0 && load.distance <= length)) input_error('D');
    if (local) {
      for (int i = 0; i < 3; ++i) load.local[i] = given[i];
    } else {
      to_local(axes, given, load.local);
    }
    add_member_load(set, element, load);
  }
}

}  // namespace

void add_member_self_weight(int set, double specific_weight) {
  const ElementSet& s = SETS(set);
  const double* props = WORK.reals(s.PROPS);
  if (specific_weight == 0.0 && s.dimension == 2) specific_weight = props[props::FRAME_SPECIFIC_WEIGHT];
  const double weight = specific_weight * props[props::FRAME_AREA];
  if (weight == 0.0) input_error('E');
  if (printing()) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "CARGA POR PESO PROPIO =" + fmt::E(weight, WIDTH, 6));
  }
  // Down the last axis of the set: -y in the plane, -z in space.
  double down[3] = {};
  down[s.dimension - 1] = -weight;
  for (int e = 1; e <= s.NELEM; ++e) {
    gather_element(e);
    double length = 0.0, axes[9];
    frame_member_axes(e, length, axes);
    MemberLoad load;
    to_local(axes, down, load.local);
    add_member_load(set, e, load);
  }
}

void FUEVIG(int set) {
  if (SETS(set).family != ElementFamily::frame) ERRSTP("FUEVIG: EL SET NO ES DE BARRAS");
  for (LISTEN("FUEVIG"); !CARD.word_is(1, "FINFUERZASVIGAS"); LISTEN("FUEVIG")) {
    if (CARD.word_is(1, "PUNTUALES")) read_load_block(set, true);
    else if (CARD.word_is(1, "REPARTIDAS")) read_load_block(set, false);
    else if (CARD.word_is(1, "PESOPROPIO")) add_member_self_weight(set, GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO"));
    else input_error('A');
  }
}

}  // namespace vortan
