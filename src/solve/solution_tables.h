// The result tables of the solution paths: nodal displacements, reactions and the
// forces in the elastic supports. Headings follow the problem type of the last set
// made active.
#pragma once

namespace vortan {

// The Gauss path chooses some headings by the problem dimension and lists every node
// with a prescribed degree of freedom; the other paths list the nodes with a non-zero
// reaction.
enum class SolutionPath { gauss, other };

void print_displacement_table(const double* despl, SolutionPath path);
// treac (optional) receives each listed node's values before its line is written.
void print_reaction_table(const double* react, SolutionPath path, double* treac = nullptr);
void print_elastic_support_forces(const double* despl);

}  // namespace vortan
