// Solver code 4, the damped element-by-element iteration (damped_iteration.h).
//
// Prescribed values. The iteration starts from u = the prescribed values at their
// positions and 0 elsewhere, for the current and the previous iterate alike. The
// residual is 0 at the prescribed positions and they are never updated, so they keep
// their values exactly, and K u - f at the free positions holds the products of the
// element stiffnesses with the prescribed values: the free equations solved are
// K_ff u_f = f_f - K_fp u_p, as in the other paths.
//
// End of the iteration. It ends at the first cycle whose squared residual norm is not
// above the tolerance, with the iterate of that cycle. After the last cycle without
// convergence the residual of the last iterate is formed once more, so that the
// warning names the residual of the displacements the run goes on with; the
// reactions are those of that iterate.
#include "solve/iterative/damped_iteration.h"

#include <cmath>
#include <cstdint>

#include "input/problem.h"
#include "run/work_array.h"
#include "solve/dot_kernels.h"
#include "solve/finite_solution.h"
#include "solve/iterative/element_product.h"
#include "solve/iterative/iteration_report.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

std::int32_t allocate_reals(std::int64_t count, const char* name) {
  return DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS);
}

void allocate_arrays() {
  const std::int64_t n = PROBLEM.NTOTV;
  allocate_global_vectors();
  SOLUTION.DESPA = allocate_reals(n, "DESPA");
  SOLUTION.VECTU = allocate_reals(n, "VECTU");
  SOLUTION.HISTO = 0;
}

// The residual of an iterate and what the console and the history show of it.
struct Residual {
  double rr = 0.0;      // R.R over the free equations
  double energy = 0.0;  // 1/2 u.K u - f.u
};

// r = K u - f at the free positions and 0 at the prescribed ones.
Residual form_residual(const double* u, const double* f, const std::int32_t* iffix, double penalty, double* r) {
  const std::int64_t n = PROBLEM.NTOTV;
  element_product(u, r, penalty);
  Residual out;
  out.energy = 0.5 * dot_contiguous(u, r, n) - dot_contiguous(f, u, n);
  for (std::int64_t g = 0; g < n; ++g) r[g] = iffix[g] == 1 ? 0.0 : r[g] - f[g];
  out.rr = dot_contiguous(r, r, n);
  return out;
}

}  // namespace

DampedCycle damped_cycle(std::int32_t k) {
  const double* history = WORK.reals(SOLUTION.HISTO) + 2 * static_cast<std::int64_t>(k - 1);
  return DampedCycle{history[0], history[1]};
}

void solve_by_damped_iteration(const SolveOptions& options) {
  if (!(options.reuse_arrays && SOLUTION.DESPA != 0)) allocate_arrays();
  const bool keep_history = PROBLEM.sequence.keep_history == 1;
  if (keep_history && SOLUTION.HISTO == 0) SOLUTION.HISTO = allocate_reals(2 * DAMPED_CYCLE_LIMIT, "HISTO");
  const std::int32_t ntotv = PROBLEM.NTOTV;

  // The loads; the diagonal only for the penalty of the links.
  const std::int32_t mark = RUN.NXTPOS;
  double* diag = PROBLEM.MGDLL > 0 ? WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, ntotv, "DIAGO", REAL_WORDS)) : nullptr;
  const double* f = WORK.reals(SOLUTION.ASLOD);
  const double penalty = assemble_element_loads(WORK.reals(SOLUTION.ASLOD), diag);
  SOLUTION.penalty = penalty;
  RUN.NXTPOS = mark;

  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  double* u = WORK.reals(SOLUTION.DESPL);
  double* previous = WORK.reals(SOLUTION.DESPA);
  double* r = WORK.reals(SOLUTION.VECTU);
  ZEROR(ntotv, WORK.reals(SOLUTION.REACT));
  for (std::int32_t g = 0; g < ntotv; ++g) u[g] = previous[g] = iffix[g] == 1 ? fixed[g] : 0.0;

  const double a1 = 2.0 / (1.0 + DAMPED_RATIO);
  const double a2 = (DAMPED_RATIO - 1.0) / (1.0 + DAMPED_RATIO);
  const double a3 = DAMPED_STEP * DAMPED_STEP / (1.0 + DAMPED_RATIO);

  IterationReport report("ITAMOR", IterationReport::Listing::summary);
  double* history = keep_history ? WORK.reals(SOLUTION.HISTO) : nullptr;
  Residual last;
  std::int32_t k = 0;
  bool converged = false;
  while (k < DAMPED_CYCLE_LIMIT) {
    ++k;
    last = form_residual(u, f, iffix, penalty, r);
    report.damped_cycle(k, last.rr, last.energy);
    if (!std::isfinite(last.rr) || !std::isfinite(last.energy)) report.not_finite();
    if (history != nullptr) {
      history[2 * (k - 1)] = last.rr;
      history[2 * (k - 1) + 1] = last.energy;
    }
    if (last.rr <= DAMPED_TOLERANCE) {
      converged = true;
      break;
    }
    for (std::int32_t g = 0; g < ntotv; ++g) {
      if (iffix[g] == 1) continue;
      const double next = a1 * u[g] + a2 * previous[g] - a3 * r[g];
      previous[g] = u[g];
      u[g] = next;
    }
  }
  if (converged) {
    report.converged(k, last.rr);
  } else {
    last = form_residual(u, f, iffix, penalty, r);
    if (!std::isfinite(last.rr) || !std::isfinite(last.energy)) report.not_finite();
    report.not_converged(k, last.rr);
  }
  SOLUTION.iterations = k;
  SOLUTION.products = k + (converged ? 0 : 1);
  SOLUTION.residual = last.rr;
  SOLUTION.energy = last.energy;
  SOLUTION.converged = converged;
  check_finite_displacements(u);
  finish_with_element_reactions(options, penalty);
}

}  // namespace vortan
