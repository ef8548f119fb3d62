// Fetch codes of one pass of an element loop: a kind is fetched from the set's storage
// only once a loop has computed and stored it; until then it is computed.
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

// The fetch codes of a set for its next pass (11 characters and a terminator).
struct PassCodes {
  char fetch[12];
};
PassCodes pass_codes(int set);

// Records that a pass of the task over every element of the set has stored what the
// task computes (the kinds it chains through included).
void mark_computed(int set, ElementTask task);

// Forgets what earlier passes stored, so that the next pass computes afresh.
void forget_computed(int set);

// Forgets one kind only: the next pass computes it afresh (and stores it again when the
// set keeps it).
void forget_computed_kind(int set, int kind);

}  // namespace vortan
