// The KELDAR files: the mesh (unit 59, ".keldar.bon", for line and surface models;
// unit 60, ".keldar.msh", for solid models) and the nodal results (unit 61,
// ".keldar.res"), written after the "KELDAR" card naming the model.
#pragma once

namespace vortan {

inline constexpr int UNIT_KELDAR_SURFACE_MESH = 59;
inline constexpr int UNIT_KELDAR_SOLID_MESH = 60;
inline constexpr int UNIT_KELDAR_RESULTS = 61;

// The mesh code of the model (KeldarMeshCode): lines when every set is a line or beam
// set, triangles when a set has surface elements, otherwise tetrahedra when every
// solid set is made of tetrahedra, else bricks.
int keldar_mesh_code();

// Reads the "KELDAR" card and writes the mesh and result files. displacements: the
// solution in the global axes (NTOTV values).
void write_keldar_files(const double* displacements);

}  // namespace vortan
