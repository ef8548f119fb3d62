// Point loads: the global ones of the load block, handed to the first element that
// holds each node, and those of one set section (FUE001).
#pragma once

namespace vortan {

// The global point-load section after "FUERZAS GLOBALES PUNTUALES", up to and
// including "FINPUNTUALESGLOBALES": clears every set's load rows and moves the loads
// into them. A non-zero component that no element takes stops the run.
void read_global_point_loads();

// FUE001: the point loads of a set after its "PUNTUALES" card, up to and including
// "FINPUNTUALES". Each card's components are added to the first element of the set
// holding the node; solids and shells of revolution take them per unit of
// circumference (times 2 pi r).
void FUE001(int set);

}  // namespace vortan
