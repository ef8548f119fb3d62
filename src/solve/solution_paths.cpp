#include "solve/solution_paths.h"

#include "input/problem.h"
#include "run/work_array.h"
#include "solve/element_reactions.h"
#include "solve/finite_solution.h"
#include "solve/solution_record.h"
#include "solve/solution_tables.h"

namespace vortan {

void finish_with_element_reactions(const SolveOptions& options, double penalty) {
  const double* despl = WORK.reals(SOLUTION.DESPL);
  double* react = WORK.reals(SOLUTION.REACT);
  const bool printing = options.print_results;
  if (printing) print_displacement_table(despl, SolutionPath::other);
  compute_element_reactions(despl, WORK.reals(SOLUTION.ASLOD), penalty, react);
  check_finite_reactions(react);
  if (!printing) return;
  print_reaction_table(react, SolutionPath::other);
  print_elastic_support_forces(despl);
}

}  // namespace vortan
