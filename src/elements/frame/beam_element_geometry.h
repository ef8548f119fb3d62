// Geometry of one integration point of a beam finite element (LI2, LI3): the point
// on the element's line, the tangent and the derivatives of the shape functions along
// the line. It takes the place of JACOBM in PREVIO for "ELEMENTOFINITOVIGA" sets.
#pragma once

namespace vortan {

// BVIGAS, with JACOBM's arguments. From FFORM and DERIV of point igaus:
//   CORPG(., igaus) = sum N x;   T = sum dN/ds x;   djacb = J = |T| (the length of the
//   line per unit of s, so that J times the weight is the point's length);
//   DCART(1, n) = dN/ds / J, the derivative along the line (the other rows 0);
//   XJACM holds the element axes at the point, column by column: V1 = T / J,
//   V2 = (-V1y, V1x, 0), V3 = (0, 0, 1);  XJACI(1) = 1 / J.
// A tangent of zero length (coincident nodes) is reported on the console with the
// element number and stops the run ("BVIGAS:ERROR AREA CERO O NEGATIVA"). Beam
// elements are plane: ndime must be 2.
void BVIGAS(int ndime, int nnode, int ielem, double& djacb, int igaus, const double* FFORM, double* DCART,
            const double* DERIV, const double* COREL, double* CORPG, double* XJACI, double* XJACM);

}  // namespace vortan
