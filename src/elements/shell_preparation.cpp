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

NodalSystems nodal_systems() {
  NodalSystems systems;
  systems.has_system = WORK.ints(PROBLEM.shell_flags);
  systems.angles = WORK.reals(PROBLEM.shell_vectors);
  systems.nodes = PROBLEM.NPNODS;
  return systems;
}

// Every element of a flat-shell set adds its normal to GIROS of its nodes and counts
// itself in NCONT of each of them.
void accumulate_set_normals(const ElementSet& set) {
  const NodalSystems systems = nodal_systems();
  double* giros = WORK.reals(PROBLEM.GIROS);
  std::int32_t* ncont = WORK.ints(PROBLEM.NCONT);
  const int nnode = std::min<int>(set.NNODE, MAX_ELEMENT_NODES);
  for (std::int32_t row = 1; row <= set.NELEM; ++row) {
    int nodes[MAX_ELEMENT_NODES];
    double corel[3 * MAX_ELEMENT_NODES] = {};
    for (int k = 0; k < nnode; ++k) {
      nodes[k] = WORK.int_at(set.LNODS + (row - 1) + (k + 1) * set.NELEM);
      for (int d = 0; d < PROBLEM.NDIME && d < 3; ++d) corel[3 * k + d] = coord(nodes[k], d);
    }
    double axes[9];
    flat_element_axes(nnode, corel, axes);
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

// Per node of the flat shells, after every element was met: 0 not met, -1 met by an
// element out of its plane, else the rotation (4, 5 or 6) to suppress.
void test_set_coplanarity(const ElementSet& set, std::int32_t* verdict) {
  const NodalSystems systems = nodal_systems();
  const double* giros = WORK.reals(PROBLEM.GIROS);
  const int nnode = std::min<int>(set.NNODE, MAX_ELEMENT_NODES);
  for (std::int32_t row = 1; row <= set.NELEM; ++row) {
    int nodes[MAX_ELEMENT_NODES];
    double corel[3 * MAX_ELEMENT_NODES] = {};
    for (int k = 0; k < nnode; ++k) {
      nodes[k] = WORK.int_at(set.LNODS + (row - 1) + (k + 1) * set.NELEM);
      for (int d = 0; d < PROBLEM.NDIME && d < 3; ++d) corel[3 * k + d] = coord(nodes[k], d);
    }
    double axes[9];
    flat_element_axes(nnode, corel, axes);
    for (int k = 0; k < nnode; ++k) {
      const int node = nodes[k];
      // The element normal as the node's normal was accumulated: in the node's own
      // system when it has one.
      double normal[3] = {axes[6], axes[7], axes[8]}, node_normal[3];
      if (systems.has_system[node - 1] == 1) {
        double angles[3], R[9];
        for (int d = 0; d < 3; ++d) angles[d] = systems.angles[(node - 1) + d * PROBLEM.NPNODS];
        euler_rotation(angles, 3, R);
        for (int d = 0; d < 3; ++d) normal[d] = dot_product(R + 3 * d, axes + 6);
      }
      for (int d = 0; d < 3; ++d) node_normal[d] = giros[(node - 1) + d * PROBLEM.NPNODS];
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
void suppress_coplanar_rotations() {
  std::int32_t cursor = RUN.NXTPOS;
  std::int32_t* verdict = WORK.ints(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "NCOPL", INT_WORDS));
  ZEROI(PROBLEM.NPNODS, verdict);
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (SETS(s).family == ElementFamily::flat_shell) test_set_coplanarity(SETS(s), verdict);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const int kind = verdict[node - 1];
    if (kind < 4) continue;
    std::int32_t& code = adres(node, 2 + kind);
    if (code != 1) continue;
    code = 2;
    const int equation = kind_equation(node, kind);
    WORK.int_at(PROBLEM.IFFIX + equation - 1) = 1;
    WORK.reals(PROBLEM.FIXED)[equation - 1] = 0.0;
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
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (SETS(s).family == ElementFamily::flat_shell) accumulate_set_normals(SETS(s));
  normalise_nodal_normals();
  suppress_coplanar_rotations();
}

}  // namespace vortan
