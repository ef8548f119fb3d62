// Gauss elimination on the full matrix: every degree of freedom, restrained ones
// included, is a row and a column; prescribed columns are moved to the right-hand
// side as the elimination meets them and their rows give the reactions.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "input/dof_table.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/assembly.h"
#include "solve/dot_kernels.h"
#include "solve/finite_solution.h"
#include "solve/pivot_rule.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"
#include "solve/solution_tables.h"

namespace vortan {

namespace {

// The single-precision pivot limit 1.0E-30 widened to double.
constexpr double SMALLEST_PIVOT = 1.0000000031710769E-30;

struct FullSystem {
  double* a;       // ASTIF, column by column
  double* b;       // ASLOD
  std::int64_t n;  // NTOTV
  double* column(std::int64_t k) const { return a + k * n; }  // 0-based column
};

void allocate_gauss_arrays() {
  const std::int64_t n = PROBLEM.NTOTV;
  SOLUTION.ASTIF = DIRECT(RUN.NXTPOS, RUN.MEMORY, n * n, "ASTIF", REAL_WORDS);
  allocate_global_vectors();
  std::int32_t widest = 0;
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) widest = std::max(widest, adres(node, 1));
  SOLUTION.TREAC = DIRECT(RUN.NXTPOS, RUN.MEMORY, widest, "TREAC", REAL_WORDS);
}

// A prescribed column k: value times the column, from row k down, moves to the loads.
void move_prescribed_column(const FullSystem& s, std::int64_t k, double value) {
  double* column = s.column(k);
  for (std::int64_t i = k; i < s.n; ++i) {
    s.b[i] -= value * column[i];
    column[i] = 0.0;
  }
}

[[noreturn]] void bad_pivot(double pivot, std::int64_t k) {
  write_record(UNIT_LISTING, "PIVOTE INCORRECTO=" + fmt::E(pivot, 20, 6) + "EQUACION No.=" + fmt::I(k + 1, 5));
  ERRSTP("REDUCE: PIVOTE INCORRECTO");
}

// Eliminates column k below the pivot: row j loses f(j) = a(j, k) / a(k, k) times row
// k over the columns from k on. The factors are taken first and the update then runs
// down each column, which touches the same entries with the same operands as a
// row-by-row update, over contiguous memory. Besides the absolute limit, a pivot that
// has lost almost all the digits of the assembled diagonal stops (a mechanism).
void eliminate_column(const FullSystem& s, std::int64_t k, double original_diagonal, double* factors) {
  const double pivot = s.column(k)[k];
  if (std::fabs(pivot) < SMALLEST_PIVOT) bad_pivot(pivot, k);
  if (pivot_lost_its_digits(pivot, original_diagonal))
    stop_on_lost_pivot("REDUCE", k + 1, pivot, original_diagonal, place_of_position(k));
  const double reciprocal = 1.0 / pivot;
  const std::int64_t below = s.n - k - 1;
  if (below <= 0) return;
  const double* pivot_column = s.column(k) + k + 1;
  for (std::int64_t j = 0; j < below; ++j) factors[j] = pivot_column[j] * reciprocal;
  for (std::int64_t c = k; c < s.n; ++c) {
    double* column = s.column(c);
    const double pivot_row_entry = column[k];
    if (pivot_row_entry != 0.0) subtract_multiple(pivot_row_entry, factors, column + k + 1, below);
  }
  subtract_multiple(s.b[k], factors, s.b + k + 1, below);
}

// Forward elimination without row exchanges.
void REDUCE(const FullSystem& s) {
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  const std::int32_t mark = RUN.NXTPOS;
  double* factors = WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, s.n, "FACTR", REAL_WORDS));
  double* diagonal = WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, s.n, "DIAGO", REAL_WORDS));
  for (std::int64_t k = 0; k < s.n; ++k) diagonal[k] = s.column(k)[k];
  for (std::int64_t k = 0; k < s.n; ++k) {
    if (iffix[k] == 1) move_prescribed_column(s, k, fixed[k]);
    else eliminate_column(s, k, diagonal[k], factors);
  }
  RUN.NXTPOS = mark;
}

// Back substitution from the last row up; a prescribed row takes its value and gives
// the reaction, minus what remains of its equation.
void back_substitute(const FullSystem& s, double* despl, double* react) {
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  ZEROR(s.n, react);
  for (std::int64_t k = s.n - 1; k >= 0; --k) {
    double sum = s.b[k];
    for (std::int64_t c = k + 1; c < s.n; ++c) sum -= s.column(c)[k] * despl[c];
    if (iffix[k] == 1) {
      despl[k] = fixed[k];
      react[k] = -sum;
    } else {
      despl[k] = sum / s.column(k)[k];
    }
  }
}

}  // namespace

void solve_by_gauss_elimination(const SolveOptions& options) {
  if (!(options.reuse_arrays && SOLUTION.ASTIF != 0)) allocate_gauss_arrays();
  const FullSystem system{WORK.reals(SOLUTION.ASTIF), WORK.reals(SOLUTION.ASLOD), PROBLEM.NTOTV};
  SOLUTION.penalty = assemble_full_system(system.a, system.b);
  REDUCE(system);
  double* despl = WORK.reals(SOLUTION.DESPL);
  double* react = WORK.reals(SOLUTION.REACT);
  back_substitute(system, despl, react);
  check_finite_displacements(despl);
  check_finite_reactions(react);
  if (!options.print_results) return;
  print_displacement_table(despl, SolutionPath::gauss);
  print_reaction_table(react, SolutionPath::gauss, WORK.reals(SOLUTION.TREAC));
}

}  // namespace vortan
