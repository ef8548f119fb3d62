// The element integrals of stress recovery, shared by the families whose stresses are
// a field over the element (continuum and conduction): the smoothing matrix with its
// right-hand sides ("SUAVIZADO") and the error and reference measures of the error
// estimate ("ANALISISE").
//
// Smoothing. With N the smoothing functions of the element (in corner mode, the
// functions of its corner element; otherwise its own) and sigma the stresses at the
// integration points:
//   M(i, j) = integral of N_i N_j dV              -> RIGID, n x n column by column
//   r(c, i) = integral of N_i sigma_c dV          -> TENS1 at c + NSTR1 * i
// for the n smoothing nodes and the NSTR1 stored components.
//
// Error estimate (energy norm). With sigma* the smoothed nodal stresses of the element
// (TENEL, NSTR1 per node, node by node) interpolated to the points by the element's
// functions, and D the constitutive matrix (conductivities in heat conduction):
//   e = integral of (sigma* - sigma)^T D^-1 (sigma* - sigma) dV
//   u = integral of sigma^T D^-1 sigma dV + e
// over the first NSTRE components. Both are additive over elements; 100 e / u is the
// error of the element as a percentage of the squared energy norm, 100 E / U that of
// the model.
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

// What a family lends the recovery integrals: its stress and constitutive tasks and
// the volume element of point g (1-based) of an element, with the point's geometry
// made current.
struct RecoveryRoutines {
  TaskRoutine stresses;
  TaskRoutine constitutive_matrix;
  double (*point_volume)(int element, int g);
};

// RIGID and TENS1 of element row `element` of the active set. Computed at every call:
// the smoothing runs once per solution, so its records are never stored.
void smoothing_integrals(int element, const TaskCodes& codes, const RecoveryRoutines& family);

// ACTIVE.error_measure and ACTIVE.reference_measure of element row `element`, from its
// smoothed nodal stresses in TENEL. Computed at every call.
void error_integrals(int element, const TaskCodes& codes, const RecoveryRoutines& family);

// Number of smoothing nodes of an element type: the corner element's nodes in corner
// mode, its own nodes otherwise.
int smoothing_nodes(int element_type);

}  // namespace vortan
