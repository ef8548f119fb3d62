#include "loads/self_weight.h"

#include "elements/active_set.h"
#include "elements/element_tasks.h"
#include "input/element_sets.h"
#include "loads/element_loads.h"
#include "loads/member_loads.h"

namespace vortan {

void add_self_weight(int set) {
  const ElementSet& s = SETS(set);
  // A member's weight is a load along it: its fixed-end forces enter the member's end
  // forces as well as its nodes.
  if (s.family == ElementFamily::frame) {
    add_member_self_weight(set, 0.0);
    return;
  }
  const ActiveSetRecord& a = ACTIVE;
  for (int e = 1; e <= s.NELEM; ++e) {
    gather_element(e);
    element_dispatcher(set)(e, set, RECOMPUTE_ALL, a.fetch_default, ElementTask::self_weight);
    const double* forces = a.reals(a.PESOP);
    for (int i = 0; i < a.NEVAB; ++i) load_entry(set, e, i + 1) += forces[i];
  }
}

}  // namespace vortan
