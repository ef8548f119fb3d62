#include "elements/continuum_tasks.h"

#include <cmath>
#include <string>

#include "elements/continuum_nonlinear.h"
#include "elements/recovery_tasks.h"
#include "elements/shape_functions.h"
#include "elements/task_support.h"
#include "input/property_layout.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

double young() { return property(props::CONTINUUM_YOUNG); }
double poisson() { return property(props::CONTINUUM_POISSON); }
double density() { return property(props::CONTINUUM_DENSITY); }
// Thickness of plane sets; other problem types take the volume element as it is.
double thickness() {
  const int t = ACTIVE.NTYPE;
  return (t == PLANE_STRESS || t == PLANE_STRAIN) ? property(props::CONTINUUM_THICKNESS) : 0.0;
}
// Specific weight of the self-weight load (absent from property lists written before
// it was read).
double specific_weight() {
  return SETS(ACTIVE.set).nprops > props::CONTINUUM_SPECIFIC_WEIGHT
             ? property(props::CONTINUUM_SPECIFIC_WEIGHT)
             : 0.0;
}

// The coefficient of thermal expansion (absent from the property lists of sets that
// do not give one).
double expansion() {
  return SETS(ACTIVE.set).nprops > props::CONTINUUM_EXPANSION ? property(props::CONTINUUM_EXPANSION) : 0.0;
}

// Entry (k, i) of the point-g block of an NSTRE x NEVAB x NGAUS array.
double& block(double* array, int k, int i, int g) {
  const ActiveSetRecord& a = ACTIVE;
  return array[k + a.NSTRE * (i + a.NEVAB * g)];
}

void fill_constitutive_matrix(double* d) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = a.NSTRE;
  for (int i = 0; i < n * n; ++i) d[i] = 0.0;
  const double e = young();
  const double nu = poisson();
  auto D = [&](int i, int j) -> double& { return d[(i - 1) + n * (j - 1)]; };
  if (a.NTYPE == PLANE_STRESS) {
    const double c = e / (1.0 - nu * nu);
    D(1, 1) = D(2, 2) = c;
    D(1, 2) = D(2, 1) = nu * c;
    D(3, 3) = c * (1.0 - nu) * 0.5;
    return;
  }
  const double f = (1.0 - nu) * e / ((1.0 + nu) * (1.0 - 2.0 * nu));
  const double off = nu * f / (1.0 - nu);
  const double shear = (1.0 - 2.0 * nu) * f / (2.0 - 2.0 * nu);
  const int normals = a.NTYPE == SOLID ? 3 : 2;
  for (int i = 1; i <= normals; ++i)
    for (int j = 1; j <= normals; ++j) D(i, j) = i == j ? f : off;
  if (a.NTYPE == SOLID) {
    D(4, 4) = D(5, 5) = D(6, 6) = shear;
    return;
  }
  D(3, 3) = shear;
  if (a.NTYPE == AXISYMMETRIC) {
    D(4, 4) = f;
    D(1, 4) = D(4, 1) = D(2, 4) = D(4, 2) = off;
  }
}

// The columns of node k at point g.
void fill_point_columns(double* b, int g) {
  const ActiveSetRecord& a = ACTIVE;
  const double* dcart = a.reals(a.DCART);
  const double* fform = a.reals(a.FFORM);
  const double r = a.reals(a.CORPG)[a.NDIME * g];
  for (int k = 0; k < a.NNODE; ++k) {
    const double nx = dcart[a.NDIME * k];
    const double ny = dcart[a.NDIME * k + 1];
    if (a.NTYPE == SOLID) {
      const double nz = dcart[a.NDIME * k + 2];
      const int c = 3 * k;
      block(b, 0, c, g) = nx;
      block(b, 3, c, g) = ny;
      block(b, 4, c, g) = nz;
      block(b, 1, c + 1, g) = ny;
      block(b, 3, c + 1, g) = nx;
      block(b, 5, c + 1, g) = nz;
      block(b, 2, c + 2, g) = nz;
      block(b, 4, c + 2, g) = nx;
      block(b, 5, c + 2, g) = ny;
      continue;
    }
    const int c = 2 * k;
    block(b, 0, c, g) = nx;
    block(b, 2, c, g) = ny;
    block(b, 1, c + 1, g) = ny;
    block(b, 2, c + 1, g) = nx;
    if (a.NTYPE == AXISYMMETRIC) block(b, 3, c, g) = fform[k] / r;
  }
}

// Expresses the displacement pair of every inclined-support node in the node's
// rotated axes: columns (Cx, Cy) become (c Cx + s Cy, c Cy - s Cx).
void rotate_inclined_supports(double* b) {
  const ActiveSetRecord& a = ACTIVE;
  if (a.NDIME != 2) return;
  const std::int32_t* flags = a.ints(a.APOYO);
  const double* angles = a.reals(a.APANG);
  for (int k = 0; k < a.NNODE; ++k) {
    if (flags[k] != 1) continue;
    const double c = std::cos(angles[k]);
    const double s = std::sin(angles[k]);
    for (int g = 0; g < a.NGAUS; ++g)
      for (int row = 0; row < a.NSTRE; ++row) {
        double& cx = block(b, row, a.NDOFN * k, g);
        double& cy = block(b, row, a.NDOFN * k + 1, g);
        const double x = cx, y = cy;
        cx = c * x + s * y;
        cy = c * y - s * x;
      }
  }
}

// Geometrically nonlinear sets add the terms of the current displacement gradients.
void compute_strain_matrices(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  const double* gradients = a.nonlinear ? element_gradients(element, codes, thickness()) : nullptr;
  double* b = a.reals(a.BMATZ);
  const int size = a.NSTRE * a.NEVAB * a.NGAUS;
  for (int i = 0; i < size; ++i) b[i] = 0.0;
  for (int g = 1; g <= a.NGAUS; ++g) {
    point_geometry(element, g, a.NTYPE, thickness());
    fill_point_columns(b, g - 1);
    if (gradients != nullptr)
      add_gradient_columns(b + a.NSTRE * a.NEVAB * (g - 1),
                           gradients + SETS(a.set).gradient_components * (g - 1), g - 1);
  }
  rotate_inclined_supports(b);
}

}  // namespace

void continuum_constitutive_matrix(int element, const TaskCodes& codes) {
  double* d = ACTIVE.reals(ACTIVE.DMATZ);
  fetch_or_compute(element, KIND_D, codes, d, [&] { fill_constitutive_matrix(d); });
}

void continuum_strain_matrices(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  const bool fetched = fetch_or_compute(element, KIND_B, codes, a.reals(a.BMATZ),
                                        [&] { compute_strain_matrices(element, codes); });
  // A fetched record still needs the volume elements and point coordinates.
  if (fetched)
    for (int g = 1; g <= a.NGAUS; ++g) point_geometry(element, g, a.NTYPE, thickness());
}

// The stiffness and the stresses of the continuum have steps of their own (the
// initial-stress matrix and the stresses of nonlinear sets, the thermal strain), so
// they do not come from the chain.
const RecordChain CONTINUUM_CHAIN{continuum_constitutive_matrix, continuum_strain_matrices, continuum_stresses};

void continuum_stress_strain_products(int element, const TaskCodes& codes) {
  chained_stress_strain_products(element, codes, CONTINUUM_CHAIN);
}

void continuum_stiffness(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* k = a.reals(a.RIGID);
  fetch_or_compute(element, KIND_K, codes, k, [&] {
    continuum_stress_strain_products(element, codes);
    stiffness_from_products();
    if (a.nonlinear) {  // the initial-stress matrix of the current stresses
      continuum_stresses(element, codes);
      add_initial_stress_matrix(element, thickness());
    }
  });
}

namespace {

// The most integration points of a rule: 3 x 3 x 3 in a brick.
constexpr int MOST_POINTS = 27;

// Temperature change at every point of the element (NGAUS values), interpolated from
// its nodes.
void point_temperatures(int element, const double* nodal, double* dt) {
  const ActiveSetRecord& a = ACTIVE;
  const double* posgt = a.reals(a.POSGT);
  double fform[MAX_SHAPE_FUNCTIONS], deriv[3 * MAX_SHAPE_FUNCTIONS];
  for (int g = 0; g < a.NGAUS; ++g) {
    const double s = posgt[g], t = a.NDIME > 1 ? posgt[g + a.NGAUS] : 0.0;
    const double u = a.NDIME > 2 ? posgt[g + 2 * a.NGAUS] : 0.0;
    FUNFOR(s, t, u, a.element_type, a.NDIME, fform, deriv);
    dt[g] = 0.0;
    for (int k = 0; k < a.NNODE; ++k) dt[g] += fform[k] * nodal[element_node(a.set, element, k + 1) - 1];
  }
}

// sigma -= D eps_t at every point. In plane strain the stress along z of the body
// held along z is nu (sx + sy) - E alpha dt, taken from the corrected sx and sy.
void subtract_thermal_stresses(int element, const TaskCodes& codes, double* stresses) {
  const ActiveSetRecord& a = ACTIVE;
  const std::int32_t temperatures = SETS(a.set).TEMPE;
  if (temperatures == 0 || expansion() == 0.0) return;
  continuum_constitutive_matrix(element, codes);
  const double* d = a.reals(a.DMATZ);
  double dt[MOST_POINTS];
  point_temperatures(element, WORK.reals(temperatures), dt);
  const int n = a.NSTRE;
  for (int g = 0; g < a.NGAUS; ++g) {
    double strain[6];
    free_thermal_strain(dt[g], strain);
    double* point = stresses + a.NSTR1 * g;
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) point[i] -= d[i + n * j] * strain[j];
    if (a.NTYPE == PLANE_STRAIN && a.NSTR1 > a.NSTRE)
      point[3] = poisson() * (point[0] + point[1]) - young() * expansion() * dt[g];
  }
}

}  // namespace

void free_thermal_strain(double dt, double* strain) {
  const ActiveSetRecord& a = ACTIVE;
  const double e = expansion() * dt;
  for (int k = 0; k < a.NSTRE; ++k) strain[k] = 0.0;
  switch (a.NTYPE) {
    case PLANE_STRESS: strain[0] = strain[1] = e; break;
    case PLANE_STRAIN: strain[0] = strain[1] = (1.0 + poisson()) * e; break;
    case AXISYMMETRIC: strain[0] = strain[1] = strain[3] = e; break;
    case SOLID: strain[0] = strain[1] = strain[2] = e; break;
    default: break;
  }
}

void continuum_stresses(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* stresses = a.reals(a.TENSG);
  fetch_or_compute(element, KIND_STRESS, codes, stresses, [&] {
    if (a.nonlinear) {  // second Piola-Kirchhoff stresses of the Green-Lagrange strains
      continuum_constitutive_matrix(element, codes);
      green_lagrange_stresses(element_gradients(element, codes, thickness()), poisson());
      return;
    }
    continuum_stress_strain_products(element, codes);
    stresses_from_products();
    for (int g = 0; g < a.NGAUS; ++g) {
      double* point = stresses + a.NSTR1 * g;
      if (a.NSTR1 > a.NSTRE)
        point[3] = a.NTYPE == PLANE_STRAIN ? poisson() * (point[0] + point[1]) : 0.0;
    }
    subtract_thermal_stresses(element, codes, stresses);
  });
}

void continuum_internal_forces(int element, const TaskCodes& codes) {
  chained_internal_forces(element, codes, CONTINUUM_CHAIN);
}

void continuum_self_weight(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* p = a.reals(a.PESOP);
  fetch_or_compute(element, KIND_WEIGHT, codes, p, [&] {
    for (int i = 0; i < a.NEVAB; ++i) p[i] = 0.0;
    const double w = specific_weight();
    if (w == 0.0) return;
    const double* fform = a.reals(a.FFORM);
    for (int g = 1; g <= a.NGAUS; ++g) {
      const double dv = point_geometry(element, g, a.NTYPE, thickness());
      for (int k = 0; k < a.NNODE; ++k) p[k * a.NDOFN + a.NDOFN - 1] -= w * fform[k] * dv;
    }
  });
}

void MASMTR(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* m = a.reals(a.XMASA);
  fetch_or_compute(element, KIND_MASS, codes, m, [&] {
    const int n = a.NEVAB;
    for (int i = 0; i < n * n; ++i) m[i] = 0.0;
    double accumulator[27] = {};
    double mass = 0.0;
    const double* fform = a.reals(a.FFORM);
    for (int g = 1; g <= a.NGAUS; ++g) {
      const double dv = point_geometry(element, g, a.NTYPE, thickness());
      mass += dv * density();
      for (int k = 0; k < a.NNODE; ++k) accumulator[k] += dv * fform[k] * fform[k];
    }
    double sum = 0.0;
    for (int k = 0; k < a.NNODE; ++k) sum += accumulator[k];
    if (sum == 0.0) {
      write_record(UNIT_LISTING, "ERROR AL CALCULAR LA MASA DEL ELEMENTO:" + fmt::I(element_number(element), 8));
      ERRSTP("MASMTR:ERROR AL CALCULAR LA MASA ELEMENT");
    }
    for (int k = 0; k < a.NNODE && (k + 1) * a.NDOFN <= n; ++k)
      for (int j = 0; j < a.NDOFN; ++j) {
        const int d = k * a.NDOFN + j;
        m[d + n * d] = mass / sum * accumulator[k];
      }
    ELEMENT_TOTALS.structure_mass += mass;
  });
}

namespace {

double continuum_point_volume(int element, int g) {
  return point_geometry(element, g, ACTIVE.NTYPE, thickness());
}

const RecoveryRoutines CONTINUUM_RECOVERY{continuum_stresses, continuum_constitutive_matrix,
                                          continuum_point_volume};

}  // namespace

void continuum_smoothing(int element, const TaskCodes& codes) {
  smoothing_integrals(element, codes, CONTINUUM_RECOVERY);
}

void continuum_error_estimate(int element, const TaskCodes& codes) {
  error_integrals(element, codes, CONTINUUM_RECOVERY);
}

const TaskTable CONTINUUM_TASKS = {
    continuum_constitutive_matrix,     // constitutive matrix
    continuum_strain_matrices,         // strain matrices
    continuum_stress_strain_products,  // D B products
    continuum_stiffness,               // stiffness
    continuum_stresses,                // stresses
    continuum_internal_forces,         // internal forces
    continuum_self_weight,             // self weight
    continuum_smoothing,               // smoothing integrals
    continuum_error_estimate,          // error and reference measures
    MASMTR,                            // lumped mass
};

}  // namespace vortan
