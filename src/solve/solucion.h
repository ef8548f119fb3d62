// SOLUCION: the single entry through which the static drivers solve K u = f for the
// current loads.
//
// Before the call the problem definition must be complete (INPEST: sets, connectivity,
// coordinates, ADRES, IFFIX, FIXED, supports, set storage opened) and the element load
// vectors of every set (CARGA) must hold the loads. The element stiffness matrices are
// fetched from the sets' storage when compute_element_stiffnesses (element_loop.h) has
// run before, and computed otherwise. After the call SOLUTION.DESPL holds the
// displacements (prescribed values included) and SOLUTION.REACT the reactions (K u - f
// at the prescribed positions, 0 elsewhere), and the displacement and reaction tables
// are in the listing when the driver asks for them.
#pragma once

namespace vortan {

// What the driver asks of a solution.
struct SolveOptions {
  // The displacement and reaction tables (and the information block of the LDLT path).
  bool print_results = true;
  // Keep the arrays, numbering and profile laid out by an earlier solution of the run
  // (successive solutions of one model); otherwise they are laid out afresh.
  bool reuse_arrays = false;
};

// Runs the path of the solver code: 1 Gauss elimination, 2 LDLT, 3 the
// element-by-element conjugate gradient, 4 the damped element-by-element iteration
// (which no header card names: the general static driver sets the code before the
// call), 5 the compressed-row conjugate gradient or GMRES, 6 the sparse direct
// factorisation. Any other code stops the run.
void SOLUCION(const SolveOptions& options);

}  // namespace vortan
