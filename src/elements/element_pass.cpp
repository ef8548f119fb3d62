#include "elements/element_pass.h"

#include "run/errstp.h"

namespace vortan {

void activate_for_pass(int set) {
  ACTSET(set);
  if (ACTIVE.NEVAB > MAX_ELEMENT_VARIABLES) ERRSTP("SOLUCION: DEMASIADOS GDL POR ELEMENTO");
}

void run_element_task(int element, ElementTask task) {
  const int set = ACTIVE.set;
  const PassCodes codes = pass_codes(set);
  element_dispatcher(set)(element, set, codes.fetch, ACTIVE.fetch_default, task);
}

}  // namespace vortan
