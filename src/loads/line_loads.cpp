#include "loads/line_loads.h"

#include <cmath>
#include <string>

#include "elements/active_set.h"
#include "elements/point_geometry.h"
#include "elements/shape_functions.h"
#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

bool printing() { return PROBLEM.printing(PRINT_DATA); }

// Three Gauss points along the line: exact for the load of a straight quadratic
// element and for the ring load N r of a cone.
constexpr double POINTS[3] = {-0.7745966692414834, 0.0, 0.7745966692414834};
constexpr double WEIGHTS[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};

void add_line_load(int set, int element, double normal, double tangential) {
  const ActiveSetRecord& a = ACTIVE;
  const ElementSet& s = SETS(set);
  const bool ring = s.family == ElementFamily::shell_of_revolution;
  const double* corel = a.reals(a.COREL);
  double loads[3 * 2] = {};
  for (int g = 0; g < 3; ++g) {
    double f[3], d[3];
    line_shape_functions(POINTS[g], a.NNODE, f, d);
    double tangent[2] = {}, radius = 0.0;
    for (int k = 0; k < a.NNODE; ++k) {
      tangent[0] += d[k] * corel[a.NDIME * k];
      tangent[1] += d[k] * corel[a.NDIME * k + 1];
      radius += f[k] * corel[a.NDIME * k];
    }
    const double length = std::hypot(tangent[0], tangent[1]);
    if (length == 0.0) continue;
    const double tx = tangent[0] / length, ty = tangent[1] / length;
    const double q[2] = {tangential * tx - normal * ty, tangential * ty + normal * tx};
    const double factor = WEIGHTS[g] * length * (ring ? CIRCUMFERENCE_FACTOR * radius : 1.0);
    for (int k = 0; k < a.NNODE; ++k)
      for (int i = 0; i < 2; ++i) loads[2 * k + i] += f[k] * q[i] * factor;
  }
  for (int k = 0; k < a.NNODE; ++k)
    for (int i = 0; i < 2; ++i) load_entry(set, element, k * s.NDOFN + i + 1) += loads[2 * k + i];
}

}  // namespace

void FUERLIN(int set) {
  const ElementSet& s = SETS(set);
  if (s.family != ElementFamily::beam_element && s.family != ElementFamily::shell_of_revolution)
    ERRSTP("FUERLIN: TIPO DE PROBLEMA NO DISPONIBLE");
  if (printing()) {
    write_empty(UNIT_LISTING, 2);
    write_record(UNIT_LISTING, fmt::X(5) + "CARGAS UNIFORMEMNTE REPARTIDAS EN LINEA DE ELEMENTOS");
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "ELEMENTO" + fmt::A("CARGA NORMAL", 16) + fmt::A("CARGA TANGENCIAL", 18));
  }
  for (LISTEN("FUERLIN"); !CARD.word_is(1, "FINCARGASDELINEA"); LISTEN("FUERLIN")) {
    if (CARD.NWORD > 0 || CARD.NVALU < 2) ERRSTP("FUERLIN : TARJETA EQUIVOCADA");
    const std::int32_t element = card_integer(1);
    if (element < 1 || element > s.NELEM) ERRSTP("FUERLIN : ERROR EN NUMERO DE ELMENETO");
    const double normal = card_real(2, "FUERLIN");
    const double tangential = CARD.NVALU >= 3 ? card_real(3, "FUERLIN") : 0.0;
    if (printing())
      write_record(UNIT_LISTING, fmt::X(5) + fmt::I(element_node(set, element, 0), 8) + fmt::E(normal, 16, 6) +
                                     fmt::E(tangential, 18, 6));
    gather_element(element);
    add_line_load(set, element, normal, tangential);
  }
}

}  // namespace vortan
