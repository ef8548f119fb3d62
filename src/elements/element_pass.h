// One pass of an element task over the element rows of a set, the way every element
// loop runs it: the set is activated and its element variables checked against the
// element arrays, the dispatcher of the set's family is chosen, records that earlier
// passes stored are fetched and records the set's codes ask for are stored, and the
// set is marked as having computed the task afterwards.
#pragma once

#include "elements/active_set.h"
#include "elements/element_tasks.h"
#include "elements/pass_codes.h"
#include "input/element_sets.h"

namespace vortan {

// Activates a set for an element pass and checks that its element variables fit the
// element arrays.
void activate_for_pass(int set);

// Runs the task on every element row of the set: before(element) prepares the element
// (gathers its coordinates and displacements), after(element) takes the task's result
// from the active set's arrays.
template <class Before, class After>
void run_set_pass(int set, ElementTask task, Before before, After after) {
  activate_for_pass(set);
  const PassCodes codes = pass_codes(set);
  const Dispatcher dispatch = element_dispatcher(set);
  const int nelem = SETS(set).NELEM;
  for (int element = 1; element <= nelem; ++element) {
    before(element);
    dispatch(element, set, codes.fetch, ACTIVE.fetch_default, task);
    after(element);
  }
  mark_computed(set, task);
}

// Runs the task on one element row of the active set with the codes of the set's
// current pass (for loops that interleave their own work with the task).
void run_element_task(int element, ElementTask task);

}  // namespace vortan
