// The check that a static solution holds numbers: a displacement or a reaction that
// overflowed (or came from an overflow in the element or load arithmetic) stops the
// run before any table prints it.
#pragma once

namespace vortan {

// The first value of DESPL (NTOTV values) that is not finite is listed with its
// equation (global position), node and degree of freedom, and the run stops with
// "SOLUCION: DESPL. NO FINITO EC. n".
void check_finite_displacements(const double* despl);

// The same for REACT: "SOLUCION: REACC. NO FINITA EC. n".
void check_finite_reactions(const double* react);

}  // namespace vortan
