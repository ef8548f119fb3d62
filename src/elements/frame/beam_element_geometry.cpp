#include "elements/frame/beam_element_geometry.h"

#include <cmath>

#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

void BVIGAS(int ndime, int nnode, int ielem, double& djacb, int igaus, const double* FFORM, double* DCART,
            const double* DERIV, const double* COREL, double* CORPG, double* XJACI, double* XJACM) {
  if (ndime != 2) ERRSTP("PREVIO: DIMENSION DEL ELEMENTO ERRONEA");
  double* point = CORPG + ndime * (igaus - 1);
  double tangent[2] = {};
  for (int k = 0; k < ndime; ++k) {
    double x = 0.0;
    for (int n = 0; n < nnode; ++n) {
      x += FFORM[n] * COREL[k + ndime * n];
      tangent[k] += DERIV[n] * COREL[k + ndime * n];
    }
    point[k] = x;
  }
  djacb = std::sqrt(tangent[0] * tangent[0] + tangent[1] * tangent[1]);
  if (!(djacb > 0.0)) {
    write_record(UNIT_CONSOLE, " PROGRAMA DETENIDO EN LA SUBROUTINA JVIGAS");
    write_record(UNIT_CONSOLE, " AREA CERO O NEGATIVA ");
    write_record(UNIT_CONSOLE, " ELEMENTO NUMER" + fmt::I(ielem, 8));
    ERRSTP("BVIGAS:ERROR AREA CERO O NEGATIVA");
  }
  for (int n = 0; n < nnode; ++n) {
    DCART[ndime * n] = DERIV[n] / djacb;
    for (int i = 1; i < ndime; ++i) DCART[i + ndime * n] = 0.0;
  }
  const double c = tangent[0] / djacb, s = tangent[1] / djacb;
  const double axes[9] = {c, s, 0.0, -s, c, 0.0, 0.0, 0.0, 1.0};
  for (int i = 0; i < 9; ++i) XJACM[i] = axes[i];
  XJACI[0] = 1.0 / djacb;
}

}  // namespace vortan
