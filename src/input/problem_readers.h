// The readers of the problem definition called by the problem-header readers, in the
// order they are called.
#pragma once

namespace vortan {

void INPSET();              // element sets and materials
void read_thermal_sets();   // element sets of heat conduction
void INPCON();              // connectivity
void INPGEO();              // coordinates
void INPCCO();              // restraints and prescribed values
void LEAPYO();              // inclined supports
void LERESO();              // elastic supports
void LEGDLL();              // linked degrees of freedom

}  // namespace vortan
