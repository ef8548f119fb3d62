// The LDLT path: nodes renumbered to shrink the profile, equations numbered in that
// order (prescribed degrees of freedom apart, with negative numbers), the free-free
// part of the matrix assembled into profile storage, factored by SKYTRI and solved;
// reactions are recomputed element by element.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>

#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/assembly.h"
#include "solve/equation_numbering.h"
#include "solve/finite_solution.h"
#include "solve/node_renumbering.h"
#include "solve/skyline_factor.h"
#include "solve/skyline_profile.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

std::int32_t allocate_ints(std::int64_t count, const char* name) {
  return DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, INT_WORDS);
}

void number_equations() {
  std::int32_t* order = WORK.ints(SOLUTION.LNUEQ);
  const auto start = std::chrono::steady_clock::now();
  if (SOLUTION.renumbering == 1) {
    RENUM0(order);
  } else {
    for (std::int32_t k = 0; k < PROBLEM.NPNODS; ++k) order[k] = k + 1;
    SOLUTION.order_used = NodeOrder::natural;
  }
  SOLUTION.NEQNS = number_equations_by_nodes(order, WORK.ints(SOLUTION.LEQNS), SOLUTION.NPRES);
  SOLUTION.renumbering_seconds = seconds_since(start);
}

void write_information_line(const char* label, std::int64_t value, const char* tail = "") {
  write_record(UNIT_LISTING, fmt::X(15) + label + fmt::I(value, 8) + tail);
}

void print_system_information() {
  const std::int32_t neqns = SOLUTION.NEQNS;
  const std::int64_t band =
      neqns == 0 ? 0 : std::llround(static_cast<double>(SOLUTION.profile_length + neqns) / neqns);
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, fmt::X(5) + "INFORMACION DE SOLUCION A SISTEMA DE ECUACIONES:");
  write_record(UNIT_LISTING, fmt::X(5) + "==================");
  write_empty(UNIT_LISTING);
  write_information_line("NUMERO DE GDL              =", PROBLEM.NTOTV);
  write_information_line("NUMERO DE ECUACIONES       =", neqns);
  write_information_line("MAX. ALTURA DE COLUMNA     =", std::int64_t{SOLUTION.largest_height} + 1);
  write_information_line("SEMI-ANCHO DE BANDA        =", band);
  // Code page 437: 0x81 0xA5 between "TAMA" and "O".
  write_information_line("TAMA\x81\xA5O DE LA MATRIZ        =", neqns + SOLUTION.profile_length, " (R*8)");
}

// Column heights into LPONT(1..NEQNS), then AMATR, then the heights become the running
// sums (which fit in 32 bits once AMATR has been given its place in the work array).
void lay_out_profile(bool printing) {
  const std::int32_t neqns = SOLUTION.NEQNS;
  SOLUTION.LPONT = allocate_ints(std::int64_t{neqns} + 1, "LPONT");
  std::int32_t* pointers = WORK.ints(SOLUTION.LPONT);
  pointers[0] = 0;
  SOLUTION.profile_length = ldlt_column_heights(WORK.ints(SOLUTION.LEQNS), neqns, pointers + 1);
  SOLUTION.largest_height = 0;
  for (std::int32_t j = 1; j <= neqns; ++j)
    if (pointers[j] > SOLUTION.largest_height) SOLUTION.largest_height = pointers[j];
  if (printing) print_system_information();
  SOLUTION.RWORK = DIRECT(RUN.NXTPOS, RUN.MEMORY, neqns, "RWORK", REAL_WORDS);
  SOLUTION.AMATR = DIRECT(RUN.NXTPOS, RUN.MEMORY, neqns + SOLUTION.profile_length, "AMATR", REAL_WORDS);
  for (std::int32_t j = 1; j <= neqns; ++j) pointers[j] += pointers[j - 1];
}

void lay_out_ldlt_arrays(bool printing) {
  allocate_global_vectors();
  SOLUTION.LNUEQ = allocate_ints(PROBLEM.NPNODS, "LNUEQ");
  SOLUTION.LEQNS = allocate_ints(PROBLEM.NTOTV, "LEQNS");
  number_equations();
  lay_out_profile(printing);
}

SkylineSystem skyline_system() {
  SkylineSystem s;
  s.amatr = WORK.reals(SOLUTION.AMATR);
  s.pointers = WORK.ints(SOLUTION.LPONT);
  s.neqns = SOLUTION.NEQNS;
  s.prescribed = SOLUTION.NPRES;
  s.leqns = WORK.ints(SOLUTION.LEQNS);
  s.fixed = WORK.reals(PROBLEM.FIXED);
  s.rhs = WORK.reals(SOLUTION.RWORK);
  return s;
}

void assemble(SkylineSystem& s, double* aslod) {
  ZEROR(s.neqns + SOLUTION.profile_length, s.amatr);
  ZEROR(s.neqns, s.rhs);
  ZEROR(PROBLEM.NTOTV, aslod);
  const std::int32_t mark = RUN.NXTPOS;
  if (PROBLEM.MGDLL > 0) {  // the largest diagonal of the prescribed positions decides the penalty too
    s.prescribed_diagonal = WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, s.prescribed, "DIAGP", REAL_WORDS));
    ZEROR(s.prescribed, s.prescribed_diagonal);
  }
  SOLUTION.penalty = assemble_skyline_system(s, aslod);
  s.prescribed_diagonal = nullptr;
  RUN.NXTPOS = mark;
}

// Solution in equation order back to the global positions; prescribed values in place.
void scatter(const SkylineSystem& s, double* despl) {
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) {
    const std::int32_t e = s.leqns[g];
    despl[g] = e > 0 ? s.rhs[e - 1] : s.fixed[g];
  }
}

}  // namespace

void solve_by_ldlt(const SolveOptions& options) {
  if (!(options.reuse_arrays && SOLUTION.AMATR != 0)) lay_out_ldlt_arrays(options.print_results);
  SkylineSystem system = skyline_system();
  double* aslod = WORK.reals(SOLUTION.ASLOD);
  double* despl = WORK.reals(SOLUTION.DESPL);
  double* react = WORK.reals(SOLUTION.REACT);
  ZEROR(PROBLEM.NTOTV, despl);
  ZEROR(PROBLEM.NTOTV, react);
  auto start = std::chrono::steady_clock::now();
  assemble(system, aslod);
  SOLUTION.assembly_seconds = seconds_since(start);
  start = std::chrono::steady_clock::now();
  SOLUTION.lost_digits = SKYTRI(system.amatr, system.pointers, system.neqns, system.leqns);
  SOLUTION.factor_seconds = seconds_since(start);
  skyline_resolution(system.amatr, system.pointers, system.neqns, system.rhs);
  scatter(system, despl);
  check_finite_displacements(despl);
  finish_with_element_reactions(options, SOLUTION.penalty);
}

}  // namespace vortan
