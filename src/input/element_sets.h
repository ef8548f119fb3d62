// The per-set table: what every element set is (problem type, element type, counts),
// its material, where its element records are kept and what it prints.
#pragma once

#include <cstdint>

#include "input/catalogue.h"
#include "input/problem.h"

namespace vortan {

inline constexpr int MAX_SETS = 1000;
inline constexpr int RECORD_KINDS = 11;

// Storage codes of a set that gives no storage card: every kind recomputed, the
// displacement gradients in memory.
inline constexpr char DEFAULT_STORAGE[RECORD_KINDS] = {'R', 'R', 'R', 'R', 'R', 'R',
                                                       'R', 'R', 'R', 'R', 'M'};

// The eleven kinds of element record, in storage-code order.
enum RecordKind {
  KIND_D = 0,          // constitutive matrix
  KIND_B = 1,          // strain matrices
  KIND_DB = 2,         // products D.B
  KIND_K = 3,          // stiffness
  KIND_STRESS = 4,     // stresses
  KIND_FORCES = 5,     // internal forces
  KIND_WEIGHT = 6,     // self-weight forces
  KIND_SMOOTH = 7,     // smoothed stresses
  KIND_ERROR = 8,      // error estimate
  KIND_MASS = 9,       // mass matrix
  KIND_GRADIENT = 10,  // displacement gradients
};

// Print switches of a set.
enum SetPrint {
  SET_PRINT_DATA = 0,          // "SALIDADATOS"
  SET_PRINT_STRESSES = 1,      // "SALIDATENSIONES"
  SET_PRINT_GAUSS = 2,         // "SALIDATENSIONESGAUSS"
  SET_PRINT_ERROR = 3,         // "SALIDAERRORELEMENTAL"
  SET_PRINT_FORCES = 4,        // "SALIDAFUERZASINTERNA"
};

struct ElementSet {
  int problem_type = 0;   // ProblemType 1..9 (heat conduction sets: dimension code 1..3)
  int element_type = 0;   // ElementTypeCode 1..17
  ElementFamily family = ElementFamily::none;  // whose task table answers for the set
  int beam_subtype = 0;   // "VIGA": 1 truss, 2 grid, 3 combined
  int beam_dimension = 0; // "DIMENSION=" of beam sets
  int local_axes = 0;     // "LAMINAPLANA" "LOCALES"
  int nonlinear = 0;
  int layers = 1;
  std::int32_t NNODE = 0;
  std::int32_t NELEM = 0;
  std::int32_t NGAUS = 0;
  std::int32_t NDOFN = 0;  // degrees of freedom per node
  std::int32_t NSTRE = 0;  // stress components
  std::int32_t NSTR1 = 0;  // stress components stored
  std::int32_t NSTNL = 0;  // stress components of nonlinear sets
  int dimension = 0;       // 1, 2 or 3
  int nprops = 0;          // properties per layer block
  char storage[RECORD_KINDS] = {DEFAULT_STORAGE[0], DEFAULT_STORAGE[1], DEFAULT_STORAGE[2],
                                DEFAULT_STORAGE[3], DEFAULT_STORAGE[4], DEFAULT_STORAGE[5],
                                DEFAULT_STORAGE[6], DEFAULT_STORAGE[7], DEFAULT_STORAGE[8],
                                DEFAULT_STORAGE[9], DEFAULT_STORAGE[10]};
  int print[5] = {1, 1, 1, 1, 1};
  int pattern[DOF_KINDS] = {};  // 1 where the set uses a degree-of-freedom kind

  // Work-array positions of the set's named arrays.
  std::int32_t LNODS = 0;
  std::int32_t PROPS = 0;
  std::int32_t CARGA = 0, CARGI = 0, CARG1 = 0, CARGT = 0;
  std::int32_t rows_used = 0;  // connectivity rows filled so far
  // Nodal temperatures (NPNODS reals) of the set's "TEMPERATURA" load; 0 when the set
  // carries none. The stresses of such a set are those of the elastic strain only.
  std::int32_t TEMPE = 0;

  // Record storage, laid out when the set's file is opened.
  int packed[RECORD_KINDS] = {};     // packed symmetric storage of kinds 1, 4, 10
  int disk_length = 0;               // values per disk record
  int memory_length = 0;             // values per memory record
  int record_size[RECORD_KINDS] = {};
  int record_offset[RECORD_KINDS] = {};
  std::int32_t MEMSET = 0;           // position of the memory records
  int computed[RECORD_KINDS] = {};   // kind already computed in the current pass
  int gradient_components = 0;

  // Element degrees of freedom; beam members carry them at their two end nodes only
  // (a third node only fixes the member axes).
  std::int32_t NEVAB() const { return family == ElementFamily::frame ? 2 * NDOFN : NNODE * NDOFN; }

  // First positions (0-based among the node's kinds) of the pairs of unknowns that an
  // inclined support turns: none for a problem type whose elements do not turn the
  // unknowns of such nodes, two for flat shells (the displacements and the rotations
  // about x and y). Returns their count.
  int inclined_support_pairs(int* pairs) const {
    switch (problem_type) {
      case PLANE_STRESS: case PLANE_STRAIN: case AXISYMMETRIC: case SHELL_OF_REVOLUTION: pairs[0] = 0; return 1;
      case PLATE: pairs[0] = 1; return 1;
      case FRAME: pairs[0] = 0; return dimension == 2 ? 1 : 0;
      case BEAM_ELEMENT: pairs[0] = 0; return 1;
      case FLAT_SHELL: pairs[0] = 0, pairs[1] = 3; return 2;
      default: return 0;
    }
  }
};

struct SetTable {
  ElementSet sets[MAX_SETS];
  ElementSet& operator()(int set) { return sets[set - 1]; }
  void reset() {
    for (ElementSet& s : sets) s = ElementSet{};
  }
};
extern SetTable SETS;

}  // namespace vortan
