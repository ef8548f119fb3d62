#include "elements/conduction_tasks.h"

#include "elements/conduction_boundary.h"
#include "elements/recovery_tasks.h"
#include "elements/task_support.h"
#include "elements/continuum_tasks.h"
#include "input/property_layout.h"

namespace vortan {

namespace {

// Conductivity along axis i (0-based).
double conductivity(int i) { return property(props::CONDUCTIVITY_X + i); }
double thickness() { return property(props::CONDUCTION_THICKNESS); }
double internal_heat() { return property(props::CONDUCTION_HEAT); }

// The volume element of conduction is formed as for plane stress: the thickness when
// one is given, never a circumference.
constexpr int CONDUCTION_VOLUME = PLANE_STRESS;

}  // namespace

void conduction_matrix_of_material(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* d = a.reals(a.DMATZ);
  fetch_or_compute(element, KIND_D, codes, d, [&] {
    for (int i = 0; i < a.NSTRE * a.NSTRE; ++i) d[i] = 0.0;
    for (int i = 0; i < a.NSTRE; ++i) d[i + a.NSTRE * i] = conductivity(i);
  });
}

void conduction_gradient_matrices(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* b = a.reals(a.BMATZ);
  const bool fetched = fetch_or_compute(element, KIND_B, codes, b, [&] {
    const double* dcart = a.reals(a.DCART);
    for (int g = 1; g <= a.NGAUS; ++g) {
      point_geometry(element, g, CONDUCTION_VOLUME, thickness());
      for (int k = 0; k < a.NNODE; ++k)
        for (int i = 0; i < a.NSTRE; ++i)
          b[i + a.NSTRE * (k + a.NEVAB * (g - 1))] = i < a.NDIME ? dcart[i + a.NDIME * k] : 0.0;
    }
  });
  if (fetched)
    for (int g = 1; g <= a.NGAUS; ++g) point_geometry(element, g, CONDUCTION_VOLUME, thickness());
}

const RecordChain CONDUCTION_CHAIN{conduction_matrix_of_material, conduction_gradient_matrices,
                                   conduction_fluxes};

void conduction_flux_matrices(int element, const TaskCodes& codes) {
  chained_stress_strain_products(element, codes, CONDUCTION_CHAIN);
}

void conduction_matrix(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* k = a.reals(a.RIGID);
  fetch_or_compute(element, KIND_K, codes, k, [&] {
    conduction_flux_matrices(element, codes);
    stiffness_from_products();
    add_convection_conductance(element);
  });
}

void conduction_fluxes(int element, const TaskCodes& codes) {
  chained_stresses(element, codes, CONDUCTION_CHAIN);
}

void conduction_internal_forces(int element, const TaskCodes& codes) {
  chained_internal_forces(element, codes, CONDUCTION_CHAIN);
}

void conduction_heat_generation(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* p = a.reals(a.PESOP);
  fetch_or_compute(element, KIND_WEIGHT, codes, p, [&] {
    for (int i = 0; i < a.NEVAB; ++i) p[i] = 0.0;
    const double heat = internal_heat();
    if (heat == 0.0) return;
    // A source is heat put into the body: with K T = f it must raise the temperature,
    // so its nodal heat enters f with the sign of Q (not against an axis, as a weight).
    const double* fform = a.reals(a.FFORM);
    for (int g = 1; g <= a.NGAUS; ++g) {
      const double dv = point_geometry(element, g, CONDUCTION_VOLUME, thickness());
      for (int k = 0; k < a.NNODE; ++k) p[k] += heat * fform[k] * dv;
    }
  });
}

namespace {

double conduction_point_volume(int element, int g) {
  return point_geometry(element, g, CONDUCTION_VOLUME, thickness());
}

const RecoveryRoutines CONDUCTION_RECOVERY{conduction_fluxes, conduction_matrix_of_material,
                                           conduction_point_volume};

}  // namespace

void conduction_smoothing(int element, const TaskCodes& codes) {
  smoothing_integrals(element, codes, CONDUCTION_RECOVERY);
}

void conduction_error_estimate(int element, const TaskCodes& codes) {
  error_integrals(element, codes, CONDUCTION_RECOVERY);
}

const TaskTable CONDUCTION_TASKS = {
    conduction_matrix_of_material,   // constitutive matrix: the conductivities
    conduction_gradient_matrices,    // strain matrices: the temperature gradients
    conduction_flux_matrices,        // D B products
    conduction_matrix,               // conductivity matrix
    conduction_fluxes,               // heat fluxes
    conduction_internal_forces,      // internal heat forces
    conduction_heat_generation,      // internal heat ("CALORINTE")
    conduction_smoothing,            // smoothing integrals of the fluxes
    conduction_error_estimate,       // error and reference measures
    MASMTR,                          // lumped mass (heat capacity)
};

}  // namespace vortan
