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
// are in the listing when the header's displacement print switch is on.
#pragma once

namespace vortan {

// Runs the path of the header's solver code: 1 Gauss elimination, 2 LDLT. The
// iterative codes 3 to 5 and any other code stop the run.
void SOLUCION();

}  // namespace vortan
