// Numerical integration rules of the element families.
//
// Layout: POSGT[i + n * k] is coordinate k+1 (s, t, u) of point i+1, column by column
// with n rows and as many columns as the natural space of the type has dimensions;
// PESGT[i] is the weight of point i+1. Triangle and tetrahedron weights already hold
// the parent area or volume (they sum to 1/2 and 1/6). The Gauss constants are the
// single-precision values of the system widened to double.
#pragma once

namespace vortan {

// Points of the wedge rule, whatever NGAUS the set declares.
inline constexpr int WEDGE_RULE_POINTS = 21;

// Number of points REGINT writes for a type and NGAUS: NGAUS itself, 21 for the wedge
// (any NGAUS >= 1), 0 when the combination has no rule. The arrays of a set must be
// laid out for this count, and it is the NGAUS the set should carry.
int integration_point_count(int type_code, int ngaus);

// True when REGINT writes a rule for the combination.
inline bool has_integration_rule(int type_code, int ngaus) {
  return integration_point_count(type_code, ngaus) > 0;
}

// Writes the rule of the type's family for NGAUS points (21 for the wedge, with 21
// rows). A combination without a rule leaves both arrays as they were.
void REGINT(int type_code, int ngaus, double* POSGT, double* PESGT);

}  // namespace vortan
