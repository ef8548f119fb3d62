#include "solve/iterative/iteration_report.h"

#include <cmath>

#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

// Reading the process CPU clock costs a system call, more than a cycle of a small
// problem; it is read again only when this much time has passed on the (cheap)
// monotonic clock.
constexpr std::chrono::milliseconds CLOCK_INTERVAL{50};

std::string clock_text(double t) {
  const long hours = static_cast<long>(t / 3600.0);
  const long minutes = static_cast<long>((t - 3600.0 * hours) / 60.0);
  const long seconds = std::lround(t - 3600.0 * hours - 60.0 * minutes);
  return fmt::I(hours, 6) + ":" + fmt::I(minutes, 2) + ":" + fmt::I(seconds, 2);
}

}  // namespace

IterationReport::IterationReport(std::string routine, Listing listing)
    : routine_(std::move(routine)), start_(std::clock()), read_at_(Wall::now()) {
  if (listing == Listing::summary) return;
  write_empty(UNIT_LISTING, 3);
  write_record(UNIT_LISTING, " ITERACION CONVERGENCIA");
}

void IterationReport::cycle(std::int64_t k, double rr) {
  const Wall::time_point now = Wall::now();
  if (now - read_at_ >= CLOCK_INTERVAL) {
    read_at_ = now;
    cpu_ = static_cast<double>(std::clock() - start_) / CLOCKS_PER_SEC;
  }
  write_record(UNIT_LISTING, fmt::I(k, 8) + fmt::X(5) + fmt::E(rr, 12, 5));
  write_record(UNIT_CONSOLE, "+ NUMERO DE ITERACIONES:" + fmt::I(k, 8) + " FUNCION:" + fmt::E(rr, 12, 6) +
                                 "   CPU    : " + clock_text(cpu_));
}

void IterationReport::exceeded() const {
  write_record(UNIT_LISTING, " NUMERO DE ITERACIONES EXCEDIDO");
  ERRSTP(routine_ + ":NUMERO DE ITERACIONES EXCEDIDO");
}

void IterationReport::not_finite() const { ERRSTP(routine_ + ":RESIDUO NO FINITO"); }

void IterationReport::stopped_early(double rr) const {
  const std::string line = " ITERACION DETENIDA SIN CONVERGENCIA  FUNCION:" + fmt::E(rr, 12, 5);
  write_record(UNIT_LISTING, line);
  write_record(UNIT_CONSOLE, line);
}

void IterationReport::damped_cycle(std::int64_t k, double rr, double energy) {
  write_record(UNIT_CONSOLE, " " + fmt::list_integer(k) + " " + fmt::list_real(rr) + " " + fmt::list_real(energy));
}

void IterationReport::converged(std::int64_t k, double rr) const {
  write_empty(UNIT_LISTING, 3);
  write_record(UNIT_LISTING,
               " ITERACION AMORTIGUADA: CONVERGENCIA EN" + fmt::I(k, 8) + " CICLOS  FUNCION:" + fmt::E(rr, 12, 5));
}

void IterationReport::not_converged(std::int64_t cycles, double rr) const {
  const std::string warning =
      " WARNING: ITERACION AMORTIGUADA SIN CONVERGENCIA EN" + fmt::I(cycles, 8) + " CICLOS  FUNCION:" + fmt::E(rr, 12, 5);
  const std::string consequence = fmt::X(10) + "DESPLAZAMIENTOS Y REACCIONES DEL ULTIMO ITERADO";
  write_empty(UNIT_LISTING, 3);
  write_record(UNIT_LISTING, warning);
  write_record(UNIT_LISTING, consequence);
  write_record(UNIT_CONSOLE, warning);
  write_record(UNIT_CONSOLE, consequence);
}

double IterationReport::cpu_seconds() const { return static_cast<double>(std::clock() - start_) / CLOCKS_PER_SEC; }

}  // namespace vortan
