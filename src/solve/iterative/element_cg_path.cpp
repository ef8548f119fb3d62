// Solver code 3: the conjugate gradient on the free equations, the product of the
// global matrix with the search direction formed element by element in every cycle
// (the global matrix is never assembled), optionally with the diagonal of the global
// matrix as preconditioner.
//
// Prescribed values. The unknowns split into the free ones u_f and the prescribed
// values u_p, and the free equations are K_ff u_f = f_f - K_fp u_p: the products of the
// element stiffnesses with the prescribed values are subtracted from the loads, as the
// direct paths move a prescribed column to the right-hand side. The iteration starts
// from u0 = the prescribed values at their positions and 0 elsewhere, with the
// residual r = f - K u0 at the free positions and 0 at the prescribed ones; every
// search direction is 0 at the prescribed positions, so the prescribed values are
// never changed. ASLOD keeps the applied loads alone, as the direct paths leave it for
// the reactions and the internal forces.
#include <chrono>
#include <cstdint>

#include "input/problem.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/finite_solution.h"
#include "solve/iterative/conjugate_gradient.h"
#include "solve/iterative/element_product.h"
#include "solve/iterative/iteration_report.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

using Clock = std::chrono::steady_clock;

std::int32_t allocate_reals(std::int64_t count, const char* name) {
  return DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS);
}

void allocate_arrays(bool preconditioned) {
  const std::int64_t n = PROBLEM.NTOTV;
  allocate_global_vectors();
  SOLUTION.VECTP = allocate_reals(n, "VECTP");
  SOLUTION.VECTU = allocate_reals(n, "VECTU");
  SOLUTION.VECT1 = allocate_reals(n, "VECT1");
  SOLUTION.DIAGO = preconditioned ? allocate_reals(n, "DIAGO") : 0;
  SOLUTION.ZVECT = preconditioned ? allocate_reals(n, "ZVECT") : 0;
}

// DESPL = u0 and VECTU = f - K u0 at the free positions, 0 at the prescribed ones.
void start_from_prescribed_values(double penalty) {
  const std::int32_t ntotv = PROBLEM.NTOTV;
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  const double* aslod = WORK.reals(SOLUTION.ASLOD);
  double* despl = WORK.reals(SOLUTION.DESPL);
  double* r = WORK.reals(SOLUTION.VECTU);
  bool moved = false;
  for (std::int32_t g = 0; g < ntotv; ++g) {
    despl[g] = iffix[g] == 1 ? fixed[g] : 0.0;
    moved = moved || despl[g] != 0.0;
  }
  if (moved) {
    double* ku0 = WORK.reals(SOLUTION.VECT1);
    element_product(despl, ku0, penalty);
    for (std::int32_t g = 0; g < ntotv; ++g) r[g] = aslod[g] - ku0[g];
  } else {
    COPYR(aslod, r, ntotv);
  }
  for (std::int32_t g = 0; g < ntotv; ++g)
    if (iffix[g] == 1) r[g] = 0.0;
}

// The diagonal becomes the preconditioner: its inverse at the free positions, 0 at the
// prescribed ones (so they never move) and at a free position without stiffness.
void invert_diagonal(double* diag) {
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) diag[g] = iffix[g] == 0 && diag[g] != 0.0 ? 1.0 / diag[g] : 0.0;
}

}  // namespace

void solve_by_element_conjugate_gradient(const SolveOptions& options) {
  const bool preconditioned = PROBLEM.preconditioned == 1;
  if (!(options.reuse_arrays && SOLUTION.VECTP != 0)) allocate_arrays(preconditioned);
  const auto setup_start = Clock::now();
  const std::int32_t ntotv = PROBLEM.NTOTV;
  const std::int32_t mark = RUN.NXTPOS;
  // The links' penalty needs the diagonal even without the preconditioner.
  double* diag = nullptr;
  if (preconditioned) diag = WORK.reals(SOLUTION.DIAGO);
  else if (PROBLEM.MGDLL > 0) diag = WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, ntotv, "DIAGO", REAL_WORDS));
  const double penalty = assemble_element_loads(WORK.reals(SOLUTION.ASLOD), diag);
  SOLUTION.penalty = penalty;
  start_from_prescribed_values(penalty);
  if (preconditioned) invert_diagonal(diag);
  RUN.NXTPOS = mark;
  SOLUTION.setup_seconds = seconds_since(setup_start);

  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  ConjugateGradientVectors v;
  v.n = ntotv;
  v.x = WORK.reals(SOLUTION.DESPL);
  v.r = WORK.reals(SOLUTION.VECTU);
  v.p = WORK.reals(SOLUTION.VECTP);
  v.q = WORK.reals(SOLUTION.VECT1);
  v.z = preconditioned ? WORK.reals(SOLUTION.ZVECT) : nullptr;
  double product_seconds = 0.0;
  std::int64_t products = 0;
  auto product = [&](const double* p, double* q) {
    const auto start = Clock::now();
    ++products;
    element_product(p, q, penalty);
    for (std::int32_t g = 0; g < ntotv; ++g)
      if (iffix[g] == 1) q[g] = 0.0;
    product_seconds += seconds_since(start);
  };
  const double* inverse = diag;
  auto precondition = [&](const double* r, double* z) {
    for (std::int32_t g = 0; g < ntotv; ++g) z[g] = inverse[g] * r[g];
  };
  const auto iteration_start = Clock::now();
  IterationReport report("GRADCON");
  const IterationOutcome outcome = conjugate_gradient(v, product, precondition, report);
  SOLUTION.iteration_seconds = seconds_since(iteration_start);
  SOLUTION.product_seconds = product_seconds;
  SOLUTION.iterations = outcome.cycles;
  SOLUTION.products = static_cast<double>(products);
  SOLUTION.residual = outcome.rr;
  check_finite_displacements(WORK.reals(SOLUTION.DESPL));
  finish_with_element_reactions(options, penalty);
}

}  // namespace vortan
