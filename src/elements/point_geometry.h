// Geometry of one integration point: Cartesian coordinates of the point, Jacobian
// matrix, its determinant and inverse, Cartesian derivatives of the shape functions
// and the volume element (weight times determinant, times the thickness of plane
// problems or the circumference of solids of revolution).
//
// Array layouts, all column by column:
//   COREL[k + ndime * n]   coordinate k+1 of element node n+1;
//   CORPG[k + ndime * g]   coordinate k+1 of integration point g+1;
//   DERIV, DCART           (coordinate, function) with leading dimension ndime;
//   XJACM, XJACI           ndime by ndime: XJACM[i + ndime * j] = d x_(j+1) / d s_(i+1);
//   POSGT, PESGT           the rule of the set (integration_rules.h), ngaus rows.
// Point indices are 1 to NGAUS, as in the element loops.
#pragma once

#include "input/catalogue.h"

namespace vortan {

// Two pi held in single precision: the circumference factor of solids and shells of
// revolution.
inline constexpr double CIRCUMFERENCE_FACTOR = 6.2831854820251465;
// 1e-10 held in single precision: the smallest generator length and mean radius of a
// truncated-cone element.
inline constexpr double CONE_TOLERANCE = 1.000000013351432e-10;


// Determinant of the Jacobian and volume element of the point PREVIO evaluated last.
struct PointGeometryRecord {
  double DJACB = 0.0;
  double DVOLU = 0.0;
};
extern PointGeometryRecord PNTGEO;
void reset_point_geometry();

// Point coordinates, Jacobian, determinant (djacb), inverse and Cartesian derivatives
// at point igaus of element ielem, from FFORM and DERIV of the point. A determinant
// that is zero or negative is written to the listing with the element number and
// stops the run ("JACOBM:DETER DEL JACOB CERO O NEGATIVO"); ndime is 1, 2 or 3.
void JACOBM(int ndime, int nnode, int ielem, double& djacb, int igaus, const double* FFORM,
            double* DCART, const double* DERIV, const double* COREL, double* CORPG,
            double* XJACI, double* XJACM);

// Full geometry of point igaus: shape functions of type_code at the point (FUNFOR),
// JACOBM, and the volume element dvolu for the problem type ntype (thickness thick for
// plane problems, ignored when exactly 0). The truncated cone (type 17) is integrated
// at its centre whatever igaus. Leaves PNTGEO holding the determinant and volume
// element of the point.
void PREVIO(int ielem, int igaus, int ngaus, int ndime, int nnode, int ntype, int type_code,
            double& dvolu, double thick, const double* POSGT, const double* PESGT,
            double* FFORM, double* DERIV, double* DCART, const double* COREL, double* CORPG,
            double* XJACI, double* XJACM);

}  // namespace vortan
