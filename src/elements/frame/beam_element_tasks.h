// Element tasks of the beam finite elements ("ELEMENTOFINITOVIGA", LI2 and LI3): a
// plane beam with shear deformation, three variables per node (displacements along x
// and y, rotation), integrated numerically like the continuum. The generalized
// stresses at a point are the axial force N, the shear force Q and the bending moment
// M of a rectangular section of width b ("ANCHO=") and height h ("ALTO="):
//
//   [N Q M] = D [e g k],  D = diag(E b h, E b h / (2 + 2 nu), E b h^3 / 12),
//   e = du_s/ds, g = du_n/ds - r, k = dr/ds,
//
// with s along the element's line (V1, its tangent at the point), n along V2, u_s
// and u_n the displacement components along them and r the rotation.
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

void beam_element_constitutive_matrix(int element, const TaskCodes& codes);
void beam_element_strain_matrices(int element, const TaskCodes& codes);
void beam_element_stress_strain_products(int element, const TaskCodes& codes);
void beam_element_stiffness(int element, const TaskCodes& codes);
void beam_element_stresses(int element, const TaskCodes& codes);
void beam_element_internal_forces(int element, const TaskCodes& codes);
void beam_element_smoothing(int element, const TaskCodes& codes);
void beam_element_error_estimate(int element, const TaskCodes& codes);

extern const TaskTable BEAM_ELEMENT_TASKS;
// The column heading of the stresses of a beam-element set (the loop's point lines
// follow it).
extern const OwnStressTable BEAM_ELEMENT_STRESS_TABLE;

}  // namespace vortan
