#include "loads/interpolated_loads.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "elements/active_set.h"
#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/catalogue.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

constexpr double TWO_PI = 6.2831854820251465;
// A side node lies on a segment when it is closer to its line than this fraction of
// the segment's length; the segment must be covered by sides up to the same fraction.
constexpr double ON_LINE = 1.0e-6;

bool printing() { return PROBLEM.printing(PRINT_DATA); }

struct Station {
  double x, y, qx, qy;
};

// How the load of a segment is measured: per unit of its length, or of its
// projection on x or on y.
enum class Measure { length, x, y };

struct Segment {
  int a, b;
  Measure measure;
};

// The sides of the plane elements as local node positions (1-based): 2 nodes, or 3
// (start, middle, end) for the quadratic elements; 0 ends the list.
struct SideTable {
  int count;
  int nodes;
  int side[4][3];
};

SideTable sides_of(int element_type) {
  switch (element_type) {
    case ELEM_TR3: return {3, 2, {{1, 2}, {2, 3}, {3, 1}}};
    case ELEM_TR6: return {3, 3, {{1, 2, 3}, {3, 4, 5}, {5, 6, 1}}};
    case ELEM_QU4: return {4, 2, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}};
    case ELEM_QU8: case ELEM_QU9: return {4, 3, {{1, 2, 3}, {3, 4, 5}, {5, 6, 7}, {7, 8, 1}}};
    default: return {0, 0, {}};
  }
}

// Shape functions of a side of 2 or 3 nodes at xi and their derivatives.
void side_functions(int nodes, double xi, double* n, double* dn) {
  if (nodes == 3) {
    n[0] = 0.5 * (xi * xi - xi), n[1] = 1.0 - xi * xi, n[2] = 0.5 * (xi * xi + xi);
    dn[0] = xi - 0.5, dn[1] = -2.0 * xi, dn[2] = xi + 0.5;
    return;
  }
  n[0] = 0.5 - 0.5 * xi, n[1] = 0.5 + 0.5 * xi;
  dn[0] = -0.5, dn[1] = 0.5;
}

// ---- cards -------------------------------------------------------------------------

[[noreturn]] void wrong_load() { ERRSTP("INTERF : TARJETA EQUIVOCADA EN CARGA"); }
[[noreturn]] void wrong_segment() { ERRSTP("INTERF : TARJETA EQUIVOCADA EN SEGMENTO"); }

// Station cards from the current card up to "FINCARGAS".
void read_stations(std::vector<Station>& stations) {
  for (; !CARD.word_is(1, "FINCARGAS"); LISTEN("INTERF")) {
    if (CARD.NWORD > 0 || CARD.NVALU != 4) wrong_load();
    stations.push_back({card_real(1, "INTERF"), card_real(2, "INTERF"), card_real(3, "INTERF"),
                        card_real(4, "INTERF")});
  }
}

// Segment cards up to "FINSEGMENTOS": two station numbers, then optionally "X" or "Y".
void read_segments(int stations, std::vector<Segment>& segments) {
  for (LISTEN("INTERF"); !CARD.word_is(1, "FINSEGMENTOS"); LISTEN("INTERF")) {
    if (CARD.NVALU != 2 || !CARD.WORD(1).empty() || !CARD.WORD(2).empty()) wrong_segment();
    Measure measure = Measure::length;
    if (CARD.NWORD == 1 && CARD.NSLOT == 3 && CARD.word_is(3, "X")) measure = Measure::x;
    else if (CARD.NWORD == 1 && CARD.NSLOT == 3 && CARD.word_is(3, "Y")) measure = Measure::y;
    else if (CARD.NWORD != 0) wrong_segment();
    const std::int32_t a = card_integer(1), b = card_integer(2);
    if (a < 1 || a > stations || b < 1 || b > stations) wrong_segment();
    segments.push_back({a, b, measure});
  }
}

void write_stations(const std::vector<Station>& stations) {
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, fmt::X(5) + "CARGAS INTERMEDIAS");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "NUMERO DE CARGAS:" + fmt::I(static_cast<int>(stations.size()), 5));
  write_record(UNIT_LISTING, " CARGA     X-COOR.       Y-COOR.       X-CARGA       Y-CARGA");
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const Station& s = stations[i];
    write_record(UNIT_LISTING, fmt::I(static_cast<int>(i + 1), 6) + fmt::E(s.x, 14, 5) + fmt::E(s.y, 14, 5) +
                                   fmt::E(s.qx, 14, 5) + fmt::E(s.qy, 14, 5));
  }
}

void write_segments(const std::vector<Segment>& segments) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "NUMERO DE SEGMENTOS:" + fmt::I(static_cast<int>(segments.size()), 5));
  write_record(UNIT_LISTING, " SEGMENTO  DESDE  HASTA  MEDIDA");
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const Segment& s = segments[i];
    const char* measure = s.measure == Measure::x ? "X" : s.measure == Measure::y ? "Y" : "LONGITUD";
    write_record(UNIT_LISTING, fmt::I(static_cast<int>(i + 1), 9) + fmt::I(s.a, 7) + fmt::I(s.b, 7) + fmt::X(2) +
                                   measure);
  }
}

// ---- integration ---------------------------------------------------------------------

// A segment from station A to station B, of length `length` and direction (dx, dy).
struct Line {
  double ax, ay, dx, dy, length;
  Station from, to;
  double factor;  // load per unit length of the segment for a load of 1 per unit measure

  // Position of a point along the segment, 0 at A and 1 at B.
  double along(double x, double y) const { return ((x - ax) * dx + (y - ay) * dy) / length; }
  double off(double x, double y) const { return std::fabs((x - ax) * dy - (y - ay) * dx); }
};

Line line_of(const std::vector<Station>& stations, const Segment& segment) {
  const Station& a = stations[segment.a - 1];
  const Station& b = stations[segment.b - 1];
  const double lx = b.x - a.x, ly = b.y - a.y;
  const double length = std::hypot(lx, ly);
  if (length == 0.0) ERRSTP("INTERF : SEGMENTO CON LONGITUD NULA");
  if (segment.measure == Measure::x && lx == 0.0) ERRSTP("INTERF : SEGMENTO CON LONG. X NULA");
  if (segment.measure == Measure::y && ly == 0.0) ERRSTP("INTERF : SEGMENTO CON LONG. Y NULA");
  double factor = 1.0;
  if (segment.measure == Measure::x) factor = std::fabs(lx) / length;
  if (segment.measure == Measure::y) factor = std::fabs(ly) / length;
  return {a.x, a.y, lx / length, ly / length, length, a, b, factor};
}

// The nodes of a side sorted, to recognise the same side in two elements.
using SideKey = std::array<std::int32_t, 3>;

// Adds to the element's row the forces of the part of one side that lies on the
// segment; returns that part as a fraction of the segment (0 when the side is not on
// it). Integrates with 3 Gauss points over the part, where the load is linear.
double load_side(int set, int element, const SideTable& table, int k, const Line& line, double* totals) {
  const int m = table.nodes;
  double x[3], y[3];
  for (int a = 0; a < m; ++a) {
    const std::int32_t node = element_node(set, element, table.side[k][a]);
    x[a] = node_coordinate(node, 0);
    y[a] = node_coordinate(node, 1);
    if (line.off(x[a], y[a]) > ON_LINE * line.length) return 0.0;
  }
  const double t1 = line.along(x[0], y[0]), t2 = line.along(x[m - 1], y[m - 1]);
  const double low = std::max(std::min(t1, t2), 0.0), high = std::min(std::max(t1, t2), 1.0);
  if (high - low <= ON_LINE) return 0.0;
  // The part in the side's own coordinate, where t is linear along a straight side.
  const double xi_low = -1.0 + 2.0 * (low - t1) / (t2 - t1);
  const double xi_high = -1.0 + 2.0 * (high - t1) / (t2 - t1);
  const double centre = 0.5 * (xi_low + xi_high), half = 0.5 * (xi_high - xi_low);
  static const double POINTS[3] = {-0.7745966692414834, 0.0, 0.7745966692414834};
  static const double WEIGHTS[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};
  double forces[6] = {};
  const bool revolution = SETS(set).problem_type == AXISYMMETRIC;
  for (int g = 0; g < 3; ++g) {
    const double xi = centre + half * POINTS[g];
    double n[3], dn[3];
    side_functions(m, xi, n, dn);
    double px = 0.0, py = 0.0, jx = 0.0, jy = 0.0;
    for (int a = 0; a < m; ++a) {
      px += n[a] * x[a], py += n[a] * y[a];
      jx += dn[a] * x[a], jy += dn[a] * y[a];
    }
    const double t = line.along(px, py);
    double w = WEIGHTS[g] * std::fabs(half) * std::hypot(jx, jy) * line.factor;
    if (revolution) w *= TWO_PI * px;
    const double qx = (1.0 - t) * line.from.qx + t * line.to.qx;
    const double qy = (1.0 - t) * line.from.qy + t * line.to.qy;
    for (int a = 0; a < m; ++a) {
      forces[2 * a] += w * n[a] * qx;
      forces[2 * a + 1] += w * n[a] * qy;
    }
  }
  for (int a = 0; a < m; ++a) {
    add_nodal_load(set, element, table.side[k][a], forces + 2 * a, 2);
    totals[0] += forces[2 * a];
    totals[1] += forces[2 * a + 1];
  }
  return high - low;
}

void load_segment(int set, const Line& line, double* totals) {
  const ElementSet& s = SETS(set);
  const SideTable table = sides_of(s.element_type);
  std::vector<SideKey> loaded;
  double covered = 0.0;
  for (int element = 1; element <= s.NELEM; ++element)
    for (int k = 0; k < table.count; ++k) {
      SideKey key = {0, 0, 0};
      for (int a = 0; a < table.nodes; ++a) key[a] = element_node(set, element, table.side[k][a]);
      std::sort(key.begin(), key.end());
      if (std::find(loaded.begin(), loaded.end(), key) != loaded.end()) continue;
      const double part = load_side(set, element, table, k, line, totals);
      if (part > 0.0) {
        loaded.push_back(key);
        covered += part;
      }
    }
  // A segment off the mesh, or running beyond it, would lose its load unseen.
  if (covered < 1.0 - ON_LINE) ERRSTP("INTERF: SEGMENTO NO CUBIERTO POR EL SET");
}

void write_totals(const double* totals) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "TOTAL DE FUERZAS INTERMEDIAS");
  write_record(UNIT_LISTING, fmt::X(5) + "TOTAL DE FUERZAS EN DIRECCION X" + fmt::E(totals[0], 14, 5));
  write_record(UNIT_LISTING, fmt::X(5) + "TOTAL DE FUERZAS EN DIRECCION Y" + fmt::E(totals[1], 14, 5));
}

}  // namespace

void INTERF(int set) {
  const ElementSet& s = SETS(set);
  const bool plane = s.problem_type == PLANE_STRESS || s.problem_type == PLANE_STRAIN ||
                     s.problem_type == AXISYMMETRIC;
  if (!plane || sides_of(s.element_type).count == 0) ERRSTP("INTERF: TIPO DE PROBLEMA NO DISPONIBLE");
  for (LISTEN("INTERF"); !CARD.word_is(1, "FININTERPOLADAS"); LISTEN("INTERF")) {
    std::vector<Station> stations;
    std::vector<Segment> segments;
    read_stations(stations);
    read_segments(static_cast<int>(stations.size()), segments);
    if (printing()) {
      write_stations(stations);
      write_segments(segments);
    }
    double totals[2] = {};
    for (const Segment& segment : segments) load_segment(set, line_of(stations, segment), totals);
    if (printing()) write_totals(totals);
  }
}

}  // namespace vortan
