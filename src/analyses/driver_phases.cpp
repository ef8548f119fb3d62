#include "analyses/driver_phases.h"

#include "elements/active_set.h"
#include "elements/shell_preparation.h"
#include "input/problem.h"

namespace vortan {

void INPEST(ProblemVariant variant) {
  read_problem_definition(variant);
  if (PROBLEM.flat_shell_set > 0) prepare_flat_shells(variant);
  complete_problem_build(variant);
  // The rotations restrained at flat-shell nodes are chosen in the nodes' final axes,
  // which an inclined support (read by the second half of the build) turns.
  if (PROBLEM.flat_shell_set > 0) restrain_unused_shell_rotations();
  reserve_set_work_area();
}

}  // namespace vortan
