// "CARGASREPARTIDAS": a uniform load normal to the face of chosen elements of a plate
// or flat-shell set (FUEREU), integrated into equivalent nodal forces.
#pragma once

namespace vortan {

// FUEREU: reads "NELCA=" from the "CARGASREPARTIDAS" card, then cards of element
// number (within the set) and load normal to the face up to "FINCARGASREPARTIDAS";
// a later card for the same element replaces its load. Then every element of the
// active set is integrated and its forces added to its load row: plates along +z
// on the deflections of the corners, flat shells along the element normal on the
// displacements of the corners.
void FUEREU(int set);

}  // namespace vortan
