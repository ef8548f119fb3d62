// The support blocks of the static linear analysis, read once the degree-of-freedom
// table exists: inclined supports, elastic supports and linked degrees of freedom.
// Each block is a start card, one data card per entry and an end card, and each is
// listed whatever the print switches say.
#pragma once

namespace vortan {

// "APOYOSINCLINADOS", PROBLEM.MAPOY cards "node angle", "FINAPOYOSINCLINADOS":
// APOYO(i) the node, APANG(i) the angle converted from degrees to radians.
void LEAPYO();

// "APOYOSESLATICOS", PROBLEM.MRESO cards "node direction value", "FINAPOYOSESLATICOS":
// RESOR(i), REDIR(i), REVAL(i).
void LERESO();

// "GRADOSDELIBERTADLIGA", PROBLEM.MGDLL cards "node node direction",
// "FINGRADOSDELIBERTADL": NGDLL(1..3, i).
void LEGDLL();

}  // namespace vortan
