// Equation numbers of the global positions (degrees of freedom) for the profile
// solvers, which keep only the free degrees of freedom in their matrices.
#pragma once

#include <cstdint>

namespace vortan {

// Numbering without renumbering (eigenvalue and dynamics analyses): the free positions
// get 1, 2, 3 ... in global order, the prescribed ones (iffix = 1) get 0; the column
// heights of the equations are cleared in the same pass. Returns NEQNS.
std::int32_t number_free_equations(const std::int32_t* iffix, std::int32_t ntotv,
                                   std::int32_t* equations, std::int32_t* heights);

// Numbering of the LDLT path: the nodes in the given order (NPNODS node numbers),
// within a node its degrees of freedom in local order; a free one takes the next
// positive number, a prescribed one the next negative number. Any position that no
// node of the order reaches is numbered after them the same way. Returns NEQNS and
// sets prescribed to the count of negative numbers.
std::int32_t number_equations_by_nodes(const std::int32_t* order, std::int32_t* equations,
                                       std::int32_t& prescribed);

}  // namespace vortan
