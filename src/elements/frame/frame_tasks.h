// Element tasks of bar and frame members ("VIGA"): trusses, grids and frames in two
// and three dimensions, whose stiffness is written in closed form.
//
//   RIGMATRIZ  RIGID = t^T k t, the member stiffness in global components;
//   TENSIONES  TENSG = k t DESLO + fixed-end forces of the member loads: the end forces
//              of the member in its local axes (the forces the nodes exert on the
//              member), first node then second, in the model's order;
//   FUERINTER  FUERZ = RIGID DESLO, the end forces in global components.
#pragma once

#include <cstdint>

#include "elements/element_tasks.h"
#include "elements/frame/member_matrices.h"

namespace vortan {

// The member model of a frame set.
MemberModel frame_member_model(int set);

// Entry i (0-based) of the fixed-end forces of the member loads of element row
// `element` of a frame set: the second element load array of the set, after its
// NELEM x NEVAB equivalent nodal loads, element index fastest. Local axes, model order.
double& member_fixed_end_force(int set, int element, int i);

// Length and local axes of element row `element` of the active frame set, from the
// gathered coordinates (RIGVIG with the set's axes mode).
void frame_member_axes(int element, double& length, double* axes);

// The load vectors of a load along element row `element` of the active frame set
// (coordinates gathered; the load in the member's local axes): its fixed-end forces
// (local axes) and its equivalent nodal loads, their opposite in global components.
// Returns the member's variables (NEVAB).
int member_load_vectors(int element, const MemberLoad& load, double* fixed_end, double* equivalent);

void frame_stiffness(int element, const TaskCodes& codes);
void frame_member_forces(int element, const TaskCodes& codes);
void frame_internal_forces(int element, const TaskCodes& codes);

// The frame family's task table and its member force table in the listing.
extern const TaskTable FRAME_TASKS;
extern const OwnStressTable FRAME_STRESS_TABLE;

}  // namespace vortan
