// The connectivity of the geometry block: the "GEOMETRIA" card and one card per
// element ("element set node node ..."), into each set's LNODS and the global element
// list GLELEM.
#pragma once

namespace vortan {

// Reads the "GEOMETRIA" card and PROBLEM.NELEM element cards. Each card fills the next
// row (SETS(s).rows_used, advanced by one) of its set's LNODS: column 1 the element
// number, columns 2.. its node numbers, missing trailing nodes 0. GLELEM(1, e) and
// GLELEM(2, e) receive the set and the row of element e. Element numbers must lie in
// 1..NELEM and appear once, set numbers in 1..NSETS, and no set may receive more cards
// than its element count. Once all cards are read every node number is checked against
// 1..NPNODS, so that no later loop indexes a nodal array with it. The cards are echoed
// when the data print switch is on.
void INPCON();

}  // namespace vortan
