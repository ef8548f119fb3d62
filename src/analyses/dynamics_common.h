// What the two dynamics drivers share: the load function of time, the output
// instants, the per-step listing tables, the curve and energy records, and the
// accelerogram records with their interpolation.
#pragma once

#include <cstdint>
#include <vector>

namespace vortan {

// The load factor f(t) of "IFUNC=": 1 a step (1.0), 2 AZERO + BZERO sin(OMEGA t), for
// 0 < t <= DTEND; 0.0 at t = 0, after DTEND and for any other type (0 included:
// without a load function only the initial conditions move the structure).
double load_factor(int ifunc, double t, double dtend, double azero, double bzero, double omega);

// True when the step from t - dt to t reached or passed a multiple of interval (a
// non-positive interval never outputs). The small allowance keeps a multiple that
// rounding puts a hair after t on this step.
bool passes_multiple(double t, double dt, double interval);

// The state the output routine reports, all in global (nodal) order, NTOTV reals.
struct DynamicFields {
  const double* despl = nullptr;
  const double* veloc = nullptr;
  const double* acele = nullptr;
  const double* force = nullptr;  // the force of the curves of unit 12
  double kinetic = 0.0;           // 1/2 v^T M v
  double strain = 0.0;            // 1/2 u^T K u
};

// The output of one step: curves at multiples of "TOUTD=" (units 11, 12 and 15 when
// open), complete tables at multiples of "TOUTP=". Step 0 (the initial state) always
// writes both.
void dynamics_output(int step, double time, double dt, const DynamicFields& fields);

// The records of the accelerogram files: one value a line (blank lines and lines
// starting with "$" skipped), sampled every "DTREC=".
std::vector<double> read_accelerogram(int unit);

// Linear interpolation in a record list sampled every dtrec: 0.0 at t = 0, beyond the
// last record, or without records; otherwise s = t / dtrec + 1, k = int(s), phi = s - k
// and (1 - phi) record(k) + phi record(k + 1), records numbered from 1.
double accelerogram_value(const std::vector<double>& records, double dtrec, double t);

}  // namespace vortan
