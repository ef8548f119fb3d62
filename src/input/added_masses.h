// The added-mass block of the eigenvalue and dynamics analyses, read after the element
// masses are assembled:
//
//     MASAS_ANADIDAS INDPM=1
//     node mass
//     ...
//     FIN_MASAS_ANADIDAS
//
// With "INDPM=" 0 (or absent) the block is the one card "MASASANADIDAS". Each mass is
// added to every degree of freedom of its node.
#pragma once

namespace vortan {

// Reads the block and adds its masses into xmast (one value per global degree of
// freedom); returns the sum of the concentrated masses.
double ADDMASF(double* xmast);

}  // namespace vortan
