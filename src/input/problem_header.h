// The problem-header readers: one per analysis, sharing one card loop. Each reads the
// header cards that size the problem, checks the mandatory ones and builds the whole
// problem definition (sets, connectivity, coordinates, restraints, degree-of-freedom
// table, fixity, supports, set files).
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

// The whole problem-header reader of a variant: header cards, then the problem build.
void INPEST(ProblemVariant variant);
// The eigenvalue analysis's reader.
void INPFREC();

}  // namespace vortan
