// FUERZAS: the load section of one element set, dispatched by its load-type keywords.
#pragma once

namespace vortan {

// Reads the section of a set (the set must be active) after its "SETNUMERO" card, up
// to and including "FINFUERZAS"; turns the loads of nodes on inclined supports into
// the support axes and lists the set's load rows.
void FUERZAS(int set);

// Turns the load pair of every node of the set that sits on an inclined support into
// the support's axes (cos a, sin a) and (-sin a, cos a), the axes in which the element
// expresses the node's two displacement unknowns.
void turn_loads_to_support_axes(int set);

}  // namespace vortan
