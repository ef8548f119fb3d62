// The static linear analysis: one elastic solution K u = f for the loads of the
// input, then the stresses at the integration points and, when asked, the element
// internal forces. Each phase is timed as an action of the static timing table.
#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "input/problem.h"
#include "loads/load_reader.h"
#include "results/result_loops.h"
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
  // The smoothing of the stresses, the error estimate and the post-processing files
  // (actions 7 to 9) are not built yet: those phases are skipped.
  if (PROBLEM.internal_forces == 1)
    timed(9, 10, [] { internal_force_loop(WORK.reals(SOLUTION.DESPL), WORK.reals(SOLUTION.ASLOD)); });
}

}  // namespace vortan
