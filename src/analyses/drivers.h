// The analysis drivers, one per analysis code. Each runs its whole analysis from the
// problem-header reader to its results.
#pragma once

namespace vortan {

void static_linear_analysis();       // code 1
void implicit_dynamics_analysis();   // code 2
void explicit_dynamics_analysis();   // code 3
void eigenvalue_analysis();          // code 4
void heat_conduction_analysis();     // code 5
void nonlinear_static_analysis();    // code 6
void general_static_analysis();      // code 101

}  // namespace vortan
