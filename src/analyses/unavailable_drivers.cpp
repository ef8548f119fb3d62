// Analyses whose drivers are not built yet. Selecting one ends the run through the
// fatal stop with a message that says so; each is replaced by its driver when that
// analysis is built.
#include "analyses/drivers.h"
#include "run/errstp.h"

namespace vortan {

void implicit_dynamics_analysis() { ERRSTP("INPDAT: DINAMICO IMPLICITO NO DISPONIBLE"); }
void explicit_dynamics_analysis() { ERRSTP("INPDAT: DINAMICO EXPLICITO NO DISPONIBLE"); }

}  // namespace vortan
