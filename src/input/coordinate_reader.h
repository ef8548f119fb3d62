// The nodal coordinates of the geometry block: one card per node ("node x y z") up
// to the "FINGEOMETRIA" card, into COORD, with the conversion of polar and spherical
// input to Cartesian coordinates.
#pragma once

namespace vortan {

// Reads the coordinate cards into COORD (NPNODS x NDIME, node index fastest); missing
// trailing coordinates are 0.0, a later card for a node overwrites an earlier one, and
// at most NPNODS cards are accepted. PROBLEM.NRADS = 1 converts (r, theta) and 2
// converts (r, phi, theta), angles in degrees, to Cartesian coordinates. Echo and
// Cartesian listing when the data print switch is on.
void INPGEO();

}  // namespace vortan
