#include "elements/revolution/cone_tasks.h"

#include <cmath>

#include "elements/recovery_tasks.h"
#include "elements/task_support.h"
#include "input/property_layout.h"
#include "run/errstp.h"
#include "run/file_set.h"

namespace vortan {

namespace {

using namespace props;

// 2.4 held in single precision: the shear modulus with its factor 5/6 is
// E / (2.4 (1 + nu)).
constexpr double SHEAR_DIVISOR = 2.4000000953674316;

constexpr int STRAINS = 5;

void fill_constitutive_matrix(double* d) {
  const double e = property(PLATE_YOUNG), nu = property(PLATE_POISSON);
  double t = property(PLATE_THICKNESS);
  if (t <= 0.0) t = 1.0;
  for (int i = 0; i < STRAINS * STRAINS; ++i) d[i] = 0.0;
  auto D = [&](int i, int j) -> double& { return d[(i - 1) + STRAINS * (j - 1)]; };
  const double f = e * t / (1.0 - nu * nu);
  D(1, 1) = D(2, 2) = f;
  D(1, 2) = D(2, 1) = nu * f;
  const double c = t * t * f / 12.0;
  D(3, 3) = D(4, 4) = c;
  D(3, 4) = D(4, 3) = nu * c;
  D(5, 5) = e * t / (SHEAR_DIVISOR + SHEAR_DIVISOR * nu);
}

double point_volume(int element, int g) { return point_geometry(element, g, SHELL_OF_REVOLUTION, 0.0); }

void compute_strain_matrices(int element) {
  const ActiveSetRecord& a = ACTIVE;
  double* b = a.reals(a.BMATZ);
  BMATROC(a.reals(a.COREL), b);
  point_volume(element, 1);
  turn_support_columns(b);
}

const RecoveryRoutines CONE_RECOVERY{cone_stresses, cone_constitutive_matrix, point_volume};

}  // namespace

void BMATROC(const double* corel, double* b) {
  const double dr = corel[2] - corel[0], dz = corel[3] - corel[1];
  const double length = std::sqrt(dr * dr + dz * dz);
  const double radius = 0.5 * (corel[0] + corel[2]);
  if (!(length >= CONE_TOLERANCE) || !(radius >= CONE_TOLERANCE)) {
    write_record(UNIT_LISTING, "ERROR EN LA GEOMETRIA DEL ELEMENTO TRONCOCONICO");
    ERRSTP("BMATROC:ERROR EN LA GEOMETRIA ELEMENTAL");
  }
  const double c = dr / length, s = dz / length;
  for (int i = 0; i < STRAINS * 6; ++i) b[i] = 0.0;
  for (int node = 0; node < 2; ++node) {
    const double p = node == 0 ? -1.0 : 1.0;
    double* u = b + STRAINS * (3 * node);
    double* w = u + STRAINS;
    double* r = w + STRAINS;
    u[0] = p * c / length;
    w[0] = p * s / length;
    u[1] = 0.5 / radius;
    r[2] = -p / length;
    r[3] = -0.5 * c / radius;
    u[4] = -p * s / length;
    w[4] = p * c / length;
    r[4] = -0.5;
  }
}

void cone_constitutive_matrix(int element, const TaskCodes& codes) {
  double* d = ACTIVE.reals(ACTIVE.DMATZ);
  fetch_or_compute(element, KIND_D, codes, d, [&] { fill_constitutive_matrix(d); });
}

void cone_strain_matrices(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  const bool fetched =
      fetch_or_compute(element, KIND_B, codes, a.reals(a.BMATZ), [&] { compute_strain_matrices(element); });
  if (fetched) point_volume(element, 1);
}

const RecordChain CONE_CHAIN{cone_constitutive_matrix, cone_strain_matrices, cone_stresses};

void cone_stress_strain_products(int element, const TaskCodes& codes) {
  chained_stress_strain_products(element, codes, CONE_CHAIN);
}

void cone_stiffness(int element, const TaskCodes& codes) { chained_stiffness(element, codes, CONE_CHAIN); }

void cone_stresses(int element, const TaskCodes& codes) { chained_stresses(element, codes, CONE_CHAIN); }

void cone_internal_forces(int element, const TaskCodes& codes) { chained_internal_forces(element, codes, CONE_CHAIN); }

void cone_smoothing(int element, const TaskCodes& codes) { smoothing_integrals(element, codes, CONE_RECOVERY); }

void cone_error_estimate(int element, const TaskCodes& codes) { error_integrals(element, codes, CONE_RECOVERY); }

const TaskTable CONE_TASKS = {
    cone_constitutive_matrix,     // constitutive matrix
    cone_strain_matrices,         // strain matrix at the centre
    cone_stress_strain_products,  // D B products
    cone_stiffness,               // stiffness
    cone_stresses,                // the five stress resultants
    cone_internal_forces,         // internal forces
    nullptr,                      // self weight: none for shells of revolution
    cone_smoothing,               // smoothing integrals
    cone_error_estimate,          // error and reference measures
    nullptr,                      // mass
};

}  // namespace vortan
