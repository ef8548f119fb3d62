// The convection-radiation block of the thermal problem: one card per boundary
// element between "CONVECCIONRADIACION" and "FINCONVECCIONRADIACI", listed and kept in
// the integer array CONVE.
#pragma once

#include <cstdint>

namespace vortan {

inline constexpr int CONVECTION_MAX_NODES = 27;
// Words per boundary element in CONVE: set, element, dimension, nodes, integration
// points, then the node numbers padded with 0 to CONVECTION_MAX_NODES.
inline constexpr int CONVECTION_WORDS = 5 + CONVECTION_MAX_NODES;

// Reads the block (NFRON element cards) and leaves its position in PROBLEM.CONVE.
void read_convection_block();

// Word (1..CONVECTION_WORDS) of boundary element e (1..NFRON).
std::int32_t convection_word(std::int32_t element, int word);

}  // namespace vortan
