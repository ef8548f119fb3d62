// The block updates of the panel factorisation of the LDLT profile (see
// skyline_factor.h for the storage). The factorisation takes the equations a panel of
// consecutive columns at a time; before the panel's own columns are reduced one after
// the other, these routines bring in, as dense products of short blocks of columns,
// everything the rows above the panel contribute:
//   - reduce_panel_above: the entries of the panel's columns in the rows above the
//     panel become final (g(i, j) = a(i, j) - sum over r < i of u(r, i) g(r, j));
//   - reduce_panel_inside: the entries of the panel's columns in the panel's own rows,
//     and their diagonals, lose the part of their sums that runs over the rows above
//     the panel (g(r, i) / d(r) g(r, j) with the stored reciprocals 1/d(r)).
// Each routine works on a range of the panel's columns that starts at a tile boundary
// (a multiple of PANEL_TILE_COLUMNS from the panel's first column), touches only those
// columns, and gives every entry the same sequence of operations whatever the range:
// ranges given to different threads give the answer one thread gives, bit for bit.
// The hot loops of this file are built for the machine that builds them when the
// build asks for it (VORTAN_NATIVE).
#pragma once

#include <cstdint>

namespace vortan {

// The profile as the factorisation sees it (only the routines below call its members): the diagonal (1/d once an equation is
// factored) in amatr[0 .. neqns - 1], column c (1-based) holding rows top(c) .. c - 1.
struct SkylineView {
  double* amatr;
  const std::int32_t* pointers;
  std::int32_t neqns;

  double* column(std::int32_t c) const { return amatr + neqns + pointers[c - 1]; }
  std::int32_t top(std::int32_t c) const { return c - (pointers[c] - pointers[c - 1]); }
};

// Columns per tile of the products; panel widths are multiples of it.
extern const int PANEL_TILE_COLUMNS;

// For the columns first .. last of the panel that starts at column j0: the entries in
// rows above j0 become final (still scaled by the pivots, as g, not yet u).
void reduce_panel_above(const SkylineView& s, std::int32_t j0, std::int32_t first, std::int32_t last);

// For the same columns, after reduce_panel_above has run on the whole panel
// j0 .. j1: each entry in a row i of the panel (i < j) loses the sum over r < j0,
// and diagonal_sums[j - j0] receives the sum of g(r, j)^2 / d(r) over r < j0.
void reduce_panel_inside(const SkylineView& s, std::int32_t j0, std::int32_t j1, std::int32_t first,
                         std::int32_t last, double* diagonal_sums);

}  // namespace vortan
