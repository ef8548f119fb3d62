// Element tasks of the isoparametric continuum: plane stress (problem type 1), plane
// strain (2), solid of revolution (3) and three-dimensional solid (4).
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

// DMATZ: the isotropic elastic matrix.
void continuum_constitutive_matrix(int element, const TaskCodes& codes);
// BMATZ of every point, with the volume elements of the points.
void continuum_strain_matrices(int element, const TaskCodes& codes);
// DBMAT = DMATZ BMATZ at every point (BMATZ and the volume elements current too).
void continuum_stress_strain_products(int element, const TaskCodes& codes);
// RIGID = sum over points of dV BMATZ^T DBMAT.
void continuum_stiffness(int element, const TaskCodes& codes);
// TENSG = DBMAT DESLO at every point; the fourth slot of plane sets holds sz. For a set
// under a temperature load, D times the thermal strain of the point is taken off.
void continuum_stresses(int element, const TaskCodes& codes);
// FUERZ = sum over points of dV BMATZ^T TENSG.
void continuum_internal_forces(int element, const TaskCodes& codes);
// PESOP: the specific weight against the last coordinate axis.
void continuum_self_weight(int element, const TaskCodes& codes);
// RIGID and TENS1: the smoothing matrix and right-hand sides (recovery_tasks.h).
void continuum_smoothing(int element, const TaskCodes& codes);
// The error and reference measures of the error estimate (recovery_tasks.h).
void continuum_error_estimate(int element, const TaskCodes& codes);
// XMASA: lumped mass by diagonal scaling of the consistent mass.
void MASMTR(int element, const TaskCodes& codes);

// The free thermal strain of the active continuum set at a temperature change dt
// (NSTRE values): alpha dt on the normal components (x and y of plane stress; in plane
// strain (1 + nu) alpha dt, the in-plane strain of a body held along z; r, z and the
// hoop strain of solids of revolution; x, y, z of solids), 0 on the shears.
void free_thermal_strain(double dt, double* strain);

// The continuum family's task table.
extern const TaskTable CONTINUUM_TASKS;

}  // namespace vortan
