// "FUERZASVIGAS" (reader "FUEVIG"): loads along the members of a frame set, turned
// into the equivalent nodal loads of the set's load rows and, in the set's second
// load array, the members' fixed-end forces (frame_tasks.h), which the member end
// forces add.
//
//   FUERZAS_VIGAS
//   PUNTUALES [LOCALES]        point loads: element distance f1 f2 [f3]
//   FIN_PUNTUALES
//   REPARTIDAS [LOCALES]       uniform loads per unit length: element q1 q2 [q3]
//   FIN_REPARTIDAS
//   PESO_PROPIO [PESOVOL=w]    the weight of every member, A w per unit length
//   FIN_FUERZAS_VIGAS
//
// The blocks come in any order and may repeat. The distance of a point load is
// measured along the member from its first node. Components are global (x, y and, in
// three dimensions, z) or, after "LOCALES", along the member's local axes; their
// count is the set's dimension. The weight acts along -y (plane) or -z (space).
#pragma once

namespace vortan {

// Reads a "FUERZASVIGAS" block of the active set, up to its closing card.
void FUEVIG(int set);

// Adds the self weight of every member of the active frame set, with the set's
// specific weight (its "PESOVOL=", plane sets) or the one given.
void add_member_self_weight(int set, double specific_weight);

}  // namespace vortan
