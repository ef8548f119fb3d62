// Solver code 4: the damped element-by-element iteration of the general static
// analysis, and what it leaves for the driver's ".opt" file.
//
// The static solution of K u = f is reached as the rest state of the damped motion
// u'' + 2c u' + K u = f with unit masses, advanced by central differences with the
// pseudo time step h. With R = K u - f (0 at the prescribed positions):
//
//   u(k+1) = a1 u(k) + a2 u(k-1) - a3 R(k),
//   a1 = 2 / (1 + ch),  a2 = (ch - 1) / (1 + ch),  a3 = h^2 / (1 + ch),
//
// with h = 1.0E-4 and ch = 0.05. The global matrix is never formed: K u is the
// element-by-element product of every cycle.
//
// What the constants mean for a model: a mode of K (unit masses) with eigenvalue l is
// stable only while h^2 l < 4, that is l < 4.0E8; the stiff modes (h^2 l above about
// 0.003) die out by about 0.95 per cycle, the soft ones by about 1 - h^2 l / (2ch) =
// 1 - 1.0E-7 l per cycle. The iteration therefore converges in its 1000 cycles only
// for models whose stiffness (in the units of the deck) lies roughly between 1.0E6 and
// 4.0E8; a stiffer model diverges (the stop "ITAMOR:RESIDUO NO FINITO" once the
// residual overflows), a softer one ends with the warning of an iteration that did
// not converge.
#pragma once

#include <cstdint>

namespace vortan {

inline constexpr std::int32_t DAMPED_CYCLE_LIMIT = 1000;
inline constexpr double DAMPED_STEP = 1.0E-4;  // h
// c h: the single-precision 0.05 widened to double.
inline constexpr double DAMPED_RATIO = static_cast<double>(0.05f);
// The iteration ends when the squared residual norm is not above this (absolute, in
// the units of the loads squared).
inline constexpr double DAMPED_TOLERANCE = 1.0E-10;

// One cycle of the history: the squared residual norm R.R of the free equations and
// the energy 1/2 u.K u - f.u of the iterate of that cycle (the total potential energy,
// which falls towards its minimum as the iteration converges).
struct DampedCycle {
  double residual = 0.0;
  double energy = 0.0;
};

// Cycle k (1 .. SOLUTION.iterations) of the history kept in SOLUTION.HISTO; the
// history exists when PROBLEM.sequence.keep_history was 1 during the solution.
DampedCycle damped_cycle(std::int32_t k);

}  // namespace vortan
