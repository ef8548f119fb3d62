// Analyses whose drivers are not built yet. Selecting one ends the run through the
// fatal stop with a message that says so; each is replaced by its driver when that
// analysis is built.
#include "analyses/drivers.h"
#include "run/errstp.h"

namespace vortan {

void nonlinear_static_analysis() { ERRSTP("INPDAT: ESTATICO NO LINEAL NO DISPONIBLE"); }

}  // namespace vortan
