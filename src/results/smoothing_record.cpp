#include "results/smoothing_record.h"

#include "input/element_sets.h"
#include "input/problem.h"
#include "run/work_array.h"

namespace vortan {

SmoothingRecord SMOOTHING;

int smoothed_components(int set) {
  const ElementSet& s = SETS(set);
  const bool plane = s.family == ElementFamily::continuum &&
                     (s.problem_type == PLANE_STRESS || s.problem_type == PLANE_STRAIN);
  return s.NSTRE + (plane ? 1 : 0);
}

double* smoothed_value(int s, int n, int c) {
  const std::int64_t g = SMOOTHING.components;
  return WORK.reals(SMOOTHING.TENST) + (c + g * ((n - 1) + std::int64_t{PROBLEM.NPNODS} * (s - 1)));
}

}  // namespace vortan
