// The global stiffness matrix applied element by element, without ever assembling it:
// the matrix-free paths form K x this way in every cycle, and the compressed-row path
// is checked against it.
#pragma once

namespace vortan {

// y = K x over every global position (NTOTV entries, prescribed ones included): for
// every set and element, the element stiffness (fetched or computed as the set's
// storage codes say) times the element's part of x, added into y at the element's
// positions; then the springs (stiffness times x at the spring's position) and the
// links (the penalty coupling with the given penalty).
void element_product(const double* x, double* y, double penalty);

// Adds the springs and then the link penalties to a diagonal of the global matrix
// that holds the element diagonals (NTOTV entries); returns the penalty of the links,
// 1.0E6 times the largest absolute diagonal entry once the springs are in (0 without
// links).
double add_support_diagonal(double* diag);

// The right-hand side of the matrix-free paths: the element loads of every set into
// aslod (NTOTV entries, cleared first) and, when diag is given, the diagonal of the
// global matrix into diag (the element diagonals, then the springs and the link
// penalties, as add_support_diagonal adds them), in one element pass; the element
// stiffness is obtained only for the diagonal. Returns the penalty of the links (0
// without a diagonal or without links).
double assemble_element_loads(double* aslod, double* diag);

}  // namespace vortan
