// The plate element as the plate and flat-shell families share it: the geometry of an
// integration point (always interpolated between the corners), the strain rows of
// DKT, TLCL and CLLL at every point, and the integrals of a uniform pressure.
#pragma once

#include "elements/plate/plate_strains.h"

namespace vortan {

// The plate element types; false for the other element types a plate set accepts.
bool is_plate_element(int element_type);

// Corners of a plate element type: 3 for the triangles, 4 for the quadrilateral.
int plate_corners(int element_type);

// Geometry of point g (1-based) of element row `element` of the active set from the
// x, y of its corners (xy, two per node): shape functions, their Cartesian derivatives
// (all six functions of the triangles, in DCART with two per function), the inverse
// Jacobian and the point's x, y in corpg (two per point). Returns the area element.
double plate_point_geometry(int element, int g, const double* xy, double* corpg);

// The plate rows of every point of element row `element` into b (rows.nstre x NEVAB
// per point, zeroed first), with the area elements in DVOLU and the points' x, y in
// corpg; xy as above. The TLCL's mid-side rotations take their sense from the global
// numbers of the corners.
void plate_strain_rows(int element, const double* xy, const PlateRows& rows, double* b, double* corpg);

// The nodal forces of a uniform pressure p (along +z of the plate) on element row
// `element`: p N dA integrated over the linear triangle of the corners (TLCL, DKT) or
// the quadrilateral, one value per corner into forces.
void plate_pressure_forces(int element, const double* xy, double p, double* forces);

}  // namespace vortan
