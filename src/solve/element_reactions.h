// Reactions recomputed element by element from the solution, for every solution path
// but Gauss elimination (which keeps no matrix rows of its prescribed positions
// otherwise): at each prescribed position the reaction is K u - f, the force the
// support must give for the structure to be in equilibrium.
#pragma once

namespace vortan {

// Clears react, adds the products of the stiffness of every element that has a
// prescribed degree of freedom with its displacements, the spring forces and the link
// penalty forces (with the given penalty) at the prescribed positions, and subtracts
// the loads applied there.
void compute_element_reactions(const double* despl, const double* aslod, double penalty, double* react);

}  // namespace vortan
