#include "elements/point_geometry.h"

#include <cmath>
#include <string>

#include "elements/frame/beam_element_geometry.h"
#include "elements/shape_functions.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

PointGeometryRecord PNTGEO;

void reset_point_geometry() { PNTGEO = PointGeometryRecord{}; }

namespace {

// Entry (i, j), 0-based, of an n by n matrix stored column by column.
inline double& at(double* A, int n, int i, int j) { return A[i + n * j]; }
inline double at(const double* A, int n, int i, int j) { return A[i + n * j]; }

double determinant(int n, const double* J) {
  if (n == 1) return J[0];
  if (n == 2) return J[0] * J[3] - J[2] * J[1];
  return at(J, 3, 0, 0) * at(J, 3, 1, 1) * at(J, 3, 2, 2) +
         at(J, 3, 0, 1) * at(J, 3, 1, 2) * at(J, 3, 2, 0) +
         at(J, 3, 0, 2) * at(J, 3, 1, 0) * at(J, 3, 2, 1) -
         at(J, 3, 0, 2) * at(J, 3, 1, 1) * at(J, 3, 2, 0) -
         at(J, 3, 0, 0) * at(J, 3, 1, 2) * at(J, 3, 2, 1) -
         at(J, 3, 0, 1) * at(J, 3, 1, 0) * at(J, 3, 2, 2);
}

// Inverse as the adjugate (transposed cofactors) divided by the determinant.
void invert(int n, const double* J, double det, double* Ji) {
  if (n == 1) {
    Ji[0] = 1.0 / det;
    return;
  }
  if (n == 2) {
    Ji[0] = J[3] / det;
    Ji[1] = -J[1] / det;
    Ji[2] = -J[2] / det;
    Ji[3] = J[0] / det;
    return;
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      // Cofactor of entry (j, i), from the cyclic successors of row j and column i.
      const int r1 = (j + 1) % 3, r2 = (j + 2) % 3, c1 = (i + 1) % 3, c2 = (i + 2) % 3;
      const double cofactor = at(J, 3, r1, c1) * at(J, 3, r2, c2) -
                              at(J, 3, r1, c2) * at(J, 3, r2, c1);
      at(Ji, 3, i, j) = cofactor / det;
    }
}

[[noreturn]] void jacobian_failure(int ielem, double det) {
  write_record(UNIT_LISTING, "PROGRAMA DETENIDO EN SUBRUTINA JACOBM");
  write_record(UNIT_LISTING, " DETERMINANTE DEL JACOBIANO CERO O NEGATIVO");
  write_record(UNIT_LISTING, " EN ELEMENTO NUMERO" + fmt::I(ielem, 8));
  write_record(UNIT_LISTING, "    JACOBIANO:" + fmt::E(det, 14, 6));
  ERRSTP("JACOBM:DETER DEL JACOB CERO O NEGATIVO");
}

[[noreturn]] void cone_geometry_failure() {
  write_record(UNIT_LISTING, "ERROR EN LA GEOMETRIA DEL ELEMENTO TRONCOCONICO");
  ERRSTP("PREVIO:ERROR EN LA GEOMETRIA");
}

// Truncated cone: one point at the centre of the generator, volume element
// L * mean radius * 2 pi. The determinant of the point is that of the line map, L/2.
double cone_volume_element(int ndime, double* FFORM, double* DERIV, const double* COREL,
                           double* CORPG) {
  // The generator lies in the (radius, axis) plane: two coordinates per node.
  if (ndime < 2) ERRSTP("PREVIO: DIMENSION DEL ELEMENTO ERRONEA");
  line_shape_functions(0.0, 2, FFORM, DERIV);
  const double* node1 = COREL;
  const double* node2 = COREL + ndime;
  const double length = std::hypot(node2[0] - node1[0], node2[1] - node1[1]);
  if (!(length >= CONE_TOLERANCE)) cone_geometry_failure();
  CORPG[0] = (node1[0] + node2[0]) / 2.0;
  CORPG[1] = (node1[1] + node2[1]) / 2.0;
  if (!(CORPG[0] >= CONE_TOLERANCE)) cone_geometry_failure();
  PNTGEO.DJACB = length / 2.0;
  return length * CORPG[0] * CIRCUMFERENCE_FACTOR;
}

}  // namespace

void JACOBM(int ndime, int nnode, int ielem, double& djacb, int igaus, const double* FFORM,
            double* DCART, const double* DERIV, const double* COREL, double* CORPG,
            double* XJACI, double* XJACM) {
  if (ndime < 1 || ndime > 3) ERRSTP("JACOBM: DIMENSION NO VALIDA");
  double* point = CORPG + ndime * (igaus - 1);
  for (int k = 0; k < ndime; ++k) {
    double x = 0.0;
    for (int n = 0; n < nnode; ++n) x += FFORM[n] * COREL[k + ndime * n];
    point[k] = x;
  }
  for (int i = 0; i < ndime; ++i)
    for (int j = 0; j < ndime; ++j) {
      double sum = 0.0;
      for (int n = 0; n < nnode; ++n) sum += DERIV[i + ndime * n] * COREL[j + ndime * n];
      at(XJACM, ndime, i, j) = sum;
    }
  djacb = determinant(ndime, XJACM);
  if (!(djacb > 0.0)) jacobian_failure(ielem, djacb);
  invert(ndime, XJACM, djacb, XJACI);
  for (int n = 0; n < nnode; ++n)
    for (int i = 0; i < ndime; ++i) {
      double sum = 0.0;
      for (int j = 0; j < ndime; ++j) sum += at(XJACI, ndime, i, j) * DERIV[j + ndime * n];
      DCART[i + ndime * n] = sum;
    }
}

void PREVIO(int ielem, int igaus, int ngaus, int ndime, int nnode, int ntype, int type_code,
            double& dvolu, double thick, const double* POSGT, const double* PESGT,
            double* FFORM, double* DERIV, double* DCART, const double* COREL, double* CORPG,
            double* XJACI, double* XJACM) {
  if (type_code == ELEM_TRC2) {
    dvolu = cone_volume_element(ndime, FFORM, DERIV, COREL, CORPG);
    PNTGEO.DVOLU = dvolu;
    return;
  }
  if (igaus < 1 || igaus > ngaus) ERRSTP("PREVIO: PUNTO DE INTEGRACION ERRONEO");
  const int g = igaus - 1;
  const double s = POSGT[g];
  const double t = ndime >= 2 ? POSGT[ngaus + g] : 0.0;
  const double u = ndime == 3 ? POSGT[2 * ngaus + g] : 0.0;
  FUNFOR(s, t, u, type_code, ndime, FFORM, DERIV);
  if (ntype == BEAM_ELEMENT) {
    // The line of a beam element lies in the plane: its own geometry routine gives the
    // tangent length as determinant and the derivatives along the line.
    BVIGAS(ndime, nnode, ielem, PNTGEO.DJACB, igaus, FFORM, DCART, DERIV, COREL, CORPG, XJACI, XJACM);
    dvolu = PNTGEO.DJACB * PESGT[g];
    PNTGEO.DVOLU = dvolu;
    return;
  }
  // DERIV is laid out with the natural dimension of the type; JACOBM reads it with
  // ndime, so the two must agree.
  if (element_natural_dimension(type_code) != ndime)
    ERRSTP("PREVIO: DIMENSION DEL ELEMENTO ERRONEA");
  JACOBM(ndime, nnode, ielem, PNTGEO.DJACB, igaus, FFORM, DCART, DERIV, COREL, CORPG, XJACI,
         XJACM);
  dvolu = PNTGEO.DJACB * PESGT[g];
  if (ntype == AXISYMMETRIC) dvolu *= CORPG[ndime * g] * CIRCUMFERENCE_FACTOR;
  if ((ntype == PLANE_STRESS || ntype == PLANE_STRAIN) && thick != 0.0)
    dvolu *= thick;
  PNTGEO.DVOLU = dvolu;
}

}  // namespace vortan
