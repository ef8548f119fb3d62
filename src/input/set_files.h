// The storage layout of an element set's records and the opening of its file.
#pragma once

namespace vortan {

// Sizes the eleven record kinds of a set, lays them out in its disk record and memory
// record by their storage codes, opens the set's direct-access file when it has disk
// records and allocates its memory records.
void OPENSE(int set);

// Size in 8-byte values of one record of a kind (0-based kind) of a set.
int record_kind_size(int set, int kind);

}  // namespace vortan
