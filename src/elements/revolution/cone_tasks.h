// Element tasks of shells of revolution ("LAMINADEREVOLUCION") on the truncated cone
// TRC2: two nodes on the generator in the (r, z) plane, three variables per node (the
// radial displacement u, the axial displacement w and the rotation of the meridian),
// integrated at the centre of the generator. The five generalized stresses are the
// meridional and hoop forces, the meridional and hoop moments and the shear force:
//
//   N = D e,  D = [f  nu f; nu f  f] for the forces, f = E t / (1 - nu^2),
//               [c  nu c; nu c  c] for the moments, c = t^2 f / 12,
//               E t / (2.4 + 2.4 nu) for the shear (a shear factor 5/6),
//
// a thickness t of 0 or less counting as 1.
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

// BMATROC: the strain matrix (5 x 6, column by column) of a cone with the given nodal
// coordinates (r, z of node 1, then of node 2). With L the generator length, c and s
// the cosines of the generator with the r and z axes, r the mean radius and P = -1
// for node 1, +1 for node 2, the columns (u, w, rotation) of a node are
//   meridional strain    (P c / L, P s / L, 0)
//   hoop strain          (1 / (2 r), 0, 0)
//   meridional curvature (0, 0, -P / L)
//   hoop curvature       (0, 0, -c / (2 r))
//   shear strain         (-P s / L, P c / L, -1/2).
// A generator or a mean radius below 1e-10 is written to the listing and stops the
// run ("BMATROC:ERROR EN LA GEOMETRIA ELEMENTAL").
void BMATROC(const double* corel, double* b);

void cone_constitutive_matrix(int element, const TaskCodes& codes);
void cone_strain_matrices(int element, const TaskCodes& codes);
void cone_stress_strain_products(int element, const TaskCodes& codes);
void cone_stiffness(int element, const TaskCodes& codes);
void cone_stresses(int element, const TaskCodes& codes);
void cone_internal_forces(int element, const TaskCodes& codes);
void cone_smoothing(int element, const TaskCodes& codes);
void cone_error_estimate(int element, const TaskCodes& codes);

extern const TaskTable CONE_TASKS;

}  // namespace vortan
