// The error estimate: every element's stresses against the smoothed field of its set,
// in the energy norm (the integrals are the element task's, recovery_tasks.h).
#include <algorithm>
#include <string>

#include "elements/element_pass.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "results/smoothing.h"
#include "results/smoothing_record.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// The set's smoothed stresses at the element's nodes into TENEL (NSTR1 per node).
void gather_smoothed_stresses(int set, int element) {
  const ActiveSetRecord& a = ACTIVE;
  double* nodal = a.reals(a.TENEL);
  const int ncomp = std::min(smoothed_components(set), a.NSTR1);
  for (int k = 0; k < a.NNODE; ++k) {
    const std::int32_t node = element_node(set, element, k + 1);
    for (int c = 0; c < a.NSTR1; ++c)
      nodal[c + a.NSTR1 * k] = c < ncomp ? *smoothed_value(set, node, c) : 0.0;
  }
}

void write_element_error(int set, int element, double e, double u) {
  const std::string number = fmt::X(10) + fmt::I(element_node(set, element, 0), 8);
  if (u != 0.0)
    write_record(UNIT_LISTING, number + fmt::X(3) + fmt::I(set, 5) + fmt::X(3) + fmt::F(100.0 * e / u, 15, 5) + " %");
  else
    write_record(UNIT_LISTING, number + "   ERROR NO REPORTABLE");
}

void write_global_error(double error) {
  const std::string stars = fmt::X(10) + std::string(50, '*');
  write_empty(UNIT_LISTING, 6);
  write_record(UNIT_LISTING, stars);
  write_record(UNIT_LISTING, fmt::X(10) + "**" + fmt::X(11) + "ANALISIS DE ERROR GLOBAL" + fmt::X(11) + "**");
  write_record(UNIT_LISTING, stars);
  write_record(UNIT_LISTING,
               fmt::X(10) + "**" + fmt::X(10) + "ERROR COMETIDO = " + fmt::F(error, 15, 5) + "%" + fmt::X(3) + "**");
  write_record(UNIT_LISTING, stars);
}

}  // namespace

void estimate_error(const double* displacements, const ErrorEstimateOptions& options) {
  SMOOTHING.ERELE = DIRECT(RUN.NXTPOS, RUN.MEMORY, std::max(PROBLEM.NELEM, 1), "ERELE", REAL_WORDS);
  double* erele = WORK.reals(SMOOTHING.ERELE);
  ZEROR(std::max(PROBLEM.NELEM, 1), erele);
  double total_error = 0.0, total_reference = 0.0;
  std::int32_t first = 0;  // running number of the set's first element, less one
  for (int set = 1; set <= PROBLEM.NSETS; first += SETS(set).NELEM, ++set) {
    if (SETS(set).family == ElementFamily::frame) continue;
    const bool printing = SETS(set).print[SET_PRINT_ERROR] == 1;
    if (printing) {
      write_empty(UNIT_LISTING, 3);
      write_record(UNIT_LISTING, "REPORTE DEL ERROR ELEMENTAL");
      write_record(UNIT_LISTING, fmt::X(10) + "ELEMENTO    SET    ERROR");
    }
    run_set_pass(
        set, ElementTask::error_estimate,
        [&](int e) {
          gather_element(e, displacements);
          gather_smoothed_stresses(set, e);
        },
        [&](int e) {
          const double error = ACTIVE.error_measure, reference = ACTIVE.reference_measure;
          // The element's error is kept for the post-processing files whether or not
          // its line is printed.
          if (reference != 0.0) erele[first + e - 1] = 100.0 * error / reference;
          if (printing) write_element_error(set, e, error, reference);
          if (reference == 0.0 && !options.unreportable_stop.empty()) ERRSTP(options.unreportable_stop);
          total_error += error;
          total_reference += reference;
        });
  }
  SMOOTHING.global_error = total_reference > 0.0 ? 100.0 * total_error / total_reference : 0.0;
  SMOOTHING.error_done = 1;
  if (PROBLEM.printing(PRINT_ERROR)) write_global_error(SMOOTHING.global_error);
}

}  // namespace vortan
