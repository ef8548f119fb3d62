// "DISTRIBUIDAS": loads given at the nodes of element sides (two-dimensional and
// axisymmetric sets) or faces (three-dimensional sets), integrated over the side or
// face with its own shape functions into equivalent nodal forces (FUEREP).
#pragma once

namespace vortan {

// Largest number of nodes of a loaded side or face, and of load values per node.
inline constexpr int MAX_SIDE_NODES = 8;
inline constexpr int SIDE_VALUES = 3;

// FUEREP: reads the side cards of the active set after "DISTRIBUIDAS", up to and
// including "FINDISTRIBUIDAS", and adds the nodal forces to the elements' load rows.
// A heat-conduction set takes one value per node, the flux into the body, and adds
// the heat of the piece (conduction_boundary.h) to its nodes.
void FUEREP(int set);

// Nodal forces of a side of 2 (linear) or 3 (quadratic: start, middle, end) nodes.
// xy: x, y of each node; loads: p1 (along the left-hand normal of the side traversed
// from its first to its last node), p2 (along the side) of each node; forces: fx, fy
// of each node. An axisymmetric side carries the circumference 2 pi r.
void side_forces(int nodes, const double* xy, const double* loads, bool axisymmetric,
                 double* forces);

// Nodal forces of a face of 3, 4, 6 or 8 nodes, listed in the node order of the
// triangle or quadrilateral of as many nodes. xyz: x, y, z of each node; loads: the
// tractions along the face tangents t1 = dx/ds and t2 = dx/dt and the pressure along
// t1 x t2, per unit of area, of each node; forces: fx, fy, fz of each node.
void face_forces(int nodes, const double* xyz, const double* loads, double* forces);

}  // namespace vortan
