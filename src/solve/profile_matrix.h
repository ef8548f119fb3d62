// The profile storage of the eigenvalue and implicit dynamics analyses: equation
// numbers without renumbering (MHIGH), column heights (NHIGH), diagonal addresses
// (MAXAD) and the matrix STIFF, each column stored from its diagonal upward, so that
// entry (r, c), r <= c, is at MAXAD(c) + (c - r).
#pragma once

#include <cstdint>

namespace vortan {

struct ProfileRecord {
  std::int32_t MHIGH = 0;   // equation number of each global position (0 prescribed)
  std::int32_t NHIGH = 0;   // column heights
  std::int32_t MAXAD = 0;   // diagonal addresses, NEQNS + 1 entries
  std::int32_t STIFF = 0;   // NWKTL + 1 reals
  std::int32_t NEQNS = 0;
  std::int64_t NWKTL = 0;
  std::int32_t half_band = 0;
  void reset() { *this = ProfileRecord{}; }
};
extern ProfileRecord PROFILE;

// Lays out the profile once per run: allocates MHIGH and NHIGH, numbers the free
// degrees of freedom in global order, raises the column heights by every element of
// every set, computes MAXAD and allocates STIFF zeroed.
void build_stiffness_profile();

// Adds an element matrix (n x n, column by column) into a profile matrix at the
// element's equation numbers; entries of prescribed degrees of freedom (number 0 or
// negative) are left out, and only the upper triangle is taken.
void add_to_profile(const double* matrix, int n, const std::int32_t* equations, const std::int32_t* maxad,
                    double* stiff);

// Zeroes STIFF and assembles the stiffness of every element of every set into it.
void assemble_profile_stiffness();

// Adds the diagonal of every element's lumped mass (task "MASMATRIZ", fetched when
// stored) into xmast at the element's global positions (NTOTV entries).
void assemble_lumped_mass(double* xmast);

// Gathers the free entries of a global vector (NTOTV entries) into equation order.
void gather_equations(const double* global, double* compact);

// Spreads a vector in equation order over the global positions; prescribed positions
// get 0.
void scatter_equations(const double* compact, double* global);

// Equation numbers of the variables of element row `element` of the active set.
int element_profile_equations(int element, std::int32_t* equations);

}  // namespace vortan
