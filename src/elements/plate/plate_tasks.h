// Element tasks of plates ("PLACA", problem type 5) with the elements DKT, TLCL and
// CLLL: three unknowns per node (w, r1 = dw/dx, r2 = dw/dy), resultants (Mx, My, Mxy)
// for the thin triangle DKT and (Mx, My, Mxy, Qx, Qy) for TLCL and CLLL.
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

// The material of the active plate or flat-shell set, one layer or a laminate.
// DMATZ: the resultant stiffness (resultant_stiffness.h).
void plate_resultant_matrix(double* d);
// Total thickness (a single layer's thickness of 0 or less counts as 1).
double plate_thickness();
// Weight per unit area: thickness times specific weight, summed over the layers.
double plate_weight_per_area();
// Lumped mass per unit area of a translation and of a rotation: density times t and
// times t^3/12 (a laminate carries no density: both 0).
void plate_mass_factors(double& translation, double& rotation);

void plate_constitutive_matrix(int element, const TaskCodes& codes);
void plate_strain_matrices(int element, const TaskCodes& codes);
void plate_stresses(int element, const TaskCodes& codes);

// The plate family's task table.
extern const TaskTable PLATE_TASKS;

}  // namespace vortan
