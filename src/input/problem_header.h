// The problem-header readers: one per analysis, sharing one card loop. Each reads the
// header cards that size the problem, checks the mandatory ones and builds the whole
// problem definition (sets, connectivity, coordinates, restraints, degree-of-freedom
// table, fixity, supports, set files) in two halves, between which the driver runs
// the flat-shell step of the element layer.
#pragma once

namespace vortan {

enum class ProblemVariant {
  static_linear,
  static_general,
  nonlinear,
  thermal,
  eigen,
  implicit_dynamics,
  explicit_dynamics,
};

// Reads the header cards of a variant up to the first card that is not one of them
// (left in the card reader for the set reader) and makes the mandatory checks.
void read_header_cards(ProblemVariant variant);

// First half of the problem-header reader of a variant: header cards, element sets,
// connectivity, coordinates, restraints, the degree-of-freedom table and fixity.
void read_problem_definition(ProblemVariant variant);

// Second half, after the flat-shell step: the frame rotation array, supports, set
// storage files, the thermal convection block, the mesh record file and the arrays of
// the dynamics and eigenvalue analyses.
void complete_problem_build(ProblemVariant variant);

}  // namespace vortan
