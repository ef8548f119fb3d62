// The iterative solution paths on whole problems read from decks: they must give what
// the direct paths give (prescribed values, springs and links included), keep the
// prescribed values, and report their iterations.
#include <cmath>
#include <string>

#include "solve_fixture.h"
#include "run/file_set.h"
#include "solve/element_loop.h"
#include "solve/iterative/iteration_report.h"

namespace vortan {
namespace {

using test::expect_close;
using test::PlaneMesh;
using test::Solution;

constexpr int GAUSS = 1;
constexpr int LDLT = 2;
constexpr int ELEMENT_CG = 3;

class IterativePaths : public test::SolveTest {
 protected:
  // Solves with code 3 with or without the diagonal preconditioner.
  static Solution solve_element_cg(bool preconditioned) {
    PROBLEM.preconditioned = preconditioned ? 1 : 0;
    return solve(ELEMENT_CG);
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
  EXPECT_NE(listing().find("\n ITERACION CONVERGENCIA\n ITERACION DETENIDA SIN CONVERGENCIA (P.Q=0)  FUNCION: 0.90000E+01\n"),
            std::string::npos);
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
