#include "analyses/dynamics_common.h"

#include <cmath>
#include <string>

#include "elements/active_set.h"
#include "input/dof_table.h"
#include "input/initial_conditions.h"
#include "input/problem.h"
#include "post/vtk_series.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/timing.h"
#include "run/work_array.h"

namespace vortan {

namespace {

using fmt::X;

constexpr int UNIT_DISPLACEMENT_CURVES = 11;
constexpr int UNIT_FORCE_CURVES = 12;
constexpr int UNIT_ENERGY = 15;

// Column names of the three tables: translations first, then rotations.
const char* const DISPLACEMENT_NAMES[] = {"X-DISP", "Y-DISP", "Z-DISP", "ROT-1", "ROT-2", "ROT-3"};
const char* const VELOCITY_NAMES[] = {"X-VEL", "Y-VEL", "Z-VEL", "OMEGA-1", "OMEGA-2", "OMEGA-3"};
const char* const ACCELERATION_NAMES[] = {"X-ACEL", "Y-ACEL", "Z-ACEL", "ALPHA-1", "ALPHA-2", "ALPHA-3"};

std::int32_t largest_node_dofs() {
  std::int32_t k = 0;
  for (std::int32_t n = 1; n <= PROBLEM.NPNODS; ++n) k = std::max(k, adres(n, 1));
  return k;
}

void print_table(const char* title, const char* const* names, int step, double time, const double* values) {
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, X(5) + title + fmt::I(step, 8));
  write_record(UNIT_LISTING, X(5) + "TIEMPO" + fmt::E(time, 14, 6));
  write_empty(UNIT_LISTING);
  const std::int32_t columns = std::min<std::int32_t>(largest_node_dofs(), 6);
  std::string heading = fmt::A("NODO", 10);
  for (int c = 0; c < columns; ++c) heading += fmt::A(names[c], 14);
  write_record(UNIT_LISTING, heading);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    std::string line = fmt::I(node, 10);
    const std::int32_t count = adres(node, 1);
    const double* v = values + adres(node, 2);
    for (std::int32_t k = 0; k < count; ++k) {
      if (k > 0 && k % 6 == 0) {
        write_record(UNIT_LISTING, line);
        line = X(10);
      }
      line += fmt::E(v[k], 14, 6);
    }
    write_record(UNIT_LISTING, line);
  }
}

// One curve record: the time, then `per_node` values of each listed node (0.0 for a
// degree of freedom the node does not have).
void write_curve(int unit, double time, std::int32_t list, std::int32_t count, int per_node, const double* values) {
  if (!unit_is_open(unit) || list == 0) return;
  static thread_local std::vector<double> record;
  record.assign(1 + static_cast<std::size_t>(count) * per_node, 0.0);
  record[0] = time;
  const std::int32_t* nodes = WORK.ints(list);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t have = std::min<std::int32_t>(per_node, adres(nodes[i], 1));
    for (std::int32_t k = 0; k < have; ++k)
      record[1 + static_cast<std::size_t>(i) * per_node + k] = values[adres(nodes[i], 2) + k];
  }
  write_unformatted(unit, record.data(), record.size() * sizeof(double));
}

}  // namespace

double load_factor(int ifunc, double t, double dtend, double azero, double bzero, double omega) {
  if (t <= 0.0 || t > dtend) return 0.0;
  if (ifunc == 1) return 1.0;
  if (ifunc == 2) return azero + bzero * std::sin(omega * t);
  return 0.0;
}

bool passes_multiple(double t, double dt, double interval) {
  if (!(interval > 0.0)) return false;
  const double allowance = 1.0e-6 * std::min(interval, dt > 0.0 ? dt : interval);
  return std::floor((t + allowance) / interval) > std::floor((t - dt + allowance) / interval);
}

void dynamics_output(int step, double time, double dt, const DynamicFields& f) {
  const bool start = step == 0;
  if (start || passes_multiple(time, dt, PROBLEM.TOUTD)) {
    write_curve(UNIT_DISPLACEMENT_CURVES, time, HISTORY.NPRQD, PROBLEM.NREQD, PROBLEM.NDIME, f.despl);
    write_curve(UNIT_FORCE_CURVES, time, HISTORY.NPRQL, PROBLEM.NREQL, largest_node_dofs(), f.force);
    if (unit_is_open(UNIT_ENERGY)) {
      const double energy[4] = {time, f.kinetic, f.strain, f.kinetic + f.strain};
      write_unformatted(UNIT_ENERGY, energy, sizeof energy);
    }
  }
  if (start || passes_multiple(time, dt, PROBLEM.TOUTP)) {
    // The complete results of this instant are also the next file of the VTK series.
    if (start) start_vtk_series();
    VtkFields grid;
    grid.displacements = f.despl;
    grid.velocities = f.veloc;
    grid.accelerations = f.acele;
    grid.field_data = {{"Time", time}, {"Step", static_cast<double>(step)}};
    write_vtk_series_step(time, grid);
    print_table("DESPLAZAMIENTOS EN EL PASO DE TIEMPO", DISPLACEMENT_NAMES, step, time, f.despl);
    print_table("VELOCIDAD EN EL PASO DE TIEMPO", VELOCITY_NAMES, step, time, f.veloc);
    print_table("ACELERACION EN EL PASO DE TIEMPO", ACCELERATION_NAMES, step, time, f.acele);
    double now = 0.0;
    SECNOW(now);
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, X(5) + "TOTAL DE TIEMPO DE CPU CONSUMIDO AHORA" + fmt::F(now - TIMING.program_start, 12, 2));
    write_record(UNIT_LISTING, X(5) + "REPORTA RESULTADOS PARA POSTPROCESO EN:" + " PASO=" + fmt::I(step, 8) +
                                   " TIEMPO=" + fmt::E(time, 14, 6));
    PROGRE(TIMING.program_start, 16, step, dt, time);
  }
}

std::vector<double> read_accelerogram(int unit) {
  std::vector<double> records;
  std::string line;
  bool error = false;
  while (read_record(unit, line, error, 200)) {
    std::size_t at = line.find_first_not_of(' ');
    if (at == std::string::npos || line[at] == '$') continue;
    char* end = nullptr;
    const double value = std::strtod(line.c_str() + at, &end);
    if (end == line.c_str() + at || !std::isfinite(value)) ERRSTP("EXPLIT: ACELEROGRAMA ILEGIBLE");
    records.push_back(value);
  }
  if (error) ERRSTP("EXPLIT: ACELEROGRAMA ILEGIBLE");
  return records;
}

double accelerogram_value(const std::vector<double>& records, double dtrec, double t) {
  if (t == 0.0 || records.empty() || !(dtrec > 0.0)) return 0.0;
  const double s = t / dtrec + 1.0;
  if (!(s >= 1.0) || s > static_cast<double>(records.size())) return 0.0;
  const auto k = static_cast<std::size_t>(s);
  const double phi = s - static_cast<double>(k);
  const double next = k < records.size() ? records[k] : 0.0;
  return (1.0 - phi) * records[k - 1] + phi * next;
}

}  // namespace vortan
