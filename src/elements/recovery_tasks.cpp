#include "elements/recovery_tasks.h"

#include <limits>

#include "elements/active_set.h"
#include "elements/shape_functions.h"
#include "elements/vector_helpers.h"
#include "run/errstp.h"

namespace vortan {

namespace {

// Natural coordinates of point g (0-based) of the active set's rule.
void point_coordinates(int g, double& s, double& t, double& u) {
  const ActiveSetRecord& a = ACTIVE;
  const double* posgt = a.reals(a.POSGT);
  const int dims = element_natural_dimension(a.element_type);
  s = posgt[g];
  t = dims > 1 ? posgt[g + a.NGAUS] : 0.0;
  u = dims > 2 ? posgt[g + 2 * a.NGAUS] : 0.0;
}

// The smoothing functions at point g (0-based): the corner element's in corner mode,
// otherwise the element's own (FFORM, made current by the point's geometry).
const double* smoothing_functions(int g, double* corner) {
  const ActiveSetRecord& a = ACTIVE;
  const int corner_type = corner_element_type(a.element_type);
  if (corner_type == 0) return a.reals(a.FFORM);
  double s, t, u;
  point_coordinates(g, s, t, u);
  double derivatives[3 * MAX_SHAPE_FUNCTIONS];
  FUNFOR(s, t, u, corner_type, a.NDIME, corner, derivatives);
  return corner;
}

}  // namespace

int smoothing_nodes(int element_type) {
  // The plate triangle TLCL is smoothed on its three corners.
  if (element_type == ELEM_TLCL) return 3;
  const int corner_type = corner_element_type(element_type);
  return element_nodes(corner_type != 0 ? corner_type : element_type);
}

void smoothing_integrals(int element, const TaskCodes& codes, const RecoveryRoutines& family) {
  const ActiveSetRecord& a = ACTIVE;
  family.stresses(element, codes);
  const int n = smoothing_nodes(a.element_type);
  double* m = a.reals(a.RIGID);
  double* r = a.reals(a.TENS1);
  for (int i = 0; i < n * n; ++i) m[i] = 0.0;
  for (int i = 0; i < n * a.NSTR1; ++i) r[i] = 0.0;
  const double* stresses = a.reals(a.TENSG);
  double corner[MAX_SHAPE_FUNCTIONS];
  for (int g = 0; g < a.NGAUS; ++g) {
    const double dv = family.point_volume(element, g + 1);
    const double* f = smoothing_functions(g, corner);
    const double* sigma = stresses + a.NSTR1 * g;
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < n; ++i) m[i + n * j] += f[i] * f[j] * dv;
      for (int c = 0; c < a.NSTR1; ++c) r[c + a.NSTR1 * j] += f[j] * sigma[c] * dv;
    }
  }
}

void error_integrals(int element, const TaskCodes& codes, const RecoveryRoutines& family) {
  const ActiveSetRecord& a = ACTIVE;
  family.stresses(element, codes);
  family.constitutive_matrix(element, codes);
  const int ns = a.NSTRE;
  double* dinv = a.reals(a.DMATI);
  const double* d = a.reals(a.DMATZ);
  for (int i = 0; i < ns * ns; ++i) dinv[i] = d[i];
  if (!gauss_jordan_inverse(dinv, ns, std::numeric_limits<double>::min()))
    ERRSTP("ANERRO: MATRIZ CONSTITUTIVA SINGULAR");
  const double* stresses = a.reals(a.TENSG);
  const double* nodal = a.reals(a.TENEL);
  // The smoothed field of the plate triangle TLCL lives on its corners only.
  const int interpolated = a.element_type == ELEM_TLCL ? 3 : a.NNODE;
  double error = 0.0, energy = 0.0;
  for (int g = 0; g < a.NGAUS; ++g) {
    const double dv = family.point_volume(element, g + 1);
    const double* f = a.reals(a.FFORM);
    const double* sigma = stresses + a.NSTR1 * g;
    double difference[8] = {};
    for (int c = 0; c < ns; ++c) {
      double smoothed = 0.0;
      for (int k = 0; k < interpolated; ++k) smoothed += f[k] * nodal[c + a.NSTR1 * k];
      difference[c] = smoothed - sigma[c];
    }
    for (int i = 0; i < ns; ++i)
      for (int j = 0; j < ns; ++j) {
        error += difference[i] * dinv[i + ns * j] * difference[j] * dv;
        energy += sigma[i] * dinv[i + ns * j] * sigma[j] * dv;
      }
  }
  ACTIVE.error_measure = error;
  ACTIVE.reference_measure = energy + error;
}

}  // namespace vortan
