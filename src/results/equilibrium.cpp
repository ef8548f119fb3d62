#include "results/equilibrium.h"

#include <cmath>

#include "elements/element_pass.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "results/result_loops.h"
#include "run/work_array.h"

namespace vortan {

void equilibrium_pass(const double* despl, double* s, double* p) {
  ZEROR(PROBLEM.NTOTV, s);
  ZEROR(PROBLEM.NTOTV, p);
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    const ElementSet& es = SETS(set);
    double* carga = WORK.reals(es.CARGA);
    const double* cargt = WORK.reals(es.CARGT);
    run_set_pass(
        set, ElementTask::internal_forces, [&](int element) { gather_element(element, despl); },
        [&](int element) {
          const double* f = WORK.reals(ACTIVE.FUERZ);
          check_finite_element_results("FUERINTER", element, f, ACTIVE.NEVAB, ACTIVE.NDOFN);
          const int n = element_positions(element, positions);
          for (int i = 0; i < n; ++i) {
            const std::int64_t row = (element - 1) + static_cast<std::int64_t>(i) * es.NELEM;
            carga[row] = cargt[row] - f[i];
            if (positions[i] <= 0) continue;
            s[positions[i] - 1] += f[i];
            p[positions[i] - 1] += cargt[row];
          }
        });
  }
}

ResidualMeasure residual_measure(const double* p, const double* s, const std::int32_t* iffix, std::int32_t n) {
  ResidualMeasure m;
  double dd = 0.0, pp = 0.0, ss = 0.0;
  for (std::int32_t i = 0; i < n; ++i) {
    ss += s[i] * s[i];
    if (iffix[i] == 1) continue;
    const double d = p[i] - s[i];
    dd += d * d;
    pp += p[i] * p[i];
    m.largest = std::fmax(m.largest, std::fabs(d));
  }
  const double reference = pp > 0.0 ? pp : ss;
  m.norm = reference > 0.0 ? 100.0 * std::sqrt(dd / reference) : 0.0;
  return m;
}

int convergence_code(double norm, double tolerance, int iteration, double previous_norm) {
  if (norm <= tolerance) return 0;
  return iteration >= 2 && norm > previous_norm ? 999 : 1;
}

}  // namespace vortan
