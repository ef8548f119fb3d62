// Shared pieces of the element task routines: the fetch-compute-store pattern, the
// element's material and the integration-point loop over PREVIO.
#pragma once

#include "elements/active_set.h"
#include "elements/element_tasks.h"
#include "elements/point_geometry.h"
#include "elements/record_storage.h"
#include "input/element_sets.h"
#include "run/work_array.h"

namespace vortan {

// Fetches the record of a kind when it is stored, otherwise computes it (compute
// fills record) and stores it when asked. Returns true when the record was fetched.
template <class Compute>
bool fetch_or_compute(int element, int kind, const TaskCodes& codes, double* record, Compute compute) {
  if (codes.fetches(kind)) {
    GETSER(ACTIVE.set, element, kind, record);
    return true;
  }
  compute();
  if (codes.stores(kind)) PUTSER(ACTIVE.set, element, kind, record);
  return false;
}

// Property i (0-based) of the active set's material.
inline double property(int i) { return WORK.reals(SETS(ACTIVE.set).PROPS)[i]; }

// Global number of element row `element` of the active set.
inline int element_number(int element) { return element_node(ACTIVE.set, element, 0); }

// Geometry of point g (1-based) of element row `element`: shape functions, Cartesian
// derivatives and point coordinates in the active set's arrays; returns the volume
// element. ntype is the problem type the volume element is formed for.
double point_geometry(int element, int g, int ntype, double thickness);

// The integrals shared by the continuum and conduction tasks, on the active set's
// arrays (BMATZ, DBMAT: NSTRE x NEVAB per point; DVOLU per point):
// DBMAT = DMATZ BMATZ at every point;
void products_from_matrix();
// RIGID = sum over points of dV BMATZ^T DBMAT, exactly symmetric;
void stiffness_from_products();
// FUERZ = sum over points of dV BMATZ^T TENSG (NSTR1 values per point);
void forces_from_stresses();
// TENSG = DBMAT DESLO at every point (the first NSTRE values of each point).
void stresses_from_products();
// The records a family builds from its resultant (or stress-strain) matrix D and its
// strain matrices B, in the order its tasks need them: the D B products, the stiffness,
// the stresses and the internal forces. Each is fetched when the set stores it,
// otherwise computed from the ones before it and stored as the codes say.
struct RecordChain {
  TaskRoutine constitutive;  // D
  TaskRoutine strain;        // B, with the point volumes (refreshed when B is fetched)
  TaskRoutine stresses;      // the family's stress task, which the internal forces use
};
// DBMAT; B is obtained again after fetched products, as the later integrals need it.
void chained_stress_strain_products(int element, const TaskCodes& codes, const RecordChain& chain);
// RIGID from the products.
void chained_stiffness(int element, const TaskCodes& codes, const RecordChain& chain);
// TENSG from the products and the element's displacements.
void chained_stresses(int element, const TaskCodes& codes, const RecordChain& chain);
// FUERZ from B and the stresses.
void chained_internal_forces(int element, const TaskCodes& codes, const RecordChain& chain);

// Expresses the first two variables of every node on an inclined support in the
// support's axes, in the BMATZ of every point of a plane set: columns (Cx, Cy) become
// (c Cx + s Cy, c Cy - s Cx).
void turn_support_columns(double* b);

}  // namespace vortan
