// The load block of heat conduction (reader "CARGAS"): the card "CARGAS", then for
// every set its "SETNUMERO" card and its section between "FUERZAS" and "FINFUERZAS",
// all turned into the element heat loads "CARGA" of the sets.
#pragma once

namespace vortan {

// Reads the whole block. A section holds, in any order and number:
//   "PUNTUALES"          heat put in at nodes (FUE001), up to "FINPUNTUALES";
//   "GENERACIONINTERNA"  the internal heat of every element of the set (task
//                        "CALORINTE", from the set's "CALESP=");
//   "DISTRIBUIDAS"       fluxes into the body on sides and faces, one value per node
//                        (FUEREP), up to "FINDISTRIBUIDAS".
// At "FINFUERZAS" the ambient heat of the set's convection boundaries is added and,
// with the data echo on, the set's equivalent nodal heats are listed, one line per node
// of the problem. Leaves the last set read active.
void read_thermal_loads();

// Adds the ambient heat h T of every convection boundary of a set to the load rows of
// its elements.
void add_convection_heat(int set);

}  // namespace vortan
