// The product of the global stiffness with a vector formed element by element, without
// the assembled matrix: every element's stiffness (fetched when its set stores it,
// computed otherwise) times the element's part of the vector, added into the result.
#pragma once

#include <cstdint>

namespace vortan {

// y = K x for vectors in equation order; equations[g - 1] is the equation of global
// position g (0 for a prescribed one, whose entries take no part).
void element_stiffness_product(const std::int32_t* equations, std::int32_t neqns, const double* x, double* y);

}  // namespace vortan
