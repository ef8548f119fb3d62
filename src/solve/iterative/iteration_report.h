// What the iterative solution paths write while they iterate: the heading of the
// convergence history in the listing, one listing line and one console progress line
// per cycle, and the stops of an iteration that cannot end.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>

namespace vortan {

// Cycle limit and convergence test of the iterations: a cycle is done while the
// squared norm r.r of the residual of the free equations is at least the tolerance.
// The test is absolute, in the units of the loads squared.
inline constexpr std::int32_t ITERATION_LIMIT = 100000;
inline constexpr double ITERATION_TOLERANCE = 1.0E-10;

class IterationReport {
 public:
  // What the listing receives of the cycles.
  enum class Listing {
    history,  // the heading and one line per cycle (the conjugate gradients, GMRES)
    summary,  // only the outcome (the damped iteration, whose history goes to its own file)
  };

  // routine: the name the stops of this iteration begin with ("GRADCON", "GCALSP").
  // With a history, writes three blank lines and " ITERACION CONVERGENCIA" to the
  // listing; starts the CPU clock of the progress line.
  explicit IterationReport(std::string routine, Listing listing = Listing::history);

  // After cycle k with squared residual norm rr: the listing line (I8, 5X, E12.5) and
  // the console line "+ NUMERO DE ITERACIONES:" I8 " FUNCION:" E12.6
  // "   CPU    : " I6 ":" I2 ":" I2, which overwrites itself.
  void cycle(std::int64_t k, double rr);

  // The cycle limit was passed: " NUMERO DE ITERACIONES EXCEDIDO" in the listing and
  // the stop "<routine>:NUMERO DE ITERACIONES EXCEDIDO".
  [[noreturn]] void exceeded() const;

  // The residual is no longer a finite number (an indefinite or corrupt matrix): the
  // stop "<routine>:RESIDUO NO FINITO", rather than cycling on to the limit.
  [[noreturn]] void not_finite() const;

  // The iteration had to end before the tolerance was reached (a search direction
  // with p.q = 0, a Krylov space that closes: the matrix is singular on it, as on a
  // mechanism): the warning " ITERACION DETENIDA SIN CONVERGENCIA  FUNCION:" with the
  // squared residual norm (E12.5) in the listing and on the console, and the run goes
  // on with the current iterate.
  void stopped_early(double rr) const;

  // After cycle k of the damped iteration: the list-directed console record of the
  // cycle, the squared residual norm rr and the energy of the iterate.
  void damped_cycle(std::int64_t k, double rr, double energy);

  // The damped iteration reached the tolerance at cycle k: three blank lines and
  // " ITERACION AMORTIGUADA: CONVERGENCIA EN" k (I8) " CICLOS  FUNCION:" rr (E12.5)
  // in the listing.
  void converged(std::int64_t k, double rr) const;

  // The damped iteration used its cycles without reaching the tolerance: three blank
  // lines, then " WARNING: ITERACION AMORTIGUADA SIN CONVERGENCIA EN" cycles (I8)
  // " CICLOS  FUNCION:" rr (E12.5), the squared residual norm of the last iterate, and
  // "          DESPLAZAMIENTOS Y REACCIONES DEL ULTIMO ITERADO", in the listing and on
  // the console; the run goes on with the last iterate.
  void not_converged(std::int64_t cycles, double rr) const;

  // Seconds of CPU time since the report was started.
  double cpu_seconds() const;

 private:
  using Wall = std::chrono::steady_clock;
  std::string routine_;
  std::clock_t start_;
  Wall::time_point read_at_;
  double cpu_ = 0.0;  // CPU seconds at the last reading of the process clock
};

}  // namespace vortan
