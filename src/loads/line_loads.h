// "CARGASDELINEA" (reader "FUERLIN"): uniform loads along one-dimensional elements:
// beam finite elements (per unit length) and truncated cones of shells of revolution
// (per unit area of the shell's surface, so that 2 pi r multiplies them).
//
//   CARGAS_DE_LINEA
//   element qn [qt]         one card per loaded element of the set
//   FIN_CARGAS_DE_LINEA
//
// qn acts normal to the element, to the left of its direction from its first node to
// its last (as the side loads of "DISTRIBUIDAS" do), qt along that direction. The
// equivalent nodal loads N_k q integrated along the line go to the first two variables
// of every node (x and y, or r and z). The block ends the set's load section.
#pragma once

namespace vortan {

// Reads the block of the active set, up to its closing card.
void FUERLIN(int set);

}  // namespace vortan
