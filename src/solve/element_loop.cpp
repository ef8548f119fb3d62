#include "solve/element_loop.h"

namespace vortan {

void element_stiffness(int element) { run_element_task(element, ElementTask::stiffness); }

void compute_element_stiffnesses() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    forget_computed(s);  // compute afresh, whatever an earlier pass left
    run_set_pass(s, ElementTask::stiffness, [](int e) { gather_element(e); }, [](int) {});
  }
}

void compute_element_masses() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    run_set_pass(s, ElementTask::mass_matrix, [](int e) { gather_element(e); }, [](int) {});
}

}  // namespace vortan
