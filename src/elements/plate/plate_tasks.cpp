#include "elements/plate/plate_tasks.h"

#include <cmath>

#include "elements/plate/plate_element.h"
#include "elements/plate/resultant_stiffness.h"
#include "elements/recovery_tasks.h"
#include "elements/task_support.h"
#include "input/property_layout.h"
#include "run/errstp.h"

namespace vortan {

using namespace props;

namespace {

// 1/12 as the rotational mass factor t^3/12 holds it.
constexpr double ONE_TWELFTH = 0.08333333333333333;

bool laminate() { return ACTIVE.layers > 1; }

double layer_property(int layer, int i) { return property(LAYER_COUNT * layer + i); }

double single_thickness() {
  const double t = property(PLATE_THICKNESS);
  return t > 0.0 ? t : 1.0;
}

vortan::Layer layer_card(int k) {
  vortan::Layer l;
  l.young_1 = layer_property(k, LAYER_YOUNG_1);
  l.young_2 = layer_property(k, LAYER_YOUNG_2);
  l.poisson_12 = layer_property(k, LAYER_POISSON_1);
  l.poisson_21 = layer_property(k, LAYER_POISSON_2);
  l.shear_12 = layer_property(k, LAYER_SHEAR_1);
  l.shear_transverse = layer_property(k, LAYER_SHEAR_2);
  l.thickness = layer_property(k, LAYER_THICKNESS);
  l.angle_degrees = layer_property(k, LAYER_ANGLE);
  return l;
}

void require_linear() {
  if (ACTIVE.nonlinear) ERRSTP("ELETR3: ELEMENTO NO LINEAL NO DISPONIBLE");
}

void require_plate_element() {
  if (!is_plate_element(ACTIVE.element_type)) ERRSTP("ELETR3: ELEMENTO DE PLACA NO DISPONIBLE");
}

PlateRows plate_rows() {
  const ActiveSetRecord& a = ACTIVE;
  return PlateRows{a.NSTRE, 0, a.NSTRE == 5 ? 3 : -1, a.NDOFN, 0};
}

// The slopes (r1, r2) of a node on an inclined support are expressed in the support's
// axes: columns (C1, C2) become (c C1 + s C2, c C2 - s C1).
void rotate_inclined_supports(double* b) {
  const ActiveSetRecord& a = ACTIVE;
  const std::int32_t* flags = a.ints(a.APOYO);
  const double* angles = a.reals(a.APANG);
  for (int k = 0; k < a.NNODE; ++k) {
    if (flags[k] != 1) continue;
    const double c = std::cos(angles[k]), s = std::sin(angles[k]);
    for (int g = 0; g < a.NGAUS; ++g)
      for (int row = 0; row < a.NSTRE; ++row) {
        double* column = b + a.NSTRE * a.NEVAB * g + row;
        double& c1 = column[a.NSTRE * (a.NDOFN * k + 1)];
        double& c2 = column[a.NSTRE * (a.NDOFN * k + 2)];
        const double x = c1, y = c2;
        c1 = c * x + s * y;
        c2 = c * y - s * x;
      }
  }
}

double plate_point_volume(int element, int g) {
  return plate_point_geometry(element, g, ACTIVE.reals(ACTIVE.COREL), ACTIVE.reals(ACTIVE.CORPG));
}

}  // namespace

void plate_resultant_matrix(double* d) {
  const ActiveSetRecord& a = ACTIVE;
  if (!laminate()) {
    single_layer_resultants(property(PLATE_YOUNG), property(PLATE_POISSON), property(PLATE_THICKNESS), a.NSTRE, d);
    return;
  }
  for (int i = 0; i < a.NSTRE * a.NSTRE; ++i) d[i] = 0.0;
  // Layers are stacked from the top face z = t/2 downward, the first layer on top.
  double z = 0.5 * plate_thickness();
  for (int k = 0; k < a.layers; ++k) {
    const vortan::Layer layer = layer_card(k);
    add_layer_resultants(layer, z - layer.thickness, z, a.NSTRE, d, a.reals(a.TEMPA), a.reals(a.TEMPB),
                         a.reals(a.GIROM), a.reals(a.GIROT));
    z -= layer.thickness;
  }
}

double plate_thickness() {
  if (!laminate()) return single_thickness();
  double t = 0.0;
  for (int k = 0; k < ACTIVE.layers; ++k) t += layer_property(k, LAYER_THICKNESS);
  return t;
}

double plate_weight_per_area() {
  if (!laminate()) {
    const bool given = SETS(ACTIVE.set).nprops > PLATE_SPECIFIC_WEIGHT;
    return given ? single_thickness() * property(PLATE_SPECIFIC_WEIGHT) : 0.0;
  }
  double w = 0.0;
  for (int k = 0; k < ACTIVE.layers; ++k)
    w += layer_property(k, LAYER_THICKNESS) * layer_property(k, LAYER_SPECIFIC_WEIGHT);
  return w;
}

// A laminate's factors add its layers (stacked from the top face z = t/2 down): the
// density times the thickness, and the density times (z_top^3 - z_bottom^3)/3.
void plate_mass_factors(double& translation, double& rotation) {
  translation = rotation = 0.0;
  if (laminate()) {
    double z = 0.5 * plate_thickness();
    for (int k = 0; k < ACTIVE.layers; ++k) {
      const double h = layer_property(k, LAYER_THICKNESS), rho = layer_property(k, LAYER_DENSITY);
      const double bottom = z - h;
      translation += rho * h;
      rotation += rho * (z * z * z - bottom * bottom * bottom) / 3.0;
      z = bottom;
    }
    return;
  }
  const double t = single_thickness();
  const double rho = property(PLATE_DENSITY);
  translation = rho * t;
  rotation = rho * t * t * t * ONE_TWELFTH;
}

void plate_constitutive_matrix(int element, const TaskCodes& codes) {
  double* d = ACTIVE.reals(ACTIVE.DMATZ);
  fetch_or_compute(element, KIND_D, codes, d, [&] { plate_resultant_matrix(d); });
}

void plate_strain_matrices(int element, const TaskCodes& codes) {
  require_linear();
  const ActiveSetRecord& a = ACTIVE;
  double* b = a.reals(a.BMATZ);
  const bool fetched = fetch_or_compute(element, KIND_B, codes, b, [&] {
    plate_strain_rows(element, a.reals(a.COREL), plate_rows(), b, a.reals(a.CORPG));
    rotate_inclined_supports(b);
  });
  // A fetched record still needs the area elements and point coordinates.
  if (fetched)
    for (int g = 1; g <= a.NGAUS; ++g) plate_point_volume(element, g);
}

namespace {

const RecordChain PLATE_CHAIN{plate_constitutive_matrix, plate_strain_matrices, plate_stresses};

void plate_stress_strain_products(int element, const TaskCodes& codes) {
  chained_stress_strain_products(element, codes, PLATE_CHAIN);
}

void plate_stiffness(int element, const TaskCodes& codes) { chained_stiffness(element, codes, PLATE_CHAIN); }

void plate_internal_forces(int element, const TaskCodes& codes) {
  chained_internal_forces(element, codes, PLATE_CHAIN);
}

// The weight is a uniform pressure of -(thickness times specific weight) on the
// deflections of the corners.
void plate_self_weight(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* p = a.reals(a.PESOP);
  fetch_or_compute(element, KIND_WEIGHT, codes, p, [&] {
    for (int i = 0; i < a.NEVAB; ++i) p[i] = 0.0;
    const double w = plate_weight_per_area();
    if (w == 0.0) return;
    require_plate_element();
    double forces[4];
    plate_pressure_forces(element, a.reals(a.COREL), -w, forces);
    for (int k = 0; k < plate_corners(a.element_type); ++k) p[k * a.NDOFN] = forces[k];
  });
}

// Lumped mass: the element's area shared among its corners in proportion to the
// integrals of the squares of their functions, times the mass per area of the
// deflection (t) and of the rotations (t^3/12).
void plate_mass(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* m = a.reals(a.XMASA);
  fetch_or_compute(element, KIND_MASS, codes, m, [&] {
    require_plate_element();
    const int n = a.NEVAB;
    for (int i = 0; i < n * n; ++i) m[i] = 0.0;
    const int corners = plate_corners(a.element_type);
    double squares[4] = {}, area = 0.0;
    for (int g = 1; g <= a.NGAUS; ++g) {
      const double dv = plate_point_volume(element, g);
      const double* fform = a.reals(a.FFORM);
      area += dv;
      for (int k = 0; k < corners; ++k) squares[k] += dv * fform[k] * fform[k];
    }
    double sum = 0.0;
    for (int k = 0; k < corners; ++k) sum += squares[k];
    double translation, rotation;
    plate_mass_factors(translation, rotation);
    for (int k = 0; k < corners; ++k) {
      const double share = area * squares[k] / sum;
      for (int j = 0; j < 3; ++j) {
        const int d = k * a.NDOFN + j;
        m[d + n * d] = share * (j == 0 ? translation : rotation);
      }
    }
    ELEMENT_TOTALS.structure_mass += area * translation;
  });
}

const RecoveryRoutines PLATE_RECOVERY{plate_stresses, plate_constitutive_matrix, plate_point_volume};

void plate_smoothing(int element, const TaskCodes& codes) { smoothing_integrals(element, codes, PLATE_RECOVERY); }

void plate_error_estimate(int element, const TaskCodes& codes) { error_integrals(element, codes, PLATE_RECOVERY); }

}  // namespace

void plate_stresses(int element, const TaskCodes& codes) { chained_stresses(element, codes, PLATE_CHAIN); }

const TaskTable PLATE_TASKS = {
    plate_constitutive_matrix,     // resultant stiffness
    plate_strain_matrices,         // curvature and shear matrices
    plate_stress_strain_products,  // D B products
    plate_stiffness,               // stiffness
    plate_stresses,                // resultants at the points
    plate_internal_forces,         // internal forces
    plate_self_weight,             // self weight as a pressure
    plate_smoothing,               // smoothing integrals
    plate_error_estimate,          // error and reference measures
    plate_mass,                    // lumped mass
};

}  // namespace vortan
