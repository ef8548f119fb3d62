// Steady heat conduction: one temperature per node, K T = f. The phases of the static
// linear analysis with their thermal variants: the thermal header, sets and convection
// boundaries; the conductivity matrices with the film conductance of the boundaries;
// the heat loads; the temperatures; the heat fluxes at the integration points, their
// smoothing to the nodes and the error estimate when asked; the post-processing files;
// and the heat balance of every element (its internal forces) when asked. Each phase is
// timed as an action of the static timing table.
#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "post/post_dispatch.h"
#include "input/problem.h"
#include "loads/thermal_loads.h"
#include "results/result_loops.h"
#include "results/smoothing.h"
#include "results/smoothing_record.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/solucion.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

const double* temperatures() { return WORK.reals(SOLUTION.DESPL); }

// An element whose flux energy is exactly 0 has no relative error: heat conduction ends
// the run there.
constexpr ErrorEstimateOptions THERMAL_ERROR{"ANERROT:ERROR NO REPORTABLE"};

}  // namespace

void heat_conduction_analysis() {
  timed(2, 2, [] { INPEST(ProblemVariant::thermal); });
  timed(3, 3, [] { compute_element_stiffnesses(); });
  timed(4, 4, [] { read_thermal_loads(); });
  timed(5, 5, [] { SOLUCION(SolveOptions{PROBLEM.printing(PRINT_DISPLACEMENTS), false}); });
  timed(6, 6, [] { stress_loop(temperatures()); });
  timed(7, 7, [] { smooth_stresses(temperatures()); });
  if (PROBLEM.error_estimation == 1 && SMOOTHING.done == 1)
    timed(8, 8, [] { estimate_error(temperatures(), THERMAL_ERROR); });
  timed(9, 9, [] { post_process(PROBLEM.postprocessor, temperatures()); });
  if (PROBLEM.internal_forces == 1)
    timed(9, 10, [] { internal_force_loop(temperatures(), WORK.reals(SOLUTION.ASLOD)); });
}

}  // namespace vortan
