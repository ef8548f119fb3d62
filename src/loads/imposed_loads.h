// "DEFORMACIONESIMPUEST" and "TENSIONESIMPUESTAS": strains or stresses given at the
// nodes of elements, interpolated to the integration points and integrated against
// the strain-displacement matrices into equivalent nodal forces.
#pragma once

#include <string_view>

namespace vortan {

// Task names of the integration: which nodal table it reads and how.
inline constexpr std::string_view IMPOSED_STRAINS = "DEFORMIMPUESTASNODOS";
inline constexpr std::string_view IMPOSED_STRESSES = "TENSIMPUESTASNODOS  ";

// The readers: called for the active set right after their keyword card, they read
// element cards and their tables up to and including "FINDEFORMACIONESIMPU".
void read_imposed_strains(int set);
void read_imposed_stresses(int set);

// Adds to the load row of element row `element` of the active set (gathered) the
// forces of its nodal table: the sum over the points of B^T sigma dV, with sigma the
// interpolated stresses, or D times the interpolated strains. The forces of a node on
// an inclined support are left in the global axes, like every other load before the
// end of the set's section.
void integrate_imposed_loads(int element, std::string_view task);

}  // namespace vortan
