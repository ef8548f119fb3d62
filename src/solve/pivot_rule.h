// The relative pivot rule of the direct factorisations (Gauss elimination, the LDLT
// profile and the profile of the eigenvalue and dynamics analyses), and the naming of
// an equation by its node and degree of freedom.
//
// A pivot is formed by subtracting from the original (assembled) diagonal entry of its
// equation the contributions of the equations eliminated before it. When the equation
// has no stiffness of its own that the others do not already account for (a
// mechanism: a model without enough supports, a node held by nothing, an element of
// no stiffness), the difference is round-off: a few units in the last digit of the
// diagonal (unrestrained plane models leave 1e-16 to 3e-16 of it). A pivot of magnitude
// at most PIVOT_RELATIVE_LIMIT times its original diagonal has kept no more than about
// five of the sixteen digits of a double; dividing by it would spread round-off as the
// answer, so the run stops, naming the node and degree of freedom. A zero pivot of an
// equation with a zero diagonal (no stiffness at all) stops as well.
//
// Stiff supports stay clear of the limit: a pair of linked degrees of freedom under the
// penalty of 1e6 times the largest diagonal keeps a pivot of about 1e-6 of its
// diagonal times the ratio of the pair's own stiffness to the largest one (2e-7 to
// 9e-7 in the linked models of the tests), so only a stiffness contrast beyond 1e4
// between the linked pair and the stiffest part of the model comes within a factor ten of
// the limit; such a model has lost the accuracy of its links anyway.
#pragma once

#include <cstdint>
#include <string_view>

namespace vortan {

inline constexpr double PIVOT_RELATIVE_LIMIT = 1.0E-11;

// True when the pivot has lost almost all the digits of its original diagonal (NaN
// pivots included).
bool pivot_lost_its_digits(double pivot, double original_diagonal);

// A node and the ordinal of one of its degrees of freedom (its m-th active kind, as
// the displacement table lists them); node 0 when unknown.
struct DofPlace {
  std::int32_t node = 0;
  int dof = 0;
};

// The place of a global position (0-based, as DESPL is indexed) through ADRES.
DofPlace place_of_position(std::int64_t position);

// The place of an equation of a numbering that gives each global position its
// equation (LEQNS of the LDLT path, MHIGH of the eigenvalue profile).
DofPlace place_of_equation(const std::int32_t* equation_of_position, std::int32_t equation);

// Writes the pivot, the original diagonal, the equation and its place to the listing
// and stops with "<routine>: MECANISMO NODO n GDL m" (or "... EN ECUACION n" when the
// place is unknown).
[[noreturn]] void stop_on_lost_pivot(std::string_view routine, std::int64_t equation, double pivot,
                                     double original_diagonal, DofPlace place);

}  // namespace vortan
