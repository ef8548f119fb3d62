// The smoothed nodal stresses (heat fluxes in heat conduction) and the element errors
// of a run: what the smoothing and the error estimate leave for the tables and the
// post-processing writers.
#pragma once

#include <cstdint>

namespace vortan {

struct SmoothingRecord {
  int done = 0;            // 1 once the smoothing has run in this analysis
  int error_done = 0;      // 1 once the error estimate has run
  int components = 0;      // g: the largest number of smoothed components of any set
  // TENST: (NSETS + 1) slices of NPNODS x g reals; slice s (1-based, NSETS + 1 the
  // whole model) holds component c (0-based) of node n (1-based) at
  // (c + g * ((n - 1) + NPNODS * (s - 1))). Components of a set beyond its own count
  // stay 0.
  std::int32_t TENST = 0;
  // TENSP: flat-shell models only, the second field over the whole model: the face
  // stresses (top x, y, xy, von Mises, then the bottom's) of node n (1-based) at
  // (c + 8 * (n - 1)); 0 elsewhere.
  std::int32_t TENSP = 0;
  // ERELE: the error of every element, 100 e / u in per cent, by running element
  // number over the sets (set 1's rows first; NELEM reals; 0 where the element's
  // reference measure is 0).
  std::int32_t ERELE = 0;
  double global_error = 0.0;  // 100 E / U in per cent (0 when U is not positive)
  void reset() { *this = SmoothingRecord{}; }
};
extern SmoothingRecord SMOOTHING;

// Number of smoothed components of a set: its stress components, plus the out-of-plane
// stress of plane-stress and plane-strain sets.
int smoothed_components(int set);

// Pointer to the smoothed value of component c (0-based) of node n (1-based) in slice
// s (1-based; PROBLEM.NSETS + 1 for the whole model).
double* smoothed_value(int s, int n, int c);

}  // namespace vortan
