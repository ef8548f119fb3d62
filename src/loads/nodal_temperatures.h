// TEMPER: the nodal temperatures of the load block.
#pragma once

namespace vortan {

// Reads the cards after "TEMPERATURA" up to "FINTEMPERATURA", accumulates them into
// the nodal temperatures (LOADS.TEMPE, allocated on first use), lists the non-zero
// ones and reads the next card.
void TEMPER();

}  // namespace vortan
