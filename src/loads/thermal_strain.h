// "TEMPERATURA" in a set's load section: the equivalent nodal forces of the free
// thermal strain of every element of the set, from the nodal temperatures of the load
// block.
#pragma once

namespace vortan {

// Reads no cards. For the active continuum set: the nodal thermal strains (alpha dT,
// see free_thermal_strain) are integrated like imposed strains into every element's
// load row, and the set is marked so that its stresses are those of the elastic strain.
// Stops when the load block had no temperature section, when the set already carries
// the load, and for sets that are not plane, revolution or solid continua.
void FUETEM(int set);

}  // namespace vortan
