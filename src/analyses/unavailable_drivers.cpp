// Analyses whose drivers are not built yet. Selecting one ends the run through the
// fatal stop with a message that says so; each is replaced by its driver when that
// analysis is built.
#include "analyses/drivers.h"
#include "run/errstp.h"

namespace vortan {

void explicit_dynamics_analysis() { ERRSTP("INPDAT: DINAMICO EXPLICITO NO DISPONIBLE"); }
void nonlinear_static_analysis() { ERRSTP("INPDAT: ESTATICO NO LINEAL NO DISPONIBLE"); }

}  // namespace vortan
