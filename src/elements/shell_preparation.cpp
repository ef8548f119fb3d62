#include "elements/shell_preparation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "elements/local_axes.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr double DEGREES_TO_RADIANS = 0.01745329231621442;

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

void read_coplanarity_card() {
  LISTEN("COPLAN");
  PROBLEM.coplanarity = coplanarity_cosine(GETREA("TOLCP=", 90.0, " ANGULO MAXIMO PARA COPLANARIDAD"));
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
  // The shell matrices (BMATG, ROTAR, TEMPO, GIROM, GIROT, TEMP1) take their sizes
  // from the shell element routines, which add them here together with the local
  // rotation of every flat-shell set after the normals.
  read_coplanarity_card();
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (SETS(s).family == ElementFamily::flat_shell) accumulate_set_normals(SETS(s));
  normalise_nodal_normals();
}

}  // namespace vortan
