#include "loads/load_section.h"

#include <cmath>
#include <string>
#include <string_view>

#include "elements/active_set.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "loads/face_pressure.h"
#include "loads/imposed_loads.h"
#include "loads/interpolated_loads.h"
#include "loads/load_reader.h"
#include "loads/line_loads.h"
#include "loads/member_loads.h"
#include "loads/point_loads.h"
#include "loads/self_weight.h"
#include "loads/side_loads.h"
#include "loads/thermal_strain.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr int VALUES_PER_LINE = 5;
constexpr std::string_view WRONG_CARD = "FUERZAS : TARJETA EQUIVOCADA EN FUERZAS";

bool printing() { return PROBLEM.printing(PRINT_DATA); }

using LoadTypeReader = void (*)(int set);

// The load types of a section, in the order their keywords are compared. A type whose
// reader is not built stops the run with its own message instead of being skipped; a
// type that ends the section ends it once its block is read.
struct LoadType {
  std::string_view keyword;
  LoadTypeReader read;
  std::string_view unavailable;
  bool ends_section = false;
};

constexpr LoadType LOAD_TYPES[] = {
    {"PUNTUALES", FUE001, ""},
    {"PESOPROPIO", add_self_weight, ""},
    {"DISTRIBUIDAS", FUEREP, ""},
    {"CARGASREPARTIDAS", FUEREU, ""},
    {"TEMPERATURA", FUETEM, ""},
    {"INTERPOLADAS", INTERF, ""},
    {"DEFORMACIONESIMPUEST", read_imposed_strains, ""},
    {"TENSIONESIMPUESTAS", read_imposed_stresses, ""},
    {"FUERZASVIGAS", FUEVIG, ""},
    {"CARGASDELINEA", FUERLIN, "", true},
    {"FINFUERZAS", nullptr, ""},
};

// Reads one load-type card and runs its reader; false at the end of the section.
bool read_load_type(int set) {
  LISTEN("FUERZAS");
  for (const LoadType& type : LOAD_TYPES) {
    if (!CARD.word_is(1, type.keyword)) continue;
    if (type.read != nullptr) {
      type.read(set);
      return !type.ends_section;
    }
    if (!type.unavailable.empty()) ERRSTP(type.unavailable);
    return false;
  }
  ERRSTP(WRONG_CARD);
}

// The second load array of a frame set follows its element load rows.
void clear_member_loads(int set) {
  const ElementSet& s = SETS(set);
  const std::int64_t rows = std::int64_t{s.NELEM} * s.NEVAB();
  ZEROR(rows, WORK.reals(s.CARGA) + rows);
}

// The support angle of every node (0 off the supports) on a private cursor; a node
// listed twice keeps its last angle, as the elements take it.
const double* support_angles() {
  std::int32_t cursor = RUN.NXTPOS;
  double* angles = WORK.reals(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "ANGUL", REAL_WORDS));
  ZEROR(PROBLEM.NPNODS, angles);
  for (std::int32_t i = 0; i < PROBLEM.MAPOY; ++i) {
    const std::int32_t node = WORK.int_at(PROBLEM.APOYO + i);
    if (node >= 1 && node <= PROBLEM.NPNODS) angles[node - 1] = WORK.reals(PROBLEM.APANG)[i];
  }
  return angles;
}

void write_load_rows(int set) {
  const ElementSet& s = SETS(set);
  write_record(UNIT_LISTING, " FUERZAS TOTALES NODALES EQUIVALENTES ELEMENTALES");
  const int nevab = s.NEVAB();
  for (int e = 1; e <= s.NELEM; ++e) {
    std::string line = fmt::X(1) + fmt::I(element_node(set, e, 0), 9) + fmt::X(5);
    for (int i = 1; i <= nevab; ++i) {
      line += fmt::E(load_entry(set, e, i), 12, 4);
      if (i % VALUES_PER_LINE == 0 && i < nevab) {
        write_record(UNIT_LISTING, line);
        line = fmt::X(15);
      }
    }
    write_record(UNIT_LISTING, line);
  }
}

}  // namespace

void turn_loads_to_support_axes(int set) {
  const ElementSet& s = SETS(set);
  int pairs[2];
  const int count = s.inclined_support_pairs(pairs);
  if (PROBLEM.MAPOY <= 0 || PROBLEM.APOYO == 0 || count == 0 || s.NDOFN < pairs[count - 1] + 2) return;
  const double* angles = support_angles();
  const int nodes = loaded_nodes(set);
  for (int e = 1; e <= s.NELEM; ++e)
    for (int k = 1; k <= nodes; ++k) {
      const std::int32_t node = element_node(set, e, k);
      if (node < 1 || node > PROBLEM.NPNODS || angles[node - 1] == 0.0) continue;
      const double c = std::cos(angles[node - 1]);
      const double sn = std::sin(angles[node - 1]);
      for (int p = 0; p < count; ++p) {
        double& a = load_entry(set, e, (k - 1) * s.NDOFN + pairs[p] + 1);
        double& b = load_entry(set, e, (k - 1) * s.NDOFN + pairs[p] + 2);
        const double x = a, y = b;
        a = c * x + sn * y;
        b = c * y - sn * x;
      }
    }
}

void FUERZAS(int set) {
  if (printing()) {
    write_empty(UNIT_LISTING, 3);
    write_record(UNIT_LISTING, fmt::X(20) + "FUERZAS EN SET NUMERO:" + fmt::I(set, 5));
    write_empty(UNIT_LISTING);
  }
  if (SETS(set).problem_type == FRAME) clear_member_loads(set);
  if (LOADS.global_point_loads == 0) clear_load_rows(set);
  LISTEN("FUERZAS");
  if (CARD.NWORD == 0) ERRSTP(WRONG_CARD);
  while (read_load_type(set)) {
  }
  turn_loads_to_support_axes(set);
  if (printing()) write_load_rows(set);
}

}  // namespace vortan
