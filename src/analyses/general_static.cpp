// The general static analysis ("OPTIMIZACION" "LINEAL"): the linear static problem
// solved by the damped element-by-element iteration whatever solver the header names,
// with no stiffness phase (the element matrices are formed inside the iteration);
// then the ".opt" file with the history of the iteration, the stresses at the
// integration points, their smoothing to the nodes and the post-processing files. No
// error estimate and no element internal forces, whatever the header asks.
//
// The phases are timed as actions 2, 4, 5, 6, 7 and 9 with their console lines; the
// analysis code has no timing table, so the end of the run writes none. The stress
// loop is the one of the static linear analysis: the KELDAR writer takes the nodal
// stresses from the smoothing, so nothing is handed to it element by element.
#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "input/problem.h"
#include "loads/load_reader.h"
#include "post/optimisation_file.h"
#include "post/post_dispatch.h"
#include "results/result_loops.h"
#include "results/smoothing.h"
#include "run/file_set.h"
#include "run/work_array.h"
#include "solve/solucion.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

constexpr int DAMPED_ITERATION = 4;  // the solver code of the damped iteration

const double* displacements() { return WORK.reals(SOLUTION.DESPL); }

}  // namespace

void general_static_analysis() {
  // One solution: the first of its increment and iteration, its history kept for the
  // ".opt" file.
  SolutionSequence& sequence = PROBLEM.sequence;
  sequence.increment = 1;
  sequence.iteration = 1;
  sequence.keep_history = 1;
  timed(2, 2, [] { INPEST(ProblemVariant::static_general); });
  timed(4, 4, [] { read_loads(); });
  timed(5, 5, [] {
    PROBLEM.solver = DAMPED_ITERATION;
    SOLUCION(SolveOptions{PROBLEM.printing(PRINT_DISPLACEMENTS), !PROBLEM.sequence.first_solution()});
  });
  timed(6, 6, [] {
    OPENFI(UNIT_OPTIMISATION);
    write_optimisation_file();
    CLOSFI(UNIT_OPTIMISATION);
    stress_loop(displacements());
    PROBLEM.sequence.stresses_done = 1;
  });
  timed(7, 7, [] { smooth_stresses(displacements()); });
  timed(9, 9, [] { post_process(PROBLEM.postprocessor, displacements()); });
}

}  // namespace vortan
