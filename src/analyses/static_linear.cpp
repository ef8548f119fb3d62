// The static linear analysis: one elastic solution K u = f for the loads of the
// input, then the stresses at the integration points and, when asked, the element
// internal forces. Each phase is timed as an action of the static timing table.
#include "analyses/drivers.h"
#include "analyses/unbuilt_outputs.h"
#include "elements/active_set.h"
#include "elements/shell_preparation.h"
#include "input/flat_shell_step.h"
#include "input/problem.h"
#include "input/problem_header.h"
#include "loads/load_reader.h"
#include "results/result_loops.h"
#include "run/timing.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/solucion.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

// Runs a phase as a timed action with its console progress line.
template <class Phase>
void timed(int action, int progress_code, Phase phase) {
  TIMACC(action, TIMING.table, 1);
  phase();
  PROGRE(TIMING.program_start, progress_code);
  TIMACC(action, TIMING.table, 2);
}

}  // namespace

void static_linear_analysis() {
  timed(2, 2, [] {
    set_flat_shell_preparation(prepare_flat_shells);
    INPEST(ProblemVariant::static_linear);
    // The element work arrays get their place before any phase takes scratch space.
    reserve_set_work_area();
  });
  timed(3, 3, [] { compute_element_stiffnesses(); });
  timed(4, 4, [] { read_loads(); });
  timed(5, 5, [] { SOLUCION(); });
  timed(6, 6, [] { stress_loop(WORK.reals(SOLUTION.DESPL)); });
  // The smoothing of the stresses, the error estimate and the post-processing files
  // (actions 7 to 9) are not built yet: those phases are skipped.
  note_unbuilt_outputs();
  if (PROBLEM.internal_forces == 1)
    timed(9, 10, [] { internal_force_loop(WORK.reals(SOLUTION.DESPL), WORK.reals(SOLUTION.ASLOD)); });
}

}  // namespace vortan
