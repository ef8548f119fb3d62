#include "solve/solution_tables.h"

#include <cstdint>
#include <string>

#include "elements/active_set.h"
#include "input/dof_table.h"
#include "input/problem.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/supports.h"

namespace vortan {

namespace {

using fmt::X;

constexpr int VALUES_PER_LINE = 6;

std::string heading(const std::string& columns) { return X(5) + "NODO" + columns; }

// Column headings of the displacement table by problem type ("" when none).
std::string displacement_columns(int type, SolutionPath path) {
  switch (type) {
    case 1: case 2: case 3: return X(5) + "X-DESP." + X(7) + "Y-DESP.";
    case 4: return X(6) + "DESP.-X" + X(6) + "DESP.-Y" + X(7) + "DESP.-Z";
    case 5: return X(6) + "DESP. W" + X(6) + "ROT. XZ" + X(7) + "ROT. YZ";
    case 6: return X(6) + "DESP. U" + X(6) + "DESP. V" + X(9) + "ROT.";
    case 7: return path == SolutionPath::other ? X(2) + "DESPLAZAMIENTO" + X(2) + "ROTACION" : "";
    case 8: case 9:
      return X(6) + "DESP.-X" + X(6) + "DESP.-Y" + X(6) + "DESP.-Z" + X(6) + "ROT.-XX" + X(6) + "ROT.-YY" +
             X(6) + "ROT.-ZZ";
    default: return "";
  }
}

std::string reaction_columns(int type, SolutionPath path) {
  switch (type) {
    case 1: case 2: case 3: return X(5) + "X-FUERZA" + X(5) + "Y-FUERZA";
    case 4: return X(5) + "X-FUERZA" + X(7) + "Y-FUERZA" + X(7) + "Z-FUERZA";
    case 5: return X(6) + "FUERZA" + X(3) + "XZ-MOMENTO" + X(5) + "YZ-MOMENTO";
    case 6: return X(6) + "X-FUERZA" + X(2) + "Z-FUERZA" + X(5) + "MOMENTO";
    case 7: return path == SolutionPath::other ? X(6) + "X-FUERZA" + X(2) + "Z-FUERZA" + X(5) + "MOMENTO" : "";
    case 8:
      return X(6) + "FUER.-X" + X(6) + "FUER.-Y" + X(6) + "FUER.-Z" + X(6) + "MOM.-XX" + X(6) + "MOM.-YY" +
             X(6) + "MOM.-ZZ";
    case 9:
      return X(6) + "AXIAL" + X(6) + "MOM.-XX" + X(6) + "MOM.-YY" + X(6) + "TORSOR" + X(6) + "CORTE-Y" + X(6) +
             "CORTE-Z";
    default: return "";
  }
}

// The heading lines: in the Gauss path a one-dimensional problem has its own heading
// before the heading of its problem type.
void write_headings(const std::string& one_dimensional, const std::string& columns, SolutionPath path) {
  if (path == SolutionPath::gauss && PROBLEM.NDIME == 1) write_record(UNIT_LISTING, heading(one_dimensional));
  if (!columns.empty()) write_record(UNIT_LISTING, heading(columns));
}

// One node's line: the node (I10) and its values (E14.6), six to a line, further
// values on lines of the same layout.
void write_node_values(std::int32_t node, const double* values, std::int32_t count) {
  std::string line = fmt::I(node, 10);
  for (std::int32_t k = 0; k < count; ++k) {
    if (k > 0 && k % VALUES_PER_LINE == 0) {
      write_record(UNIT_LISTING, line);
      line = X(10);
    }
    line += fmt::E(values[k], 14, 6);
  }
  write_record(UNIT_LISTING, line);
}

bool has_prescribed(std::int32_t node) {
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  for (std::int32_t m = 0; m < adres(node, 1); ++m)
    if (iffix[adres(node, 2) + m] == 1) return true;
  return false;
}

bool has_nonzero(const double* values, std::int32_t count) {
  for (std::int32_t m = 0; m < count; ++m)
    if (values[m] != 0.0) return true;
  return false;
}

}  // namespace

void print_displacement_table(const double* despl, SolutionPath path) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, X(5) + "DESPLAZAMIENTOS");
  write_headings(X(2) + "DESPLAZAMIENTO" + X(2) + "ROTACION", displacement_columns(ACTIVE.NTYPE, path), path);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node)
    write_node_values(node, despl + adres(node, 2), adres(node, 1));
}

void print_reaction_table(const double* react, SolutionPath path, double* treac) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, X(5) + "REACCIONES");
  write_headings(X(6) + "FUERZA" + X(6) + "MOMENTO", reaction_columns(ACTIVE.NTYPE, path), path);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const double* values = react + adres(node, 2);
    const std::int32_t count = adres(node, 1);
    const bool listed = path == SolutionPath::gauss ? has_prescribed(node) : has_nonzero(values, count);
    if (!listed) continue;
    if (treac != nullptr) {
      COPYR(values, treac, count);
      values = treac;
    }
    write_node_values(node, values, count);
  }
}

void print_elastic_support_forces(const double* despl) {
  if (PROBLEM.MRESO <= 0) return;
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, X(10) + "FUERZAS EN APOYOS ELASTICOS");
  write_record(UNIT_LISTING, X(2) + "APOYO  NODO DIREC.   FUERZA EN APOYO ELASTICO");
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) {
    const double force = spring_stiffness(i) * despl[spring_position(i) - 1];
    write_record(UNIT_LISTING, fmt::I(i + 1, 5) + fmt::I(WORK.int_at(PROBLEM.RESOR + i), 8) +
                                   fmt::I(WORK.int_at(PROBLEM.REDIR + i), 5) + X(6) + fmt::E(force, 15, 8));
  }
}

}  // namespace vortan
