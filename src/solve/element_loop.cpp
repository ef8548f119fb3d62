#include "solve/element_loop.h"

#include "elements/element_tasks.h"
#include "run/errstp.h"

namespace vortan {

namespace {

constexpr int HEAT_CONDUCTION = 5;  // analysis code

}  // namespace

const char* stiffness_fetch_codes(int set) {
  return SETS(set).computed[KIND_K] == 1 ? ACTIVE.fetch_default : RECOMPUTE_ALL;
}

void mark_stiffness_stored(int set) { SETS(set).computed[KIND_K] = 1; }

void reserve_element_area() {
  if (PROBLEM.NSETS > 0) ACTSET(1);
}

void activate_set_for_solution(int set) {
  ACTSET(set);
  if (ACTIVE.NEVAB > MAX_ELEMENT_VARIABLES) ERRSTP("SOLUCION: DEMASIADOS GDL POR ELEMENTO");
}

void element_stiffness(int element) {
  const int set = ACTIVE.set;
  const char* fetch = stiffness_fetch_codes(set);
  if (RUN.KANALI == HEAT_CONDUCTION) ELETRT(element, set, fetch, ACTIVE.fetch_default, "RIGMATRIZ");
  else ELETR3(element, set, fetch, ACTIVE.fetch_default, "RIGMATRIZ");
}

void compute_element_stiffnesses() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    activate_set_for_solution(s);
    SETS(s).computed[KIND_K] = 0;  // compute afresh, whatever an earlier pass left
    const int nelem = SETS(s).NELEM;
    for (int e = 1; e <= nelem; ++e) {
      gather_element(e);
      element_stiffness(e);
    }
    mark_stiffness_stored(s);
  }
}

}  // namespace vortan
