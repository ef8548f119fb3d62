// Element tasks of heat conduction: one temperature per node, NSTRE = the set's
// dimension gradient components.
#pragma once

#include "elements/element_tasks.h"

namespace vortan {

void conduction_matrix_of_material(int element, const TaskCodes& codes);  // DMATZ: conductivities
void conduction_gradient_matrices(int element, const TaskCodes& codes);   // BMATZ = DCART
void conduction_flux_matrices(int element, const TaskCodes& codes);       // DBMAT = DMATZ BMATZ
void conduction_matrix(int element, const TaskCodes& codes);              // RIGID, with convection
void conduction_fluxes(int element, const TaskCodes& codes);              // TENSG
void conduction_internal_forces(int element, const TaskCodes& codes);     // FUERZ
void conduction_heat_generation(int element, const TaskCodes& codes);     // PESOP: +Q N dV
void conduction_smoothing(int element, const TaskCodes& codes);           // RIGID, TENS1
void conduction_error_estimate(int element, const TaskCodes& codes);      // error measures

// The conduction family's task table.
extern const TaskTable CONDUCTION_TASKS;

}  // namespace vortan
