// "PESOPROPIO": the self weight of every element of a set.
#pragma once

namespace vortan {

// Adds the self-weight forces of the element task "PESOPROPI" of every element of the
// active set to its load rows (stored as the set's storage codes ask).
void add_self_weight(int set);

}  // namespace vortan
