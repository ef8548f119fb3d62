// The iterative solution paths on whole problems read from decks: they must give what
// the direct paths give (prescribed values, springs and links included), keep the
// prescribed values, and report their iterations.
#include <cmath>
#include <string>

#include "solve_fixture.h"
#include "run/file_set.h"
#include "solve/element_loop.h"
#include "solve/iterative/compressed_rows.h"
#include "solve/iterative/element_product.h"
#include "solve/iterative/gmres.h"
#include "solve/iterative/incomplete_factor.h"
#include "solve/iterative/iteration_report.h"

namespace vortan {
namespace {

using test::expect_close;
using test::PlaneMesh;
using test::Solution;

constexpr int GAUSS = 1;
constexpr int LDLT = 2;
constexpr int ELEMENT_CG = 3;
constexpr int SPARSE = 5;

class IterativePaths : public test::SolveTest {
 protected:
  // Solves with code 3 with or without the diagonal preconditioner.
  static Solution solve_element_cg(bool preconditioned) {
    PROBLEM.preconditioned = preconditioned ? 1 : 0;
    return solve(ELEMENT_CG);
  }
  // Solves with code 5: the conjugate gradient or GMRES, with the diagonal or (with
  // the header's word) the incomplete factors as preconditioner.
  static Solution solve_sparse(bool incomplete, bool gmres) {
    PROBLEM.preconditioned = incomplete ? 1 : 0;
    PROBLEM.conjugate_gradient = gmres ? 0 : 1;
    return solve(SPARSE);
  }
  static std::string variant(bool incomplete, bool gmres) {
    return std::string(gmres ? "GMRES" : "CG") + (incomplete ? " with ILU(0)" : " with the diagonal");
  }
};

std::string restraint(int node, int cx, int cy, double vx = 0.0, double vy = 0.0) {
  return std::to_string(node) + " " + std::to_string(cx) + " " + std::to_string(cy) + " " + std::to_string(vx) +
         " " + std::to_string(vy) + "\n";
}

// The loads are in kilonewtons on a material in kilopascals: the absolute tolerance of
// the iterations (r.r below 1.0E-10) is then some 1.0E-12 of the loads squared, which
// leaves the iterates well within 1e-6 of the direct answer.
PlaneMesh stiff_cantilever() {
  PlaneMesh m;
  m.nx = 6;
  m.ny = 3;
  m.lx = 6.0;
  m.ly = 2.0;
  m.young = 2.0e7;
  return m;
}

// A clamped cantilever with non-zero prescribed values on both sides of the free
// equations, two springs and two loads: every path gives the displacements and
// reactions of Gauss elimination.
TEST_F(IterativePaths, AgreeWithDirectPathsWithPrescribedValuesAndSprings) {
  PlaneMesh m = stiff_cantilever();
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1, 0.0, j == 1 ? 1.0e-4 : 0.0);
  m.restraints += restraint(m.node(6, 3), 1, 0, 2.0e-4);
  m.springs = 2;
  m.supports = "APOYOS_ESLATICOS\n" + std::to_string(m.node(6, 0)) + " 2 5.0e5\n" + std::to_string(m.node(3, 3)) +
               " 1 2.0e6\nFIN_APOYOS_ESLATICOS\n";
  read(m.deck());
  load(m.node(6, 3), 2, -100.0);
  load(m.node(3, 0), 1, 30.0);
  const Solution gauss = solve(GAUSS);
  const Solution ldlt = solve(LDLT);
  expect_close(gauss.despl, ldlt.despl, 1e-10, "LDLT displacement");
  for (bool preconditioned : {false, true}) {
    const Solution cg = solve_element_cg(preconditioned);
    EXPECT_GT(SOLUTION.iterations, 5);
    EXPECT_LT(SOLUTION.residual, ITERATION_TOLERANCE);
    expect_close(gauss.despl, cg.despl, 1e-6, preconditioned ? "PCG displacement" : "CG displacement");
    expect_close(gauss.react, cg.react, 1e-6, preconditioned ? "PCG reaction" : "CG reaction");
    EXPECT_EQ(cg.despl[at(m.node(0, 1), 2)], 1.0e-4);
    EXPECT_EQ(cg.despl[at(m.node(6, 3), 1)], 2.0e-4);
  }
  for (bool incomplete : {false, true})
    for (bool gmres : {false, true}) {
      const Solution sparse = solve_sparse(incomplete, gmres);
      const std::string what = variant(incomplete, gmres);
      EXPECT_LT(SOLUTION.residual, ITERATION_TOLERANCE) << what;
      EXPECT_EQ(SOLUTION.shift, 0.0) << what;
      expect_close(gauss.despl, sparse.despl, 1e-6, (what + " displacement").c_str());
      expect_close(gauss.react, sparse.react, 1e-6, (what + " reaction").c_str());
      EXPECT_EQ(sparse.despl[at(m.node(0, 1), 2)], 1.0e-4);
      // GMRES with the diagonal needs more cycles than its restart length here.
      if (gmres && !incomplete) {
        EXPECT_GT(SOLUTION.iterations, GMRES_RESTART);
      }
    }
}

// A link from a free degree of freedom to a moved one: the penalty (1.0E6 times the
// largest diagonal) makes the matrix badly conditioned, and the iterations still give
// the direct answer, the link's force in the reactions.
TEST_F(IterativePaths, AgreeWithDirectPathsOnALinkToAMovedNode) {
  PlaneMesh m = stiff_cantilever();
  m.nx = 4;
  m.ny = 2;
  m.lx = 4.0;
  m.links = 1;
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1) + restraint(m.node(0, 2), 1, 1, 1.0e-4);
  m.supports = "GRADOS_DE_LIBERTAD_LIGADOS\n15 11 1\nFIN_GRADOS_DE_LIBERTAD_LIGADOS\n";
  read(m.deck());
  load(m.node(4, 1), 2, -50.0);
  const Solution gauss = solve(GAUSS);
  for (bool preconditioned : {false, true}) {
    const Solution cg = solve_element_cg(preconditioned);
    expect_close(gauss.despl, cg.despl, 1e-6, "displacement");
    expect_close(gauss.react, cg.react, 1e-6, "reaction");
    EXPECT_NEAR(cg.despl[at(15, 1)], 1.0e-4, 1e-9);
  }
  for (bool incomplete : {false, true})
    for (bool gmres : {false, true}) {
      const Solution sparse = solve_sparse(incomplete, gmres);
      const std::string what = variant(incomplete, gmres);
      expect_close(gauss.despl, sparse.despl, 1e-6, (what + " displacement").c_str());
      expect_close(gauss.react, sparse.react, 1e-6, (what + " reaction").c_str());
    }
}

// A model already in equilibrium (no loads, every prescribed value zero) ends before
// the first cycle: the history has its heading and no line, and DESPL is zero.
TEST_F(IterativePaths, EquilibriumEndsBeforeTheFirstCycle) {
  PlaneMesh m;
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1) + restraint(m.node(0, 2), 1, 1);
  read(m.deck());
  for (bool preconditioned : {false, true}) {
    const Solution cg = solve_element_cg(preconditioned);
    EXPECT_EQ(SOLUTION.iterations, 0);
    EXPECT_EQ(test::largest_magnitude(cg.despl), 0.0);
    EXPECT_EQ(test::largest_magnitude(cg.react), 0.0);
  }
  const std::string sal = listing();
  const std::string heading = "\n\n\n\n ITERACION CONVERGENCIA\n\n     DESPLAZAMIENTOS\n";
  const std::size_t first = sal.find(heading);
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(sal.find(heading, first + 1), std::string::npos);  // both runs
}

// Every degree of freedom prescribed: no equation is left, every path keeps the
// prescribed values and gives the reactions of Gauss elimination.
TEST_F(IterativePaths, ModelWithoutFreeDegreesOfFreedom) {
  PlaneMesh m;
  m.nx = 2;
  m.ny = 1;
  for (int n = 1; n <= m.nodes(); ++n) m.restraints += restraint(n, 1, 1, 0.001 * n, -0.002 * (n % 3));
  read(m.deck());
  load(2, 1, 0.7);
  const Solution gauss = solve(GAUSS);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  for (int variant = 0; variant < 4; ++variant) {
    const Solution s = variant < 2 ? solve_element_cg(variant == 1) : solve_sparse(false, variant == 3);
    EXPECT_EQ(SOLUTION.iterations, 0);
    for (int g = 0; g < PROBLEM.NTOTV; ++g) EXPECT_EQ(s.despl[g], fixed[g]);
    expect_close(gauss.react, s.react, 1e-12, "reaction");
  }
}

// The convergence history: one line per cycle, I8, five blanks, E12.5, the last one
// below the tolerance, in the order of the cycles; with a preconditioner the moved
// positions keep their prescribed values exactly.
TEST_F(IterativePaths, HistoryLinesAndPrescribedValuesKept) {
  PlaneMesh m = stiff_cantilever();
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1, 1.0e-4 * j, -2.0e-4 * j);
  read(m.deck());
  load(m.node(6, 3), 2, -100.0);
  const Solution cg = solve_element_cg(true);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  for (int g = 0; g < PROBLEM.NTOTV; ++g)
    if (iffix[g] == 1) {
      EXPECT_EQ(cg.despl[g], fixed[g]) << "position " << g + 1;
    }
  const std::string sal = listing();
  std::size_t at_line = sal.find(" ITERACION CONVERGENCIA\n");
  ASSERT_NE(at_line, std::string::npos);
  at_line += 24;
  double last = 0.0;
  for (int k = 1; k <= SOLUTION.iterations; ++k) {
    const std::string line = sal.substr(at_line, sal.find('\n', at_line) - at_line);
    ASSERT_EQ(line.size(), 25u) << line;
    EXPECT_EQ(std::stoi(line.substr(0, 8)), k);
    EXPECT_EQ(line.substr(8, 8), "      0.");
    EXPECT_EQ(line[21], 'E');
    last = std::stod(line.substr(13));
    at_line += 26;
  }
  EXPECT_LT(last, ITERATION_TOLERANCE);
  EXPECT_NEAR(last, SOLUTION.residual, 1e-4 * SOLUTION.residual);
  EXPECT_EQ(sal.substr(at_line, 21), "\n     DESPLAZAMIENTOS");
}

// A loaded model without stiffness (its stored element matrices zeroed): the first
// search direction gives p.q = 0, and the iteration ends at once with a warning that
// names the residual, instead of cycling to its limit or passing for converged.
TEST_F(IterativePaths, MechanismEndsWithAWarning) {
  PlaneMesh m;
  m.nx = 1;
  m.ny = 1;
  m.set_cards = "MATRIZK MEMORIA\n";
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1);
  read(m.deck());
  load(m.node(1, 1), 2, -3.0);
  compute_element_stiffnesses();
  const ElementSet& s = SETS(1);
  double* records = WORK.reals(s.MEMSET);
  for (std::int64_t i = 0; i < std::int64_t{s.memory_length} * s.NELEM; ++i) records[i] = 0.0;
  const Solution cg = solve_element_cg(false);
  EXPECT_EQ(SOLUTION.iterations, 0);
  EXPECT_EQ(SOLUTION.residual, 9.0);
  EXPECT_EQ(test::largest_magnitude(cg.despl), 0.0);
  EXPECT_NE(listing().find("\n ITERACION CONVERGENCIA\n ITERACION DETENIDA SIN CONVERGENCIA  FUNCION: 0.90000E+01\n"),
            std::string::npos);
}

// The assembled compressed rows applied to a vector give what the element-by-element
// product gives at the free positions, springs and link penalties included; every row
// holds its diagonal and its columns in order.
TEST_F(IterativePaths, CompressedRowProductEqualsElementProduct) {
  PlaneMesh m = stiff_cantilever();
  m.shape = [](int i, int j, double& x, double& y) {
    x += 0.1 * ((i * j) % 3 - 1);
    y += 0.07 * ((i + 2 * j) % 3 - 1);
  };
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1, 1.0e-4) +
                 restraint(m.node(0, 3), 1, 1) + restraint(m.node(6, 3), 0, 1);
  m.springs = 1;
  m.links = 1;
  m.supports = "APOYOS_ESLATICOS\n" + std::to_string(m.node(6, 0)) + " 2 5.0e5\nFIN_APOYOS_ESLATICOS\n" +
               "GRADOS_DE_LIBERTAD_LIGADOS\n" + std::to_string(m.node(6, 1)) + " " + std::to_string(m.node(2, 2)) +
               " 1\nFIN_GRADOS_DE_LIBERTAD_LIGADOS\n";
  read(m.deck());
  load(m.node(6, 3), 1, 10.0);
  solve_sparse(true, false);
  ASSERT_GT(SOLUTION.penalty, 0.0);
  CompressedRows rows;
  rows.n = SOLUTION.NEQNS;
  rows.ia = WORK.ints(SOLUTION.IA);
  rows.ja = WORK.ints(SOLUTION.JA);
  rows.a = WORK.reals(SOLUTION.STIFF);
  for (std::int32_t i = 0; i < rows.n; ++i) {
    EXPECT_TRUE(std::is_sorted(rows.ja + rows.ia[i], rows.ja + rows.ia[i + 1])) << "row " << i;
    EXPECT_TRUE(std::binary_search(rows.ja + rows.ia[i], rows.ja + rows.ia[i + 1], i)) << "row " << i;
  }
  // The linked pair is coupled although no element holds both nodes.
  const std::int32_t* leqns = WORK.ints(SOLUTION.LEQNS);
  const std::int32_t a = leqns[at(m.node(6, 1), 1)] - 1, b = leqns[at(m.node(2, 2), 1)] - 1;
  EXPECT_TRUE(std::binary_search(rows.ja + rows.ia[a], rows.ja + rows.ia[a + 1], b));
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  std::vector<double> x(PROBLEM.NTOTV, 0.0), y(PROBLEM.NTOTV), xe(rows.n), ye(rows.n);
  for (int g = 0; g < PROBLEM.NTOTV; ++g)
    if (iffix[g] == 0) x[g] = xe[leqns[g] - 1] = std::sin(1.0 + 0.7 * g);
  element_product(x.data(), y.data(), SOLUTION.penalty);
  compressed_product(rows, xe.data(), ye.data());
  const double scale = test::largest_magnitude(y);
  for (int g = 0; g < PROBLEM.NTOTV; ++g)
    if (iffix[g] == 0) {
      EXPECT_NEAR(ye[leqns[g] - 1], y[g], 1e-13 * scale) << "position " << g + 1;
    }
}

// The incomplete factors: exact where the pattern has no fill (a tridiagonal matrix),
// a growing diagonal shift where a pivot is not positive, and no factors at all when
// even the largest shift leaves one.
TEST(IncompleteFactors, ExactWithoutFillShiftedOrRefused) {
  // Tridiagonal 2, -1: L U is the matrix itself.
  const std::int32_t n = 6;
  std::vector<std::int32_t> ia{0}, ja;
  std::vector<double> values;
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = std::max(0, i - 1); j <= std::min(n - 1, i + 1); ++j) {
      ja.push_back(j);
      values.push_back(i == j ? 2.0 : -1.0);
    }
    ia.push_back(static_cast<std::int32_t>(ja.size()));
  }
  test::ensure_work_array();
  RUN.NXTPOS = 1;
  CompressedRows a{n, ia.data(), ja.data(), values.data()};
  std::vector<double> factor_values(values.size()), pivots(n);
  std::vector<std::int32_t> diagonal(n);
  IncompleteFactors f;
  f.rows.a = factor_values.data();
  f.diagonal = diagonal.data();
  f.inverse_pivot = pivots.data();
  EXPECT_EQ(incomplete_factorisation(a, f), 0.0);
  std::vector<double> r{1.0, -2.0, 0.5, 3.0, 0.0, 1.5}, z(n), check(n);
  incomplete_solve(f, r.data(), z.data());
  compressed_product(a, z.data(), check.data());
  for (std::int32_t i = 0; i < n; ++i) EXPECT_NEAR(check[i], r[i], 1e-14);
  // [[1, 1.1], [1.1, 1]]: the second pivot is positive once (1 + s)^2 > 1.21, first
  // at the fourth shift 1.0E-3 * 4^3 (s = 0.064 is not enough).
  std::vector<std::int32_t> ia2{0, 2, 4}, ja2{0, 1, 0, 1};
  std::vector<double> v2{1.0, 1.1, 1.1, 1.0};
  CompressedRows b{2, ia2.data(), ja2.data(), v2.data()};
  EXPECT_NEAR(incomplete_factorisation(b, f), 0.256, 1e-12);
  EXPECT_GT(f.inverse_pivot[1], 0.0);
  // [[1, 3], [3, 1]] needs a shift above 2: refused.
  v2 = {1.0, 3.0, 3.0, 1.0};
  EXPECT_LT(incomplete_factorisation(b, f), 0.0);
  reset_run_state();
}

// A work array too small for the compressed rows: both counts in the listing, then
// the stop; with enough room a second solution of the same model reuses the arrays.
TEST_F(IterativePaths, CompressedRowsSpaceAndReuse) {
  PlaneMesh m = stiff_cantilever();
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1) + restraint(m.node(0, 2), 1, 1) +
                 restraint(m.node(0, 3), 1, 1);
  read(m.deck());
  load(m.node(6, 3), 2, -100.0);
  PROBLEM.preconditioned = 1;
  PROBLEM.conjugate_gradient = 0;
  PROBLEM.solver = SPARSE;
  const std::int32_t start = RUN.NXTPOS;
  SOLUCION(SolveOptions{false});
  const std::int32_t used = RUN.NXTPOS - start;
  const double tip = WORK.reals(SOLUTION.DESPL)[at(m.node(6, 3), 2)];
  SOLUCION(SolveOptions{false, true});
  EXPECT_EQ(RUN.NXTPOS - start, used);
  EXPECT_EQ(WORK.reals(SOLUTION.DESPL)[at(m.node(6, 3), 2)], tip);
  // Room for everything but half of the entries' values.
  const std::int64_t entries = SOLUTION.entries;
  RUN.NXTPOS = start;
  RUN.MEMORY = start + used - static_cast<std::int32_t>(2 * entries);
  EXPECT_EQ(stop_of([] { SOLUCION(SolveOptions{false}); }), "SOLGCAS:ESPACIO INSUFICIENTE MAT RIG");
  const std::string sal = listing();
  const std::size_t line = sal.find("\n\n\n\n\n     ESPACIO INSUFICIENTE PARA ALMACENAR MATRIZ DE RIGIDEZ\n");
  ASSERT_NE(line, std::string::npos);
  const std::string counts = sal.substr(line + 64, 37);
  EXPECT_EQ(counts.substr(0, 16), "          NLARG=");
  EXPECT_EQ(std::stol(counts.substr(16, 8)), entries);
  EXPECT_EQ(counts.substr(24, 5), "NSIZZ");
  EXPECT_LT(std::stol(counts.substr(29)), entries);
}

TEST_F(IterativePaths, LimitAndNonFiniteStops) {
  PlaneMesh m;
  read(m.deck());
  EXPECT_EQ(stop_of([] { IterationReport("GRADCON").exceeded(); }), "GRADCON:NUMERO DE ITERACIONES EXCEDIDO");
  EXPECT_NE(listing().find("\n NUMERO DE ITERACIONES EXCEDIDO\n"), std::string::npos);
  EXPECT_EQ(stop_of([] { IterationReport("GCALSP").not_finite(); }), "GCALSP:RESIDUO NO FINITO");
}

}  // namespace
}  // namespace vortan
