#include "elements/frame/beam_element_tasks.h"

#include <string>

#include "elements/recovery_tasks.h"
#include "elements/task_support.h"
#include "input/property_layout.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

using namespace props;

// 1/12 as the section's inertia factor.
constexpr double TWELFTH = 0.08333333333333333;

void fill_constitutive_matrix(double* d) {
  const double e = property(BEAM_YOUNG), nu = property(BEAM_POISSON);
  const double b = property(BEAM_WIDTH), h = property(BEAM_HEIGHT);
  for (int i = 0; i < 9; ++i) d[i] = 0.0;
  d[0] = e * b * h;
  d[4] = e * b * h / (2.0 + 2.0 * nu);
  d[8] = e * b * h * h * h * TWELFTH;
}

double point_volume(int element, int g) { return point_geometry(element, g, BEAM_ELEMENT, 0.0); }

// The columns (u, v, r) of every node at point g, from the derivatives along the line
// and the tangent (c, s) that BVIGAS left.
void fill_point_columns(double* b, int g) {
  const ActiveSetRecord& a = ACTIVE;
  const double* dcart = a.reals(a.DCART);
  const double* fform = a.reals(a.FFORM);
  const double c = a.reals(a.XJACM)[0], s = a.reals(a.XJACM)[1];
  for (int k = 0; k < a.NNODE; ++k) {
    const double d = dcart[a.NDIME * k];
    double* u = b + 3 * (3 * k + a.NEVAB * g);
    double* v = u + 3;
    double* r = v + 3;
    u[0] = d * c;
    u[1] = -d * s;
    u[2] = 0.0;
    v[0] = d * s;
    v[1] = d * c;
    v[2] = 0.0;
    r[0] = 0.0;
    r[1] = -fform[k];
    r[2] = d;
  }
}

void compute_strain_matrices(int element) {
  const ActiveSetRecord& a = ACTIVE;
  double* b = a.reals(a.BMATZ);
  for (int g = 1; g <= a.NGAUS; ++g) {
    point_volume(element, g);
    fill_point_columns(b, g - 1);
  }
  turn_support_columns(b);
}

void write_heading(int) {
  write_record(UNIT_LISTING, " P.G.    X-COOR.  Y-COOR." + fmt::A("AXIL", 12) + fmt::A("CORTANTE", 12) +
                                 fmt::A("MOMENTO", 12));
}

const RecoveryRoutines BEAM_ELEMENT_RECOVERY{beam_element_stresses, beam_element_constitutive_matrix,
                                             point_volume};

}  // namespace

void beam_element_constitutive_matrix(int element, const TaskCodes& codes) {
  double* d = ACTIVE.reals(ACTIVE.DMATZ);
  fetch_or_compute(element, KIND_D, codes, d, [&] { fill_constitutive_matrix(d); });
}

void beam_element_strain_matrices(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  const bool fetched =
      fetch_or_compute(element, KIND_B, codes, a.reals(a.BMATZ), [&] { compute_strain_matrices(element); });
  if (fetched)
    for (int g = 1; g <= a.NGAUS; ++g) point_volume(element, g);
}

const RecordChain BEAM_ELEMENT_CHAIN{beam_element_constitutive_matrix, beam_element_strain_matrices,
                                     beam_element_stresses};

void beam_element_stress_strain_products(int element, const TaskCodes& codes) {
  chained_stress_strain_products(element, codes, BEAM_ELEMENT_CHAIN);
}

void beam_element_stiffness(int element, const TaskCodes& codes) {
  chained_stiffness(element, codes, BEAM_ELEMENT_CHAIN);
}

void beam_element_stresses(int element, const TaskCodes& codes) {
  chained_stresses(element, codes, BEAM_ELEMENT_CHAIN);
}

void beam_element_internal_forces(int element, const TaskCodes& codes) {
  chained_internal_forces(element, codes, BEAM_ELEMENT_CHAIN);
}

void beam_element_smoothing(int element, const TaskCodes& codes) {
  smoothing_integrals(element, codes, BEAM_ELEMENT_RECOVERY);
}

void beam_element_error_estimate(int element, const TaskCodes& codes) {
  error_integrals(element, codes, BEAM_ELEMENT_RECOVERY);
}

const TaskTable BEAM_ELEMENT_TASKS = {
    beam_element_constitutive_matrix,     // constitutive matrix
    beam_element_strain_matrices,         // strain matrices
    beam_element_stress_strain_products,  // D B products
    beam_element_stiffness,               // stiffness
    beam_element_stresses,                // N, Q, M at the points
    beam_element_internal_forces,         // internal forces
    nullptr,                              // self weight: none for beam elements
    beam_element_smoothing,               // smoothing integrals
    beam_element_error_estimate,          // error and reference measures
    nullptr,                              // mass
};

const OwnStressTable BEAM_ELEMENT_STRESS_TABLE = {write_heading, nullptr};

}  // namespace vortan
