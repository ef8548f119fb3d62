// A small problem built directly in the global records, for element-task tests: one
// set of elements over given nodes, without reading a deck.
#pragma once

#include <vector>

#include "../test_support.h"
#include "elements/active_set.h"
#include "elements/element_tasks.h"
#include "elements/shape_functions.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "input/set_files.h"

namespace vortan::test {

struct ElementModel {
  int problem_type = 1;
  int element_type = 3;
  int ngaus = 0;               // 0: the type's default
  int ndime = 2;
  int nstre = 3, nstr1 = 4, ndofn = 2;
  std::vector<double> coordinates;          // node by node, ndime each
  std::vector<std::vector<int>> elements;   // node numbers of each element
  std::vector<double> props;
  std::string storage = "RRRRRRRRRRM";
  int packed_stiffness = 0;
  bool conduction = false;   // a heat-conduction set
  int nnode = 0;             // nodes per element when the type does not fix them (frames)
  int beam_subtype = 0;      // frames: 1 truss, 2 grid, 3 combined
  int nonlinear = 0;         // 1: a geometrically nonlinear continuum set
  int layers = 1;            // plates and flat shells: the laminate's layers
};

// Builds the model into PROBLEM and SETS (set 1), allocates its arrays, opens its set
// storage and activates it. A file set must be open when the storage uses disk.
inline void build_model(const ElementModel& m) {
  ensure_work_array();
  reset_active_set();
  RUN.NXTPOS = 1;
  PROBLEM.NSETS = 1;
  PROBLEM.NDIME = m.ndime;
  const int nodes = static_cast<int>(m.coordinates.size()) / m.ndime;
  PROBLEM.NPNODS = nodes;
  ElementSet& s = SETS(1);
  s.problem_type = m.problem_type;
  s.element_type = m.element_type;
  s.family = m.conduction ? ElementFamily::conduction : structural_family(m.problem_type);
  s.NNODE = m.nnode > 0 ? m.nnode : element_nodes(m.element_type);
  s.beam_subtype = m.beam_subtype;
  s.beam_dimension = m.beam_subtype > 0 ? m.ndime : 0;
  s.nonlinear = m.nonlinear;
  s.layers = m.layers;
  s.NELEM = static_cast<int>(m.elements.size());
  s.NGAUS = m.ngaus > 0 ? m.ngaus : m.beam_subtype > 0 ? 2 : element_default_ngaus(m.element_type);
  s.NDOFN = m.ndofn;
  s.NSTRE = m.nstre;
  s.NSTR1 = m.nstr1;
  s.dimension = m.ndime;
  s.nprops = static_cast<int>(m.props.size());
  for (int k = 0; k < RECORD_KINDS; ++k) s.storage[k] = m.storage[k];
  s.packed[KIND_K] = m.packed_stiffness;
  s.LNODS = DIRECT(RUN.NXTPOS, RUN.MEMORY, (s.NNODE + 1) * s.NELEM, "LNODS", INT_WORDS);
  for (int e = 0; e < s.NELEM; ++e) {
    WORK.int_at(s.LNODS + e) = e + 1;
    for (int k = 0; k < s.NNODE; ++k) WORK.int_at(s.LNODS + e + (k + 1) * s.NELEM) = m.elements[e][k];
  }
  PROBLEM.COORD = DIRECT(RUN.NXTPOS, RUN.MEMORY, nodes * m.ndime, "COORD", REAL_WORDS);
  for (int n = 0; n < nodes; ++n)
    for (int i = 0; i < m.ndime; ++i) WORK.reals(PROBLEM.COORD)[n + i * nodes] = m.coordinates[n * m.ndime + i];
  s.PROPS = DIRECT(RUN.NXTPOS, RUN.MEMORY, s.nprops, "PROPS", REAL_WORDS);
  for (int i = 0; i < s.nprops; ++i) WORK.reals(s.PROPS)[i] = m.props[i];
  if (m.beam_subtype > 0) {  // frames keep their members' fixed-end forces after the load rows
    const std::int64_t loads = 2 * std::int64_t{s.NEVAB()} * s.NELEM;
    s.CARGA = DIRECT(RUN.NXTPOS, RUN.MEMORY, loads, "CARGA", REAL_WORDS);
    ZEROR(loads, WORK.reals(s.CARGA));
  }
  OPENSE(1);
  reserve_set_work_area();
  ACTSET(1);
}

// Runs a structural task on element row e with the set's codes as store codes.
inline void run_task(int e, ElementTask task, const char* fetch = RECOMPUTE_ALL) {
  gather_element(e);
  ELETR3(e, 1, fetch, ACTIVE.fetch_default, task);
}

inline double* active(std::int32_t pos) { return WORK.reals(pos); }

}  // namespace vortan::test
