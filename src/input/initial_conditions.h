// The initial-conditions section of the dynamics analyses (reader "INTIME"):
//
//     CONDICIONES_INICIALES
//     n1 n2 ...                     (the "NREQD=" displacement-curve nodes, if any)
//     n1 n2 ...                     (the "NREQL=" force-curve nodes, if any)
//     DESPLAZAMIENTOS_INICIALES     node u1 .. uk, one card a node, up to FIN_DE...
//     VELOCIDADES_INICIALES         node v1 .. vk, one card a node, up to FIN_VE...
//     NO_HAY_CONDICIONES_INICIALES
//     FIN_CONDICIONES_INICIALES
//
// The history files are opened here (unit 11 for the displacement curves, 12 for the
// force curves, 15 for the energy) with their heading record, and stay open for the
// time stepping.
#pragma once

#include <cstdint>

namespace vortan {

struct InitialConditions {
  std::int32_t NPRQD = 0;  // work-array position of the displacement-curve nodes
  std::int32_t NPRQL = 0;  // work-array position of the force-curve nodes
  void reset() { *this = InitialConditions{}; }
};
extern InitialConditions HISTORY;

// Reads the section. `values_per_node` (k) is the number of values each initial-
// condition card gives after its node; they go to the node's first k degrees of
// freedom (fewer when the node has fewer). The initial displacements go to `despl`
// and the initial velocities to `veloc` (NTOTV reals each, global order, cleared
// first). The acceleration block is accepted only with an accelerogram switch of 0
// and is then left to the explicit driver's accelerogram files.
void INTIME(int values_per_node, double* despl, double* veloc, bool print);

}  // namespace vortan
