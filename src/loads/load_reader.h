// The load block of an analysis (reader "CARGAS"): optional global point loads,
// optional nodal temperatures, then one load section per element set, all turned into
// the element load rows "CARGA" of the sets.
#pragma once

#include <cstdint>

namespace vortan {

struct LoadRecord {
  // 1 when the block opened with global point loads: the load rows already hold them
  // when the set sections start, so the sections do not clear the rows.
  int global_point_loads = 0;
  // Nodal temperatures, NPNODS reals; 0 when the block has no temperature section.
  std::int32_t TEMPE = 0;
  void reset() { *this = LoadRecord{}; }
};
extern LoadRecord LOADS;

// CARGAS: reads the whole load block. Expects the problem definition read (sets,
// connectivity, coordinates, degree-of-freedom table, inclined supports) and the card
// "FUERZAS" next in the input. Leaves every set's load rows holding its equivalent
// nodal loads (the pair of a node on an inclined support in the support's axes), the
// nodal temperatures in LOADS.TEMPE, the closing card of the last set section as the
// last card read, and the last set read active. The main cursor moves only for the
// nodal temperatures (and for the element work area when no set was activated yet).
void read_loads();

// The set of the current card, which must be a set's "SETNUMERO" card with a set in
// 1..NSETS not yet in sections_read (NSETS flags, the set's flag is raised).
int section_set(bool* sections_read);

}  // namespace vortan
