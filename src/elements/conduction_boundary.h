// Pieces of the boundary of heat-conduction elements: an end node of a bar, a side of
// a plane element, a face of a solid, or the element's own extent (the lateral surface
// of a bar, the faces of a plate). The convection boundaries and the side fluxes are
// integrals over such pieces.
//
// With N the functions of the piece (the element type of its dimension and node count,
// catalogue.h piece_element_type) and dA its measure (the square root of the Gram
// determinant of its tangents dx/ds, dx/dt, dx/du):
//   M(a, b) = factor * integral of N_a N_b dA
// A piece one dimension below its set is a side or face of the element: factor is the
// set's thickness, the same factor the conductivity matrix carries (the cross-section of
// a bar, the thickness of a plane slice). A piece of the set's own dimension is
// measured by the element's length or area alone (factor 1): a coefficient on it is per
// unit of that length or area.
//
// Convection boundary, film coefficient h and ambient temperature T (the film law
// q = h (T - T_wall) into the body):
//   H(a, b) = h M(a, b)             added to the element's conductivity matrix
//   f(a)    = h T sum_b M(a, b)     added to the element's heat loads
// Side flux into the body, q_b given at the nodes of the piece:
//   f(a)    = sum_b M(a, b) q_b
#pragma once

#include <cstdint>

#include "input/convection_reader.h"

namespace vortan {

// Integration points of the piece's type that integrate M exactly on a straight piece:
// 2 or 3 on lines, 3 (TR3) or 7 (TR6) on triangles, 4 (QU4) or 9 on quadrilaterals;
// the type's default elsewhere.
int exact_piece_points(int type);

// M of a piece of `dimension` (0 to 3) and `nodes` nodes integrated with `ngaus` points
// of its type's rule; xyz holds x, y, z of every node; m receives nodes x nodes values,
// column by column. The factor is not applied.
void piece_integrals(int dimension, int nodes, int ngaus, const double* xyz, double* m);

// The factor of a piece of `dimension` on an element of a set (see above).
double piece_measure_factor(int set, int dimension);

// x, y, z of a node (0 beyond the problem's coordinates) into xyz.
void node_point(std::int32_t node, double* xyz);

// The terms of one convection boundary (a card of the convection block).
struct ConvectionTerms {
  int nodes = 0;
  int positions[CONVECTION_MAX_NODES] = {};  // of each piece node in its element, 1-based
  double conductance[CONVECTION_MAX_NODES * CONVECTION_MAX_NODES] = {};  // H, column by column
  double heat[CONVECTION_MAX_NODES] = {};    // f
};
void convection_terms(std::int32_t card, ConvectionTerms& terms);

// Adds H of every convection boundary of element row `element` of the active set to
// its conductivity matrix in RIGID.
void add_convection_conductance(int element);

}  // namespace vortan
