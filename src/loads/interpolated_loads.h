// "INTERPOLADAS": loads per unit length given at points (load stations) and carried
// along straight segments between two stations, interpolated onto the element sides
// that lie on each segment and integrated into equivalent nodal forces (INTERF).
#pragma once

namespace vortan {

// INTERF: reads the groups of the active two-dimensional set after "INTERPOLADAS", up
// to and including "FININTERPOLADAS". A group is a block of station cards
// "x y qx qy" (numbered 1, 2, ... in their order) closed by "FINCARGAS", then a
// block of segment cards "a b" (from station a to station b), optionally followed by
// the word "X" or "Y" (the loads are per unit of the segment's projection on that
// axis instead of per unit of its length), closed by "FINSEGMENTOS".
//
// Along a segment the load is linear between its two stations; it acts on every
// element side of the set whose nodes lie on the segment, over the part of the side
// inside the segment, once per side (a side shared by two elements loads the first).
// qx, qy are global components; a solid of revolution carries 2 pi r. Every part of a
// segment must lie on sides of the set.
void INTERF(int set);

}  // namespace vortan
