// Numerical integration rules of the element families.
//
// Layout: POSGT[i + n * k] is coordinate k+1 (s, t, u) of point i+1, column by column
// with n rows and as many columns as the natural space of the type has dimensions;
// PESGT[i] is the weight of point i+1. Triangle and tetrahedron weights already hold
// the parent area or volume (they sum to 1/2 and 1/6). The Gauss constants are the
// single-precision values of the system widened to double.
#pragma once

#include "input/catalogue.h"

namespace vortan {

// Writes the rule of the type's family for NGAUS points (21 for the wedge, with 21
// rows). A combination without a rule leaves both arrays as they were.
void REGINT(int type_code, int ngaus, double* POSGT, double* PESGT);

}  // namespace vortan
