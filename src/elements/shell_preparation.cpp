#include "elements/shell_preparation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "elements/local_axes.h"
#include "elements/vector_helpers.h"
#include "input/card_reader.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr double DEGREES_TO_RADIANS = 0.01745329231621442;
constexpr double DEFAULT_COPLANAR_ANGLE = 5.0;

double& coord(std::int32_t node, int d) {
  return WORK.reals(PROBLEM.COORD)[(node - 1) + static_cast<std::int64_t>(d) * PROBLEM.NPNODS];
}

// Moves the model so that its smallest x, y and z are 0, keeping the negated minima
// for the reverse translation of the output files.
void translate_coordinates() {
  for (int d = 0; d < PROBLEM.NDIME && d < 3; ++d) {
    double lowest = coord(1, d);
    for (std::int32_t n = 2; n <= PROBLEM.NPNODS; ++n) lowest = std::min(lowest, coord(n, d));
    for (std::int32_t n = 1; n <= PROBLEM.NPNODS; ++n) coord(n, d) -= lowest;
    PROBLEM.shell_shift[d] = -lowest;
  }
}

void allocate_normal_arrays() {
  const std::int64_t n = PROBLEM.NPNODS;
  PROBLEM.GIROS = DIRECT(RUN.NXTPOS, RUN.MEMORY, n * PROBLEM.NDIME, "GIROS", REAL_WORDS);
  PROBLEM.NCONT = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "NCONT", INT_WORDS);
}

// Without "TOLCP=" the largest coplanar angle is a few degrees: a default that counted
// real folds as coplanar would restrain, at a fold, a rotation that one of the planes
// bends about, and give a silently too stiff structure. The echo shows the value used.
void read_coplanarity_card() {
  LISTEN("COPLAN");
  PROBLEM.coplanarity =
      coplanarity_cosine(GETREA("TOLCP=", DEFAULT_COPLANAR_ANGLE, " ANGULO MAXIMO PARA COPLANARIDAD"));
  const std::int64_t n = PROBLEM.NPNODS;
  ZEROR(n * PROBLEM.NDIME, WORK.reals(PROBLEM.GIROS));
  ZEROI(n, WORK.ints(PROBLEM.NCONT));
}

// The nodes' axes: their own systems and the inclined supports' angles (per node on
// the given cursor, the last card of a node listed twice winning, as the elements
// take it).
NodalSystems nodal_systems(std::int32_t& cursor) {
  NodalSystems systems;
  systems.has_system = WORK.ints(PROBLEM.shell_flags);
  systems.angles = WORK.reals(PROBLEM.shell_vectors);
  systems.nodes = PROBLEM.NPNODS;
  if (PROBLEM.MAPOY > 0 && PROBLEM.APOYO != 0) {
    double* support = WORK.reals(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "ANGUL", REAL_WORDS));
    ZEROR(PROBLEM.NPNODS, support);
    for (std::int32_t i = 0; i < PROBLEM.MAPOY; ++i) {
      const std::int32_t node = WORK.int_at(PROBLEM.APOYO + i);
      if (node >= 1 && node <= PROBLEM.NPNODS) support[node - 1] = WORK.reals(PROBLEM.APANG)[i];
    }
    systems.support = support;
  }
  return systems;
}

// The first nnode nodes of element row `row` of a set and the element's axes from
// their coordinates.
void element_nodes_and_axes(const ElementSet& set, std::int32_t row, int nnode, int* nodes, double* axes) {
  double corel[3 * MAX_ELEMENT_NODES] = {};
  for (int k = 0; k < nnode; ++k) {
    nodes[k] = WORK.int_at(set.LNODS + (row - 1) + (k + 1) * set.NELEM);
    for (int d = 0; d < PROBLEM.NDIME && d < 3; ++d) corel[3 * k + d] = coord(nodes[k], d);
  }
  flat_element_axes(nnode, corel, axes);
}

// Every element of a flat-shell set adds its normal to GIROS of its nodes (in the
// global axes, as the members connected to shells read it) and counts itself in NCONT
// of each of them.
void accumulate_set_normals(const ElementSet& set) {
  NodalSystems systems;  // no node's own axes: the global ones
  systems.nodes = PROBLEM.NPNODS;
  double* giros = WORK.reals(PROBLEM.GIROS);
  std::int32_t* ncont = WORK.ints(PROBLEM.NCONT);
  const int nnode = std::min<int>(set.NNODE, MAX_ELEMENT_NODES);
  for (std::int32_t row = 1; row <= set.NELEM; ++row) {
    int nodes[MAX_ELEMENT_NODES];
    double axes[9];
    element_nodes_and_axes(set, row, nnode, nodes, axes);
    accumulate_nodal_normals(nnode, nodes, axes, systems, giros);
    for (int k = 0; k < nnode; ++k) ++ncont[nodes[k] - 1];
  }
}

// The average of the normals met at each node, scaled to unit length.
void normalise_nodal_normals() {
  double* giros = WORK.reals(PROBLEM.GIROS);
  const std::int32_t* ncont = WORK.ints(PROBLEM.NCONT);
  const std::int32_t n = PROBLEM.NPNODS;
  for (std::int32_t i = 0; i < n; ++i) {
    if (ncont[i] <= 0) continue;
    double squared = 0.0;
    for (int d = 0; d < 3; ++d) {
      giros[i + d * n] /= ncont[i];
      squared += giros[i + d * n] * giros[i + d * n];
    }
    if (squared > 0.0)
      for (int d = 0; d < 3; ++d) giros[i + d * n] /= std::sqrt(squared);
  }
}

// The matrices of the flat-shell elements, sized by the largest stress count (first)
// and the most element variables (second) of the flat-shell sets.
void allocate_shell_matrices() {
  ShellArrays& m = PROBLEM.shell;
  m.first = m.second = 0;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    if (SETS(s).family != ElementFamily::flat_shell) continue;
    m.first = std::max(m.first, SETS(s).NSTRE);
    m.second = std::max(m.second, SETS(s).NEVAB());
  }
  const std::int64_t first = m.first, second = m.second;
  auto take = [](std::int64_t count, const char* name) {
    return DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS);
  };
  m.BMATG = take(first * second, "BMATG");
  m.ROTAR = take(first * first, "ROTAR");
  m.TEMPO = take(second * second, "TEMPO");
  m.GIROM = take(second * second, "GIROM");
  m.GIROT = take(second * second, "GIROT");
  m.TEMP1 = take(second * second, "TEMP1");
}

// Restrains unknown `kind` (1 to 6) of a node unless its restraints hold it already.
void restrain_kind(std::int32_t node, int kind) {
  std::int32_t& code = adres(node, 2 + kind);
  if (code != 1) return;
  code = 2;
  const int equation = kind_equation(node, kind);
  WORK.int_at(PROBLEM.IFFIX + equation - 1) = 1;
  WORK.reals(PROBLEM.FIXED)[equation - 1] = 0.0;
}

int dominant_axis(const double* v) {
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (std::fabs(v[i]) > std::fabs(v[best])) best = i;
  return best;
}

// Per node of the flat shells, after every element was met: 0 not met, -1 met by an
// element out of its plane, else the rotation (4, 5 or 6) to suppress.
// The TLCL's mid-side nodes are left to their own rule (suppress_midside_rotations).
void test_set_coplanarity(const ElementSet& set, const NodalSystems& systems, std::int32_t* verdict) {
  const double* giros = WORK.reals(PROBLEM.GIROS);
  const int nnode = std::min<int>(set.NNODE, MAX_ELEMENT_NODES);
  const int tested = set.element_type == ELEM_TLCL ? 3 : nnode;
  for (std::int32_t row = 1; row <= set.NELEM; ++row) {
    int nodes[MAX_ELEMENT_NODES];
    double axes[9];
    element_nodes_and_axes(set, row, nnode, nodes, axes);
    for (int k = 0; k < tested; ++k) {
      const int node = nodes[k];
      // Both normals in the node's axes (its own system, an inclined support's turn),
      // where the dominant axis is chosen.
      double normal[3] = {axes[6], axes[7], axes[8]}, node_normal[3];
      to_nodal_axes(systems, node, normal);
      for (int d = 0; d < 3; ++d) node_normal[d] = giros[(node - 1) + d * PROBLEM.NPNODS];
      to_nodal_axes(systems, node, node_normal);
      const int rotation = suppressed_rotation(normal, node_normal, PROBLEM.coplanarity, set.local_axes == 1);
      std::int32_t& v = verdict[node - 1];
      if (rotation == 0) v = -1;
      else if (v == 0) v = rotation;
    }
  }
}

// The rotation about the normal has no stiffness where the elements at a node are
// coplanar: it is restrained there (kind 4, 5 or 6: the rotation about the normal's
// dominant axis, or always the sixth for sets with "LOCALES"), unless the node's
// restraints already hold it.
void suppress_coplanar_rotations(const NodalSystems& systems, std::int32_t cursor) {
  std::int32_t* verdict = WORK.ints(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "NCOPL", INT_WORDS));
  ZEROI(PROBLEM.NPNODS, verdict);
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (SETS(s).family == ElementFamily::flat_shell) test_set_coplanarity(SETS(s), systems, verdict);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node)
    if (verdict[node - 1] >= 4) restrain_kind(node, verdict[node - 1]);
}

// Planes meeting at a TLCL side count as one plane only within a degree (and within
// the coplanarity angle when it is smaller): one plane ties the slopes of the two
// elements across the side in the ratio of their axes' components along the free axis,
// a true constraint beyond a small angle; two planes keep them apart, and the pair is
// well conditioned down to angles far below a degree.
constexpr double MIDSIDE_COPLANAR_COSINE = 0.9998476951563913;  // cos 1 degree

// Per mid-side node of the TLCL flat shells: the axis about which its first element
// turns it, the side's direction, and whether another element turns it about an axis
// out of the coplanarity tolerance of the first (a fold along the side).
struct MidsideAxes {
  double* first;   // NPNODS x 3, node fastest
  double* side;    // NPNODS x 3
  double* normal;  // NPNODS x 3: the first element's normal
  std::int32_t* state;  // 0 no TLCL mid-side node, 1 one plane, 2 a fold
};

void collect_midside_axes(const ElementSet& set, const NodalSystems& systems, const MidsideAxes& midside) {
  const std::int32_t n = PROBLEM.NPNODS;
  for (std::int32_t row = 1; row <= set.NELEM; ++row) {
    int nodes[6];
    double corel[3 * 6] = {};
    for (int k = 0; k < 6; ++k) {
      nodes[k] = WORK.int_at(set.LNODS + (row - 1) + (k + 1) * set.NELEM);
      for (int d = 0; d < PROBLEM.NDIME && d < 3; ++d) corel[3 * k + d] = coord(nodes[k], d);
    }
    double axes[9];
    flat_element_axes(6, corel, axes);
    for (int k = 0; k < 3; ++k) {
      const int node = nodes[3 + k];
      double m[3], side[3], normal[3] = {axes[6], axes[7], axes[8]};
      midside_rotation_axis(corel, nodes, axes, k, m);
      cross_product(axes + 6, m, side);  // the side's direction
      to_nodal_axes(systems, node, m);
      to_nodal_axes(systems, node, side);
      to_nodal_axes(systems, node, normal);
      std::int32_t& state = midside.state[node - 1];
      if (state == 0) {
        state = 1;
        for (int d = 0; d < 3; ++d) {
          midside.first[(node - 1) + d * n] = m[d];
          midside.side[(node - 1) + d * n] = side[d];
          midside.normal[(node - 1) + d * n] = normal[d];
        }
        continue;
      }
      double first[3];
      for (int d = 0; d < 3; ++d) first[d] = midside.first[(node - 1) + d * n];
      if (std::fabs(dot_product(first, m)) < std::max(PROBLEM.coplanarity, MIDSIDE_COPLANAR_COSINE)) state = 2;
    }
  }
}

// The mid-side node of a TLCL flat shell keeps only the unknowns its elements use.
// Rotations: each element uses the component about its own axis m (in its plane,
// normal to the side). Along one plane one component is used: the rotation about m's
// dominant axis stays free and the other two are restrained. At a fold the axes of the
// planes span the plane normal to the side: only the rotation about the side's
// dominant axis is restrained (the two left free still give every pair of
// components). Displacements: each element uses the two in its plane; along one plane
// the displacement along the normal's dominant axis is restrained (the two left give
// every in-plane displacement), at a fold all three are used.
void suppress_midside_rotations(const NodalSystems& systems, std::int32_t cursor) {
  bool any = false;
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    any = any || (SETS(s).family == ElementFamily::flat_shell && SETS(s).element_type == ELEM_TLCL);
  if (!any) return;
  const std::int64_t n = PROBLEM.NPNODS;
  MidsideAxes midside;
  midside.first = WORK.reals(DIREC1(cursor, RUN.MEMORY, 3 * n, "MIDAX", REAL_WORDS));
  midside.side = WORK.reals(DIREC1(cursor, RUN.MEMORY, 3 * n, "MIDSD", REAL_WORDS));
  midside.normal = WORK.reals(DIREC1(cursor, RUN.MEMORY, 3 * n, "MIDNO", REAL_WORDS));
  midside.state = WORK.ints(DIREC1(cursor, RUN.MEMORY, n, "MIDST", INT_WORDS));
  ZEROI(n, midside.state);
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (SETS(s).family == ElementFamily::flat_shell && SETS(s).element_type == ELEM_TLCL)
      collect_midside_axes(SETS(s), systems, midside);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const int state = midside.state[node - 1];
    if (state == 0) continue;
    double v[3];
    const double* source = state == 1 ? midside.first : midside.side;
    for (int d = 0; d < 3; ++d) v[d] = source[(node - 1) + d * n];
    const int axis = dominant_axis(v);
    for (int d = 0; d < 3; ++d)
      if ((state == 1) != (d == axis)) restrain_kind(node, 4 + d);
    if (state != 1) continue;
    for (int d = 0; d < 3; ++d) v[d] = midside.normal[(node - 1) + d * n];
    restrain_kind(node, 1 + dominant_axis(v));
  }
}

}  // namespace

double coplanarity_cosine(double tolcp) {
  if (tolcp < 0.0) return -1.0;
  // The angle is formed in single precision, as the factor is: in double, 90 degrees
  // times this factor falls short of a right angle and leaves a cosine of 1.8e-8
  // instead of the 0.0 a right angle must give.
  const float radians = static_cast<float>(tolcp) * static_cast<float>(DEGREES_TO_RADIANS);
  const double cosine = std::cos(static_cast<double>(radians));
  return cosine < 1.0e-10 ? 0.0 : cosine;
}

void prepare_flat_shells(ProblemVariant variant) {
  if (variant == ProblemVariant::static_linear) translate_coordinates();
  allocate_normal_arrays();
  allocate_shell_matrices();
  read_coplanarity_card();
}

void restrain_unused_shell_rotations() {
  std::int32_t cursor = RUN.NXTPOS;
  const NodalSystems systems = nodal_systems(cursor);
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (SETS(s).family == ElementFamily::flat_shell) accumulate_set_normals(SETS(s));
  normalise_nodal_normals();
  suppress_coplanar_rotations(systems, cursor);
  suppress_midside_rotations(systems, cursor);
}

}  // namespace vortan
