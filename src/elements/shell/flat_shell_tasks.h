// Element tasks of flat shells ("LAMINAPLANA", problem type 8): a plate element (DKT,
// TLCL or CLLL) and a membrane (the linear triangle or bilinear quadrilateral of the
// corners; the six-node triangle for TLCL), built in the element's own axes and
// carried to the nodal axes. Six unknowns per node (u, v, w and the rotations about
// x, y, z); resultants (Nx, Ny, Nxy, Mx, My, Mxy) for DKT and (..., Qx, Qy) for TLCL
// and CLLL, in the element's axes. The TLCL's mid-side node gives its plate rotation
// as the component of its rotation vector about the side's in-plane normal.
//
// In its own axes the element's node holds (u, v, w, r1, r2, r3) with r1 = dw/dx and
// r2 = dw/dy the plate slopes and r3 the rotation about the normal, which the element
// does not stiffen (the problem build suppresses it at nodes whose elements are
// coplanar). The slopes are the rotation vector's components turned by a quarter:
// r1 = -theta_y, r2 = theta_x.
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

// Forces of a uniform pressure p along the element normal on element row `element` of
// the active flat-shell set (gathered): three components per corner, in the axes of
// each corner's unknowns.
void flat_shell_pressure_forces(int element, double p, double* forces);

// The second smoothed field of flat shells: the stresses on the top face (z = t/2) and
// on the bottom face of a homogeneous section, N/t -+ 6 M/t^2 in the element's axes
// (x, y, xy), each face followed by its von Mises stress (an invariant, meaningful
// at folds too).
inline constexpr int FACE_STRESS_COMPONENTS = 8;

// After the smoothing task of an element: the integrals of each smoothing function
// times each face-stress component, FACE_STRESS_COMPONENTS per smoothing node, node by
// node (its lumped weights are those of the first field, RIGID).
const double* flat_shell_face_integrals();

// The flat-shell family's task table.
extern const TaskTable FLAT_SHELL_TASKS;

}  // namespace vortan
