// Generalized-strain matrices of the plate elements: curvatures (and, for the thick
// elements, transverse shear strains) in terms of the nodal deflections and rotations.
//
// Unknowns of a plate node: the deflection w and the two rotations r1 = dw/dx and
// r2 = dw/dy (the slopes of the middle surface in the xz and yz planes). Generalized
// strains, in the row order of the resultants:
//   curvatures  kx = d r1/dx,  ky = d r2/dy,  kxy = d r1/dy + d r2/dx
//   shears      gxz = dw/dx - r1,  gyz = dw/dy - r2
// With these signs a positive moment bends the plate concave towards +z (a plate
// loaded along -z between simple supports has positive moments).
//
// The rows are written into a strain matrix of `nstre` rows (one column per element
// variable), so that the flat shells place them below their membrane rows and between
// their own nodal unknowns.
#pragma once

namespace vortan {

// The geometry record of a plate triangle from the x, y of its three corners (xy[2k],
// xy[2k+1]): twice the area |x12 y23 - y12 x23|, the area, the side lengths L12, L23,
// L31 and the unit side vectors from corner 1 to 2, 2 to 3 and 3 to 1.
struct TriangleGeometry {
  double twice_area = 0.0;
  double area = 0.0;
  double length[3] = {};
  double cosine[3] = {}, sine[3] = {};
};
TriangleGeometry triangle_geometry(const double* xy);

// Where the plate rows and unknowns sit in a strain matrix.
struct PlateRows {
  int nstre;        // rows of the matrix (its leading dimension)
  int bending_row;  // row of kx; ky and kxy follow
  int shear_row;    // row of gxz, gyz following; -1 for the thin triangle
  int ndofn;        // element variables per node
  int w_offset;     // position of w among a node's variables; r1 and r2 follow it
};

// DKT (discrete Kirchhoff triangle): curvature rows at one point from the Cartesian
// derivatives dcart (x, y of each of the six functions of the plate triangle).
void dkt_rows(const double* dcart, const TriangleGeometry& geometry, const PlateRows& rows, double* b);

// TLCL: the 3 x nevab matrix of the side shear strains of the element (the integral
// along each side of the tangential shear strain), from the corners' coordinates
// (x, y of the three corners) and global node numbers. Row k holds side 1-2, 2-3 and
// 1-3 (side 2-3 scaled by 1/sqrt 2); the mid-side nodes 4, 5, 6 carry their rotation
// in their second unknown, positive from the lower to the higher global node number.
void tlcl_side_shears(const double* xy, const int* corner_nodes, const PlateRows& rows, int nevab,
                      double* sides);

// TLCL rows at one point: curvatures from the six functions (the corners' slopes and
// the mid-side rotations along their sides), shears from the assumed linear field
// through the side shears and the inverse Jacobian xjaci (2 x 2) of the point at the
// natural coordinates (s, t).
void tlcl_rows(const double* dcart, double s, double t, const double* xjaci, const double* xy,
               const int* corner_nodes, const double* sides, const PlateRows& rows, int nevab, double* b);

// CLLL: the covariant transverse shear rows at the four sampling points of the
// quadrilateral (mid-sides t = -1, s = +1, t = +1, s = -1), from the coordinates of its
// four nodes (x, y each); sampling is 4 x 2 rows of nevab entries (point by point, the
// s row then the t row). `element` names the element in a Jacobian stop.
void clll_sampled_shears(int element, const double* xy, const PlateRows& rows, int nevab, double* sampling);

// CLLL rows at one point: curvatures from the Cartesian derivatives of the four
// bilinear functions, shears interpolated from the sampled rows (the s strain along t
// between the points t = -1 and t = +1, the t strain along s between s = -1 and s = +1)
// and turned into Cartesian components by the inverse Jacobian of the point.
void clll_rows(const double* dcart, double s, double t, const double* xjaci, const double* sampling,
               const PlateRows& rows, int nevab, double* b);

}  // namespace vortan
