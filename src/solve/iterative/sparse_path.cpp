// Solver code 5: the free-free part of the global matrix assembled into compressed
// rows (equations numbered over the free positions in global order), solved by the
// conjugate gradient or, with the word "GMRES", by the restarted GMRES.
//
// Prescribed values enter as in the element-by-element path: the products of the
// element stiffnesses with the prescribed values are subtracted from the loads of the
// free equations while the matrix is assembled (K_ff u_f = f_f - K_fp u_p), and the
// prescribed positions of DESPL take their values.
//
// Preconditioner: without the word "PRECONDICIONADO" the diagonal of the matrix; with
// it the incomplete factorisation with no fill (incomplete_factor.h), for both
// iterations.
#include <chrono>
#include <cstdint>

#include "input/problem.h"
#include "run/work_array.h"
#include "solve/iterative/compressed_rows.h"
#include "solve/finite_solution.h"
#include "solve/iterative/conjugate_gradient.h"
#include "solve/iterative/gmres.h"
#include "solve/iterative/incomplete_factor.h"
#include "solve/iterative/iteration_report.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

using Clock = std::chrono::steady_clock;

std::int32_t allocate_reals(std::int64_t count, const char* name) {
  return DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS);
}

struct Choice {
  bool incomplete = PROBLEM.preconditioned == 1;
  bool gmres = PROBLEM.conjugate_gradient == 0;
};

void lay_out(const Choice& choice) {
  allocate_global_vectors();
  SOLUTION.LEQNS = DIRECT(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NTOTV, "LEQNS", INT_WORDS);
  const std::int32_t n = number_compressed_equations(WORK.ints(PROBLEM.IFFIX), WORK.ints(SOLUTION.LEQNS));
  SOLUTION.NEQNS = n;
  SOLUTION.VECTX = allocate_reals(n, "VECTX");
  SOLUTION.VECTU = allocate_reals(n, "VECTU");
  SOLUTION.VECT1 = allocate_reals(n, "VECT1");
  SOLUTION.ZVECT = allocate_reals(n, "ZVECT");
  SOLUTION.DIAGO = allocate_reals(n, "DIAGO");
  if (choice.gmres) {
    SOLUTION.VECTB = allocate_reals(n, "VECTB");
    SOLUTION.GMRVB = allocate_reals(std::int64_t{GMRES_RESTART + 1} * n, "GMRVB");
    SOLUTION.VECTP = 0;
  } else {
    SOLUTION.VECTP = allocate_reals(n, "VECTP");
  }
  if (choice.incomplete) SOLUTION.IDIAG = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "IDIAG", INT_WORDS);
  // Every entry: its column, its value and, with the incomplete factors, their value.
  const int words_per_entry = INT_WORDS + REAL_WORDS + (choice.incomplete ? REAL_WORDS : 0);
  build_compressed_structure(WORK.ints(SOLUTION.LEQNS), n, words_per_entry, SOLUTION.IA, SOLUTION.JA);
  SOLUTION.entries = WORK.ints(SOLUTION.IA)[n];
  SOLUTION.STIFF = allocate_reals(SOLUTION.entries, "STIFF");
  SOLUTION.FACIN = choice.incomplete ? allocate_reals(SOLUTION.entries, "FACIN") : 0;
}

CompressedRows matrix_rows() {
  CompressedRows rows;
  rows.n = SOLUTION.NEQNS;
  rows.ia = WORK.ints(SOLUTION.IA);
  rows.ja = WORK.ints(SOLUTION.JA);
  rows.a = WORK.reals(SOLUTION.STIFF);
  return rows;
}

}  // namespace

void solve_by_compressed_rows(const SolveOptions& options) {
  const Choice choice;
  if (!(options.reuse_arrays && SOLUTION.STIFF != 0 && SOLUTION.VECTX != 0)) lay_out(choice);
  const auto setup_start = Clock::now();
  const CompressedRows rows = matrix_rows();
  const std::int32_t n = rows.n;
  CompressedSystem system;
  system.rows = rows;
  system.leqns = WORK.ints(SOLUTION.LEQNS);
  system.fixed = WORK.reals(PROBLEM.FIXED);
  system.rhs = WORK.reals(choice.gmres ? SOLUTION.VECTB : SOLUTION.VECTU);
  const double penalty = assemble_compressed_system(system, WORK.reals(SOLUTION.ASLOD));
  SOLUTION.penalty = penalty;
  ZEROR(PROBLEM.NTOTV, WORK.reals(SOLUTION.REACT));

  IncompleteFactors factors;
  factors.diagonal = choice.incomplete ? WORK.ints(SOLUTION.IDIAG) : nullptr;
  factors.inverse_pivot = WORK.reals(SOLUTION.DIAGO);
  factors.rows.a = choice.incomplete ? WORK.reals(SOLUTION.FACIN) : nullptr;
  bool use_factors = false;
  SOLUTION.shift = 0.0;
  if (choice.incomplete) {
    SOLUTION.shift = incomplete_factorisation(rows, factors);
    use_factors = SOLUTION.shift >= 0.0;
  }
  if (!use_factors) inverse_diagonal(rows, WORK.reals(SOLUTION.DIAGO));
  SOLUTION.setup_seconds = seconds_since(setup_start);

  double product_seconds = 0.0;
  std::int64_t products = 0;
  auto product = [&](const double* p, double* q) {
    const auto start = Clock::now();
    ++products;
    compressed_product(rows, p, q);
    product_seconds += seconds_since(start);
  };
  const double* inverse = WORK.reals(SOLUTION.DIAGO);
  auto precondition = [&](const double* r, double* z) {
    if (use_factors) incomplete_solve(factors, r, z);
    else
      for (std::int32_t i = 0; i < n; ++i) z[i] = inverse[i] * r[i];
  };
  double* x = WORK.reals(SOLUTION.VECTX);
  ZEROR(n, x);
  const auto iteration_start = Clock::now();
  IterationOutcome outcome;
  if (choice.gmres) {
    GmresVectors v;
    v.n = n;
    v.x = x;
    v.b = WORK.reals(SOLUTION.VECTB);
    v.r = WORK.reals(SOLUTION.VECTU);
    v.w = WORK.reals(SOLUTION.VECT1);
    v.z = WORK.reals(SOLUTION.ZVECT);
    v.basis = WORK.reals(SOLUTION.GMRVB);
    IterationReport report("GMRESR");
    outcome = restarted_gmres(v, product, precondition, report);
  } else {
    ConjugateGradientVectors v;
    v.n = n;
    v.x = x;
    v.r = WORK.reals(SOLUTION.VECTU);
    v.p = WORK.reals(SOLUTION.VECTP);
    v.q = WORK.reals(SOLUTION.VECT1);
    v.z = WORK.reals(SOLUTION.ZVECT);
    IterationReport report("GCALSP");
    outcome = conjugate_gradient(v, product, precondition, report);
  }
  SOLUTION.iteration_seconds = seconds_since(iteration_start);
  SOLUTION.product_seconds = product_seconds;
  SOLUTION.products = static_cast<double>(products);
  SOLUTION.iterations = outcome.cycles;
  SOLUTION.residual = outcome.rr;
  scatter_compressed_solution(x);
  check_finite_displacements(WORK.reals(SOLUTION.DESPL));
  finish_with_element_reactions(options, penalty);
}

}  // namespace vortan
