// The nodal results the post-processing files write: displacements in the global
// axes, the values of a node in the model's order of degree-of-freedom kinds, and the
// smoothed nodal stresses of the whole model.
#pragma once

#include <cstdint>

namespace vortan {

// Copies the solution (NTOTV values) into `global`, with the displacement pair of
// every node on an inclined support turned from the support's axes, in which the
// elements solve for it, back to the global axes: (a, b) becomes
// (a cos t - b sin t, a sin t + b cos t) for the support angle t. The pair is the one
// the elements and loads of the node's first set turn (the first two kinds of the set,
// or the two rotations of a plate). Scratch space is taken above RUN.NXTPOS and left
// free.
void displacements_in_global_axes(const double* solution, double* global);

// The PROBLEM.NDOFG values of a node in the order of the kinds used by the model (0 for
// a kind the node does not carry). Returns NDOFG.
int node_dof_values(const double* vector, int node, double* values);

// The kinds (1..14) of the model in order, NDOFG of them. Returns NDOFG.
int model_kinds(int* kinds);

// True when the smoothed nodal stresses of the whole model exist.
bool smoothed_stresses_exist();

// Component c (0-based) of the smoothed stress of node n in the whole model's slice.
double model_smoothed(int node, int c);

}  // namespace vortan
