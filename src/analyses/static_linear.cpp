// The static linear analysis: one elastic solution K u = f for the loads of the
// input, then the stresses at the integration points, their smoothing to the nodes,
// the error estimate when asked, the post-processing files and, when asked, the
// element internal forces. Each phase is timed as an action of the static timing
// table.
#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "input/problem.h"
#include "loads/load_reader.h"
#include "post/post_dispatch.h"
#include "results/result_loops.h"
#include "results/smoothing.h"
#include "results/smoothing_record.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/solucion.h"
#include "solve/solution_record.h"

namespace vortan {

void static_linear_analysis() {
  timed(2, 2, [] { INPEST(ProblemVariant::static_linear); });
  timed(3, 3, [] { compute_element_stiffnesses(); });
  timed(4, 4, [] { read_loads(); });
  timed(5, 5, [] { SOLUCION(SolveOptions{PROBLEM.printing(PRINT_DISPLACEMENTS), false}); });
  timed(6, 6, [] { stress_loop(WORK.reals(SOLUTION.DESPL)); });
  timed(7, 7, [] { smooth_stresses(WORK.reals(SOLUTION.DESPL)); });
  if (PROBLEM.error_estimation == 1 && SMOOTHING.done == 1)
    timed(8, 8, [] { estimate_error(WORK.reals(SOLUTION.DESPL)); });
  timed(9, 9, [] { post_process(PROBLEM.postprocessor, WORK.reals(SOLUTION.DESPL)); });
  if (PROBLEM.internal_forces == 1)
    timed(9, 10, [] { internal_force_loop(WORK.reals(SOLUTION.DESPL), WORK.reals(SOLUTION.ASLOD)); });
}

}  // namespace vortan
