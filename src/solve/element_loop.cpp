#include "solve/element_loop.h"

#include "elements/element_tasks.h"
#include "elements/pass_codes.h"
#include "run/errstp.h"

namespace vortan {

namespace {

constexpr int HEAT_CONDUCTION = 5;  // analysis code

}  // namespace

void mark_stiffness_stored(int set) { mark_computed(set, "RIGMATRIZ"); }

void reserve_element_area() {
  if (PROBLEM.NSETS > 0) ACTSET(1);
}

void activate_set_for_solution(int set) {
  ACTSET(set);
  if (ACTIVE.NEVAB > MAX_ELEMENT_VARIABLES) ERRSTP("SOLUCION: DEMASIADOS GDL POR ELEMENTO");
}

void element_stiffness(int element) {
  const int set = ACTIVE.set;
  const PassCodes codes = pass_codes(set);
  if (RUN.KANALI == HEAT_CONDUCTION) ELETRT(element, set, codes.fetch, ACTIVE.fetch_default, "RIGMATRIZ");
  else ELETR3(element, set, codes.fetch, ACTIVE.fetch_default, "RIGMATRIZ");
}

void compute_element_stiffnesses() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    activate_set_for_solution(s);
    for (int& done : SETS(s).computed) done = 0;  // compute afresh, whatever an earlier pass left
    const int nelem = SETS(s).NELEM;
    for (int e = 1; e <= nelem; ++e) {
      gather_element(e);
      element_stiffness(e);
    }
    mark_stiffness_stored(s);
  }
}

}  // namespace vortan
