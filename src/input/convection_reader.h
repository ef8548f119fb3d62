// The convection block of the thermal problem: one card per convection boundary
// between "CONVECCIONRADIACION" and "FINCONVECCIONRADIACI", listed and kept in the
// integer array CONVE, with its ambient temperature and film coefficient in the real
// array CONVT and an index of the boundaries of every element in CONVI.
//
// A card describes a piece of the boundary of one element: its set, its element (the
// number of the element in the mesh), the dimension of the piece (0 an end node of a
// bar, 1 a line, 2 a surface, 3 a solid: one below the set's dimension for a side or
// face of the element, the set's own for the element's lateral surface), the number of
// nodes of the piece, its integration points, its nodes (in the node order of the
// element type of the piece), the ambient temperature, and optionally the film
// coefficient (the set's "CONVC=" when absent). docs/heat-convection.md describes it
// for the user.
#pragma once

#include <cstdint>

namespace vortan {

inline constexpr int CONVECTION_MAX_NODES = 27;
// Words per boundary in CONVE: set, element, dimension, nodes, integration points, then
// the node numbers padded with 0 to CONVECTION_MAX_NODES.
inline constexpr int CONVECTION_WORDS = 5 + CONVECTION_MAX_NODES;
// Reals per boundary in CONVT: ambient temperature, film coefficient.
inline constexpr int CONVECTION_REALS = 2;

// Reads the block (NFRON boundary cards), leaves its arrays in PROBLEM.CONVE, CONVT and
// CONVI. The sets, connectivity and coordinates must have been read.
void read_convection_block();

// Word (1..CONVECTION_WORDS) of boundary `card` (1..NFRON).
std::int32_t convection_word(std::int32_t card, int word);
double convection_ambient(std::int32_t card);
double convection_coefficient(std::int32_t card);

// The boundaries of an element (its number in the mesh), in card order: the first one
// and the one after a given one; 0 when there is none (always 0 before the block is
// read).
std::int32_t first_convection(std::int32_t element);
std::int32_t next_convection(std::int32_t card);

}  // namespace vortan
