// Element record storage: each kind of element quantity of a set is kept on disk (one
// direct-access record per element, the disk-stored kinds one after another), in a
// memory block of the work array, or not at all. Records are addressed by the
// element's row in its set.
#pragma once

namespace vortan {

// Fetches the record of a kind (0-based, see RecordKind) of element row `element` of
// a set into destination; packed symmetric records come back as full matrices.
void GETSER(int set, int element, int kind, double* destination);
// Stores the record from source, keeping the other kinds of the element's disk record.
void PUTSER(int set, int element, int kind, const double* source);

// Order of a matrix kept as a packed symmetric record of a kind of a set (0 when the
// kind is not packed).
int packed_order(int set, int kind);

}  // namespace vortan
