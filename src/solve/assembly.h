// Assembly of element matrices and element load vectors into the global system: the
// full square matrix of the Gauss path and the profile matrix of the LDLT path, with
// the elastic supports and the link penalties.
#pragma once

#include <cstdint>

namespace vortan {

// Adds the element load vector of element row `element` of the active set into the
// global load vector at the element's positions.
void add_element_loads(int element, const std::int32_t* positions, int n, double* aslod);

// Full matrix (NTOTV x NTOTV, column by column): every entry of the element matrix,
// both triangles, at its global positions, restrained ones included.
void add_to_full_matrix(const double* matrix, int n, const std::int32_t* positions, double* astif,
                        std::int32_t ntotv);

// Zeroes the full system, assembles every element's stiffness and loads, then the
// springs and the link penalties; returns the penalty (0 without links).
double assemble_full_system(double* astif, double* aslod);

// The LDLT system being assembled: the profile matrix in equation order, the
// right-hand side in equation order, and the diagonal of the prescribed positions
// (kept only while links need the largest diagonal).
struct SkylineSystem {
  double* amatr = nullptr;
  const std::int32_t* pointers = nullptr;
  std::int32_t neqns = 0;
  std::int32_t prescribed = 0;           // count of prescribed positions
  const std::int32_t* leqns = nullptr;   // equation of each global position
  const double* fixed = nullptr;         // prescribed values by global position
  double* rhs = nullptr;                 // loads reduced by the prescribed values
  double* prescribed_diagonal = nullptr; // by prescribed number, or null
};

// Adds a matrix of n variables at global positions: entries between two free
// equations go into the profile (upper triangle), and an entry that couples a free
// equation i to a prescribed position j moves K_ij * FIXED(j) to the right-hand side.
void add_to_skyline(const double* matrix, int n, const std::int32_t* positions, SkylineSystem& system);

// Assembles every element's stiffness into the profile and its loads into aslod, then
// the springs and the link penalties, and finally adds the loads of the free positions
// to the right-hand side. Returns the penalty (0 without links).
double assemble_skyline_system(SkylineSystem& system, double* aslod);

}  // namespace vortan
