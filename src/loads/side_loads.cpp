#include "loads/side_loads.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "elements/active_set.h"
#include "elements/conduction_boundary.h"
#include "elements/integration_rules.h"
#include "elements/point_geometry.h"
#include "elements/shape_functions.h"
#include "elements/vector_helpers.h"
#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

constexpr int MAX_FACE_POINTS = 4;

bool printing() { return PROBLEM.printing(PRINT_DATA); }

// One loaded side or face as read: the element row, the listed nodes and their loads.
struct SideCard {
  int element = 0;
  std::int32_t nodes[MAX_SIDE_NODES] = {};
  double loads[MAX_SIDE_NODES * SIDE_VALUES] = {};
};

// Sides of two-dimensional sets are lines of 2 or 3 nodes; faces of solids are
// triangles or quadrilaterals of up to 8 nodes, and need at least 3. A flux on a bar
// of heat conduction is given at an end node or along the bar (2 or 3 nodes).
void check_side_size(int nodge, int dimension, bool conduction) {
  const bool bar = conduction && dimension == 1 && nodge >= 1 && nodge <= 3;
  const bool plane = dimension == 2 && (nodge == 2 || nodge == 3);
  const bool solid = dimension == 3 && nodge >= 3 && nodge <= MAX_SIDE_NODES;
  if (!bar && !plane && !solid) ERRSTP("FUEREP: NODGE EQUIVOCADO");
}

void write_heading(int nodge) {
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, fmt::X(5) + "CARGAS UNIFORMEMNTE REPARTIDAS EN LADOS DE LEMENTOS");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "NUMERO DE NODOS EN LADO       (NODGE) =" + fmt::I(nodge, 5));
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "LADOS CARGADOS Y CARGAS ACTUANTES");
}

// The side card: element number within the set and nodge node numbers. Faces of solids
// may leave trailing node numbers 0 (a 4-node face listed with nodge 8).
void read_side_nodes(const ElementSet& s, int nodge, SideCard& side) {
  side.element = card_integer(1);
  if (side.element < 1 || side.element > s.NELEM) ERRSTP("FUEREP : CONECTIVIDADES DE LADO");
  for (int a = 0; a < nodge; ++a) {
    const std::int32_t node = card_integer(a + 2);
    const bool absent = s.dimension == 3 && node == 0;
    if (!absent && (node < 1 || node > PROBLEM.NPNODS)) ERRSTP("FUEREP: NODO DE LADO NO EXISTENTE");
    side.nodes[a] = node;
  }
}

void read_side_loads(int nodge, int ndofn, SideCard& side) {
  LISTEN("FUEREP");
  if (CARD.NVALU > nodge * ndofn) ERRSTP("FUEREP : PRESIONES SOBRE LADO");
  for (int i = 0; i < nodge * SIDE_VALUES; ++i) side.loads[i] = 0.0;
  for (int i = 0; i < CARD.NVALU; ++i) side.loads[(i / ndofn) * SIDE_VALUES + i % ndofn] = card_real(i + 1, "FUEREP");
}

void write_side(const SideCard& side, int nodge, int ndofn, int element_number) {
  std::string line = fmt::X(5) + "ELEMENTO:" + fmt::I(element_number, 8) + fmt::X(3) + "CONECTIV.";
  for (int a = 0; a < nodge; ++a) line += fmt::I(side.nodes[a], 7);
  write_record(UNIT_LISTING, line);
  for (int a = 0; a < nodge; ++a) {
    std::string values = fmt::X(26) + fmt::I(side.nodes[a], 7);
    for (int i = 0; i < ndofn; ++i) values += fmt::E(side.loads[a * SIDE_VALUES + i], 14, 5);
    write_record(UNIT_LISTING, values);
  }
}

// The nodes of the side that bear loads (all of them on a plane side, the non-zero ones
// on a face), with their coordinates and loads packed for the integration.
struct PackedSide {
  int count = 0;
  int listed[MAX_SIDE_NODES] = {};  // position of each packed node on the card
  double coordinates[MAX_SIDE_NODES * 3] = {};
  double loads[MAX_SIDE_NODES * SIDE_VALUES] = {};
};

PackedSide pack_side(const SideCard& side, int nodge, int ndime) {
  PackedSide packed;
  for (int a = 0; a < nodge; ++a) {
    if (side.nodes[a] == 0) continue;
    const int p = packed.count++;
    packed.listed[p] = a;
    for (int i = 0; i < ndime; ++i) packed.coordinates[p * ndime + i] = node_coordinate(side.nodes[a], i);
    for (int i = 0; i < ndime; ++i) packed.loads[p * ndime + i] = side.loads[a * SIDE_VALUES + i];
  }
  return packed;
}

void integrate_and_place(int set, const SideCard& side, int nodge) {
  const ElementSet& s = SETS(set);
  const int ndime = s.dimension;
  const PackedSide packed = pack_side(side, nodge, ndime);
  double forces[MAX_SIDE_NODES * 3] = {};
  if (ndime == 2) {
    side_forces(packed.count, packed.coordinates, packed.loads, s.problem_type == AXISYMMETRIC, forces);
  } else {
    const int m = packed.count;
    if (m != 3 && m != 4 && m != 6 && m != 8) ERRSTP("FUEREP: CARA CON NODOS EQUIVOCADOS");
    face_forces(m, packed.coordinates, packed.loads, forces);
  }
  for (int p = 0; p < packed.count; ++p) {
    const std::int32_t node = side.nodes[packed.listed[p]];
    const int position = node_position(set, side.element, node);
    if (position == 0) ERRSTP("FUEREP: NODO DE LADO FUERA DEL ELEMENTO");
    add_nodal_load(set, side.element, position, forces + p * ndime, ndime);
  }
}

// Heat of a flux on a piece of a conduction element: the listed nodes that are not 0
// form an end node or the length of a bar, a side, or a face (conduction_boundary.h),
// and each node receives the integral of N_a q dA under the set's thickness rule.
void integrate_flux_and_place(int set, const SideCard& side, int nodge) {
  const ElementSet& s = SETS(set);
  int m = 0;
  std::int32_t nodes[MAX_SIDE_NODES];
  double xyz[3 * MAX_SIDE_NODES], flux[MAX_SIDE_NODES];
  for (int a = 0; a < nodge; ++a) {
    if (side.nodes[a] == 0) continue;
    nodes[m] = side.nodes[a];
    node_point(side.nodes[a], xyz + 3 * m);
    flux[m++] = side.loads[a * SIDE_VALUES];
  }
  const int dimension = s.dimension == 1 ? (m == 1 ? 0 : 1) : s.dimension - 1;
  const int type = dimension == 0 ? 0 : piece_element_type(dimension, m);
  if (dimension == 0 ? m != 1 : type == 0) ERRSTP("FUEREP: CARA CON NODOS EQUIVOCADOS");
  double mass[MAX_SIDE_NODES * MAX_SIDE_NODES];
  piece_integrals(dimension, m, dimension == 0 ? 1 : exact_piece_points(type), xyz, mass);
  const double factor = piece_measure_factor(set, dimension);
  for (int a = 0; a < m; ++a) {
    double heat = 0.0;
    for (int b = 0; b < m; ++b) heat += mass[a + m * b] * flux[b];
    heat *= factor;
    const int position = node_position(set, side.element, nodes[a]);
    if (position == 0) ERRSTP("FUEREP: NODO DE LADO FUERA DEL ELEMENTO");
    add_nodal_load(set, side.element, position, &heat, 1);
  }
}

// Side and face loads act on the continuum (one displacement per coordinate) and on
// heat conduction (one temperature).
void require_side_loads(const ElementSet& s) {
  const bool continuum = s.family == ElementFamily::continuum && s.NDOFN == s.dimension;
  const bool conduction = s.family == ElementFamily::conduction && s.NDOFN == 1;
  if (!continuum && !conduction) ERRSTP("FUEREP: TIPO DE PROBLEMA NO DISPONIBLE");
}

}  // namespace

void side_forces(int nodes, const double* xy, const double* loads, bool axisymmetric,
                 double* forces) {
  const bool quadratic = nodes == 3;
  const int n = quadratic ? 3 : 2;
  double point[3], weight[3], N[3], dN[3];
  REGINT(quadratic ? ELEM_LI3 : ELEM_LI2, n, point, weight);
  for (int a = 0; a < 2 * n; ++a) forces[a] = 0.0;
  for (int g = 0; g < n; ++g) {
    line_shape_functions(point[g], n, N, dN);
    double p1 = 0, p2 = 0, dx = 0, dy = 0, r = 0;
    for (int a = 0; a < n; ++a) {
      p1 += N[a] * loads[2 * a];
      p2 += N[a] * loads[2 * a + 1];
      dx += dN[a] * xy[2 * a];
      dy += dN[a] * xy[2 * a + 1];
      r += N[a] * xy[2 * a];
    }
    const double w = axisymmetric ? weight[g] * r * CIRCUMFERENCE_FACTOR : weight[g];
    // p1 along (-dy, dx), p2 along (dx, dy); |(dx, dy)| is the length element.
    const double fx = p2 * dx - p1 * dy;
    const double fy = p1 * dx + p2 * dy;
    for (int a = 0; a < n; ++a) {
      forces[2 * a] += w * N[a] * fx;
      forces[2 * a + 1] += w * N[a] * fy;
    }
  }
}

void face_forces(int nodes, const double* xyz, const double* loads, double* forces) {
  const bool quadrilateral = nodes == 4 || nodes == 8;
  const int npoints = quadrilateral ? 4 : (nodes == 6 ? 3 : 1);
  double point[2 * MAX_FACE_POINTS], weight[MAX_FACE_POINTS];
  REGINT(quadrilateral ? ELEM_QU4 : ELEM_TR3, npoints, point, weight);
  double N[MAX_SIDE_NODES], dN[2 * MAX_SIDE_NODES];
  for (int a = 0; a < 3 * nodes; ++a) forces[a] = 0.0;
  for (int g = 0; g < npoints; ++g) {
    const double s = point[g], t = point[npoints + g];
    if (quadrilateral) quadrilateral_shape_functions(s, t, nodes, N, dN);
    else triangle_shape_functions(s, t, nodes, N, dN);
    double p[3] = {}, t1[3] = {}, t2[3] = {};
    for (int a = 0; a < nodes; ++a)
      for (int i = 0; i < 3; ++i) {
        p[i] += N[a] * loads[3 * a + i];
        t1[i] += dN[2 * a] * xyz[3 * a + i];
        t2[i] += dN[2 * a + 1] * xyz[3 * a + i];
      }
    // The normal t1 x t2 has the area element for its length; the tractions act along
    // the unit tangents over that same area element.
    double normal[3];
    cross_product(t1, t2, normal);
    const double area = std::sqrt(dot_product(normal, normal));
    const double l1 = std::sqrt(dot_product(t1, t1));
    const double l2 = std::sqrt(dot_product(t2, t2));
    const double a1 = l1 > 0.0 ? p[0] * area / l1 : 0.0;
    const double a2 = l2 > 0.0 ? p[1] * area / l2 : 0.0;
    double f[3];
    for (int i = 0; i < 3; ++i) f[i] = a1 * t1[i] + a2 * t2[i] + p[2] * normal[i];
    for (int a = 0; a < nodes; ++a)
      for (int i = 0; i < 3; ++i) forces[3 * a + i] += weight[g] * N[a] * f[i];
  }
}

void FUEREP(int set) {
  const ElementSet& s = SETS(set);
  require_side_loads(s);
  const bool conduction = s.family == ElementFamily::conduction;
  LISTEN("FUEREP");
  const int nodge = GETINT("NODGE=", s.dimension == 3 ? 8 : 3, "NUMERO DE NODOS POR LADO CARGADO");
  check_side_size(nodge, s.dimension, conduction);
  if (printing()) write_heading(nodge);
  for (;;) {
    LISTEN("FUEREP");
    if (CARD.word_is(1, "FINDISTRIBUIDAS")) return;
    SideCard side;
    read_side_nodes(s, nodge, side);
    read_side_loads(nodge, s.NDOFN, side);
    if (printing()) write_side(side, nodge, s.NDOFN, element_node(set, side.element, 0));
    if (conduction) integrate_flux_and_place(set, side, nodge);
    else integrate_and_place(set, side, nodge);
  }
}

}  // namespace vortan
