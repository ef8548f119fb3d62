// The VTK unstructured-grid file (unit 50, ".vtu"): the model and its results in
// the XML format that general-purpose visualisation programs read, written beside the
// other post-processing files of a run.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vortan {

inline constexpr int UNIT_VTK = 50;

// VTK cell type numbers of the cells the elements are written as.
enum VtkCellType : int {
  VTK_LINE = 3,
  VTK_TRIANGLE = 5,
  VTK_QUAD = 9,
  VTK_TETRA = 10,
  VTK_HEXAHEDRON = 12,
  VTK_QUADRATIC_EDGE = 21,
  VTK_QUADRATIC_TRIANGLE = 22,
  VTK_QUADRATIC_QUAD = 23,
  VTK_QUADRATIC_TETRA = 24,
  VTK_QUADRATIC_HEXAHEDRON = 25,
  VTK_QUADRATIC_WEDGE = 26,
  VTK_BIQUADRATIC_QUAD = 28,
  VTK_TRIQUADRATIC_HEXAHEDRON = 29,
};

// The cell an element is written as: its VTK type and, for each of the cell's points
// in VTK's order, the element's local node position (1-based) in the catalogue order.
// Frame members are lines between their first two nodes; plates and flat shells are
// surface cells of their own type; type 0 (no positions) for an unknown element type.
struct VtkCell {
  int type = 0;
  int count = 0;
  int positions[27] = {};
};
VtkCell vtk_cell(int element_type, bool frame_member);

// What a grid file holds besides the mesh. All vectors are NTOTV values in global
// order and in the global axes.
struct VtkFields {
  const double* displacements = nullptr;  // "Displacement" (or "Temperature")
  const double* velocities = nullptr;     // "Velocity" when given
  const double* accelerations = nullptr;  // "Acceleration" when given
  // The static results: smoothed stresses or fluxes and von Mises once smoothed,
  // element errors once estimated.
  bool static_results = false;
  // One-value arrays of the whole grid (its FieldData): a mode's eigenvalue, a load
  // factor.
  std::vector<std::pair<std::string, double>> field_data;
};

// Writes a whole grid file on an open unit. The XML part names every array with its
// offset in the appended block; the values follow the XML raw, each array as a UInt64
// byte count and its bytes, in the machine's byte order:
//   points: the input's coordinates, three per point; one cell per element of every set;
//   point data: "Displacement" (the x, y, z translations; 0 for a kind the model lacks)
//     or, in a heat-conduction model, "Temperature"; "Velocity" and "Acceleration" when
//     given; with the static results, once the stresses are smoothed, the smoothed
//     nodal values of the whole model ("Stress", or "Flux" in heat conduction, with
//     component names; none when the last set is a beam set) and, for the continuum
//     layouts, "VonMises";
//   cell data: "Set" (the set number) and, with the static results once the error
//     estimate ran, "ElementError" (per cent).
void write_vtk_grid(int unit, const VtkFields& fields);

// The static runs' file (unit 50, "<deck>.vtu") with the static results.
// displacements: the NTOTV values of the solution in the global axes.
void write_vtk_file(const double* displacements);

}  // namespace vortan
