// The geometrically nonlinear additions of the continuum tasks (sets whose problem-type
// card carries "NOLINEAL"): a total Lagrangian formulation on the reference
// configuration, with a St. Venant-Kirchhoff material (the set's elastic matrix relates
// Green-Lagrange strains to second Piola-Kirchhoff stresses). docs/nonlinear.md gives
// the formulas.
//
// The displacement gradients H(i, j) = du_i/dx_j of every integration point are the
// set's record kind 11, per point in the order du/dx, dv/dx, du/dy, dv/dy (plane;
// the axisymmetric set adds u/r) or column by column of the 3 x 3 gradient (solid).
// A task that is given the element displacements (DESLO) computes them; the stiffness
// pass, which has no displacements, fetches the ones the last internal-force pass
// stored, and without a stored record takes the undeformed state (DESLO is cleared
// by gather_element when no displacements are given).
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

// The gradients of every point of element row `element` of the active set: fetched when
// the fetch code of kind 11 says stored, otherwise computed from DESLO (and stored when
// the store code asks). The returned buffer holds NGAUS x gradient components values
// and stays valid until the next call.
const double* element_gradients(int element, const TaskCodes& codes, double thickness);

// Adds to the strain matrix of point g (0-based; NSTRE x NEVAB, column by column) the
// terms of its current gradients h: the variation of the Green-Lagrange strains. The
// point's geometry must be current.
void add_gradient_columns(double* b_point, const double* h, int g);

// Second Piola-Kirchhoff stresses at every point into TENSG: DMATZ times the
// Green-Lagrange strains of the gradients (NSTR1 values per point; the fourth slot of
// plane sets is sz, nu (sx + sy) in plane strain and 0 in plane stress).
void green_lagrange_stresses(const double* gradients, double poisson);

// Adds the initial-stress matrix of the current stresses (TENSG) to RIGID:
// sum over points of dV dN_a/dx_j S_jl dN_b/dx_l for every component, plus the hoop
// term S_hoop N_a N_b / r^2 on the radial component of a solid of revolution; then
// expressed in the axes of inclined supports like the strain matrices.
void add_initial_stress_matrix(int element, double thickness);

}  // namespace vortan
