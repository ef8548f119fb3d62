#include "post/stress_components.h"

#include "input/catalogue.h"
#include "input/element_sets.h"

namespace vortan {

namespace {

// Per component: name, source position, tensor indices, and the moment flag (the fifth
// integer of the component line: 0 for stresses and forces, 1 for moments).
constexpr ComponentTable PLANE = {3, {{"SXX", 0, 1, 1, 0}, {"SYY", 1, 2, 2, 0}, {"SXY", 2, 1, 2, 0}}};
// The stress record holds (sr, sz, trz, hoop); the file names the hoop stress third.
constexpr ComponentTable AXISYMMETRIC_TABLE = {
    4, {{"SR", 0, 1, 1, 0}, {"SZ", 1, 2, 2, 0}, {"ST", 3, 3, 3, 0}, {"SRZ", 2, 1, 2, 0}}};
constexpr ComponentTable SOLID_TABLE = {6,
                                        {{"SXX", 0, 1, 1, 0},
                                         {"SYY", 1, 2, 2, 0},
                                         {"SZZ", 2, 3, 3, 0},
                                         {"SXY", 3, 1, 2, 0},
                                         {"SXZ", 4, 1, 3, 0},
                                         {"SYZ", 5, 2, 3, 0}}};
constexpr ComponentTable PLATE_TABLE = {5,
                                        {{"MXX", 0, 1, 1, 1},
                                         {"MYY", 1, 2, 2, 1},
                                         {"MXY", 2, 1, 2, 1},
                                         {"QXZ", 3, 1, 3, 0},
                                         {"QYZ", 4, 2, 3, 0}}};
// The thin plate triangle (DKT) has the moments only.
constexpr ComponentTable THIN_PLATE_TABLE = {3, {{"MXX", 0, 1, 1, 1}, {"MYY", 1, 2, 2, 1}, {"MXY", 2, 1, 2, 1}}};
constexpr ComponentTable SHELL_OF_REVOLUTION_TABLE = {5,
                                                      {{"NX", 0, 1, 1, 0},
                                                       {"NY", 1, 2, 2, 0},
                                                       {"MX", 2, 1, 1, 1},
                                                       {"MY", 3, 2, 2, 1},
                                                       {"QZ", 4, 1, 3, 0}}};

constexpr ComponentTable PLATE_RESULTANTS = {5,
                                             {{"M-xx", 0, 1, 1, 1},
                                              {"M-yy", 1, 2, 2, 1},
                                              {"M-xy", 2, 1, 2, 1},
                                              {"Q-xz", 3, 1, 3, 0},
                                              {"Q-yz", 4, 2, 3, 0}}};
constexpr ComponentTable THIN_PLATE_RESULTANTS = {3, {{"M-xx", 0, 1, 1, 1}, {"M-yy", 1, 2, 2, 1}, {"M-xy", 2, 1, 2, 1}}};
constexpr ComponentTable SHELL_OF_REVOLUTION_RESULTANTS = {5,
                                                           {{"T-xx", 0, 1, 1, 0},
                                                            {"T-yy", 1, 2, 2, 0},
                                                            {"M-xx", 2, 1, 1, 1},
                                                            {"M-yy", 3, 2, 2, 1},
                                                            {"Q-xz", 4, 1, 3, 0}}};
// Flat shells: membrane forces, moments, then (all but the 6-component triangle) the
// transverse shears.
constexpr ComponentTable FLAT_SHELL_RESULTANTS = {8,
                                                  {{"T-xx", 0, 1, 1, 0},
                                                   {"T-yy", 1, 2, 2, 0},
                                                   {"T-xy", 2, 1, 2, 0},
                                                   {"M-xx", 3, 1, 1, 1},
                                                   {"M-yy", 4, 2, 2, 1},
                                                   {"M-xy", 5, 1, 2, 1},
                                                   {"Q-xz", 6, 1, 3, 0},
                                                   {"Q-yz", 7, 2, 3, 0}}};
constexpr ComponentTable FLAT_SHELL_TRIANGLE_RESULTANTS = {6,
                                                           {{"T-xx", 0, 1, 1, 0},
                                                            {"T-yy", 1, 2, 2, 0},
                                                            {"T-xy", 2, 1, 2, 0},
                                                            {"M-xx", 3, 1, 1, 1},
                                                            {"M-yy", 4, 2, 2, 1},
                                                            {"M-xy", 5, 1, 2, 1}}};

constexpr ComponentTable PRINCIPAL = {3, {{"T1-x", 0, 1, 0, 0}, {"T1-y", 1, 2, 0, 0}, {"T1-z", 2, 3, 0, 0}}};

}  // namespace

StressLayout stress_layout(int set) {
  const ElementSet& s = SETS(set);
  if (s.family == ElementFamily::conduction) return StressLayout::none;
  switch (s.problem_type) {
    case PLANE_STRESS: case PLANE_STRAIN: return StressLayout::plane;
    case AXISYMMETRIC: return StressLayout::axisymmetric;
    case SOLID: return StressLayout::solid;
    case PLATE: return StressLayout::plate;
    case SHELL_OF_REVOLUTION: return StressLayout::shell_of_revolution;
    case FLAT_SHELL: return StressLayout::flat_shell;
    case FRAME: return StressLayout::none;
    default: return StressLayout::unhandled;
  }
}

const ComponentTable* femview_stress_components(StressLayout layout, int nstre) {
  switch (layout) {
    case StressLayout::plane: return &PLANE;
    case StressLayout::axisymmetric: return &AXISYMMETRIC_TABLE;
    case StressLayout::solid: return &SOLID_TABLE;
    case StressLayout::plate: return nstre < 5 ? &THIN_PLATE_TABLE : &PLATE_TABLE;
    case StressLayout::shell_of_revolution: return &SHELL_OF_REVOLUTION_TABLE;
    default: return nullptr;
  }
}

const ComponentTable* resultant_components(StressLayout layout, int nstre) {
  switch (layout) {
    case StressLayout::plate: return nstre < 5 ? &THIN_PLATE_RESULTANTS : &PLATE_RESULTANTS;
    case StressLayout::shell_of_revolution: return &SHELL_OF_REVOLUTION_RESULTANTS;
    case StressLayout::flat_shell: return nstre < 8 ? &FLAT_SHELL_TRIANGLE_RESULTANTS : &FLAT_SHELL_RESULTANTS;
    default: return nullptr;
  }
}

const ComponentTable& principal_components() { return PRINCIPAL; }

void continuum_tensor(StressLayout layout, const double* smoothed, double tensor[6]) {
  if (layout == StressLayout::solid) {
    for (int i = 0; i < 6; ++i) tensor[i] = smoothed[i];
    return;
  }
  tensor[0] = smoothed[0];
  tensor[1] = smoothed[1];
  tensor[2] = smoothed[3];
  tensor[3] = smoothed[2];
  tensor[4] = 0.0;
  tensor[5] = 0.0;
}

int continuum_tensor_components(StressLayout layout) { return layout == StressLayout::solid ? 6 : 4; }

}  // namespace vortan
