// Shape functions of the isoparametric element library.
//
// Every element set has one element type code (1 to 17). The type fixes the node count,
// the natural (parent) space, the local node order and the shape functions. FUNFOR
// evaluates the functions of a type and their derivatives with respect to the natural
// coordinates at one point; the family routines below do the same for one family and
// may be called directly where the family is fixed.
//
// Output layout, shared by every routine of this header:
//   FFORM[i]            N(i+1), one value per function;
//   DERIV[k + nd * i]   dN(i+1)/d(natural coordinate k+1), column by column, with nd the
//                       dimension of the natural space of the type (1, 2 or 3).
// Natural coordinates: squares, cubes and lines run from -1 to +1; triangles and
// tetrahedra use area / volume coordinates s, t (, u) >= 0 with s + t (+ u) <= 1; the
// wedge is the triangle (s, t) times the line u in [-1, 1].
#pragma once

#include "input/catalogue.h"

namespace vortan {

// Shape functions of one element type at (s, t, u). Two-dimensional types ignore u,
// one-dimensional types ignore t and u; ndime is carried for the callers but not used.
// An unknown code leaves FFORM and DERIV as they were.
void FUNFOR(double s, double t, double u, int type_code, int ndime, double* FFORM,
            double* DERIV);

// Family routines. nnode selects the member of the family; a node count the family
// does not have leaves the arrays as they were.
// Lines, nodes at s = -1, (0,) +1: LI2 / TRC2 (2), LI3 (3).
void line_shape_functions(double s, int nnode, double* FFORM, double* DERIV);
// Triangles: TR3 (3, corners (0,0), (1,0), (0,1)); TR6 (6, corner and mid-side
// alternating from (0,0)).
void triangle_shape_functions(double s, double t, int nnode, double* FFORM, double* DERIV);
// The six plate-triangle functions of TLCL and DKT: linear corners first, then the
// quadratic mid-side bubbles of edges 1-2, 2-3, 3-1 (not a partition of unity).
void plate_triangle_shape_functions(double s, double t, double* FFORM, double* DERIV);
// Quadrilaterals, counter-clockwise from (-1,-1): QU4 / CLLL (4); QU8 (8, corner and
// mid-side alternating); QU9 (9, as QU8 then the centre).
void quadrilateral_shape_functions(double s, double t, int nnode, double* FFORM,
                                   double* DERIV);
// Hexahedra: HE8 (8), HE20 (20, rings starting at the corner (1,-1)), HE27 (27).
void hexahedron_shape_functions(double s, double t, double u, int nnode, double* FFORM,
                                double* DERIV);
// Tetrahedra: TE4 (4), TE10 (10, corners first, then the mid-edge nodes of the edges
// 1-2, 2-3, 3-1, 1-4, 2-4, 3-4).
void tetrahedron_shape_functions(double s, double t, double u, int nnode, double* FFORM,
                                 double* DERIV);
// The 15-node wedge PI15.
void wedge_shape_functions(double s, double t, double u, double* FFORM, double* DERIV);

}  // namespace vortan
