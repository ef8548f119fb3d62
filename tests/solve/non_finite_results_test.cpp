// Results that overflow stop the run before any table prints them: displacements and
// reactions of both direct paths, stresses and internal forces of the result loops.
#include <cmath>
#include <limits>
#include <string>

#include "results/result_loops.h"
#include "solve/finite_solution.h"
#include "solve_fixture.h"

namespace vortan {
namespace {

using test::PlaneMesh;

constexpr int GAUSS = 1;
constexpr int LDLT = 2;

class NonFiniteResults : public test::SolveTest {
 protected:
  // A soft clamped cantilever: an end load of 1e300 takes its tip beyond the doubles.
  void read_soft_cantilever(const std::string& solver) {
    PlaneMesh m;
    m.young = 1.0E-10;
    m.solver = solver;
    for (int j = 0; j <= m.ny; ++j) m.restraints += std::to_string(m.node(0, j)) + " 1 1\n";
    read(m.deck());
    load(m.node(m.nx, m.ny), 2, -1.0E300);
  }
  // The number at the end of a stop message, and the equation of the listing line.
  static std::string tail_number(const std::string& message) { return message.substr(message.rfind(' ') + 1); }
};

TEST_F(NonFiniteResults, DisplacementsBeyondTheDoublesStopBothPaths) {
  for (const int solver : {GAUSS, LDLT}) {
    read_soft_cantilever(solver == GAUSS ? "ELIMINACION_GAUSS" : "LDLT");
    const std::string message = stop_of([solver] { solve(solver); });
    EXPECT_EQ(message.rfind("SOLUCION: DESPL. NO FINITO EC. ", 0), 0u) << solver << " " << message;
    const std::string sal = listing();
    const std::size_t line = sal.find("VALOR NO FINITO=");
    ASSERT_NE(line, std::string::npos) << solver;
    // The line names the equation of the stop and places it at a free node of the mesh.
    const std::string text = sal.substr(line, sal.find('\n', line) - line);
    EXPECT_NE(text.find("ECUACION No.=" + std::string(10 - tail_number(message).size(), ' ') + tail_number(message)),
              std::string::npos)
        << text;
    EXPECT_EQ(sal.find("DESPLAZAMIENTOS"), std::string::npos) << solver;  // no table printed it
    TearDown();
  }
}

// The check names the first value that is not finite by its global equation, node and
// degree of freedom; finite values, however large, pass.
TEST_F(NonFiniteResults, ReactionsAreNamedByEquationNodeAndDegreeOfFreedom) {
  PlaneMesh m;
  m.restraints = "1 1 1\n";
  read(m.deck());
  std::vector<double> react(PROBLEM.NTOTV, std::numeric_limits<double>::max());
  EXPECT_EQ(stop_of([&] { check_finite_reactions(react.data()); }), "no stop");
  react[at(7, 2)] = std::nan("");
  react[at(9, 1)] = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(stop_of([&] { check_finite_reactions(react.data()); }), "SOLUCION: REACC. NO FINITA EC. 14");
  EXPECT_NE(listing().find("VALOR NO FINITO=            NaN ECUACION No.=        14 NODO=         7 GDL=  2\n"),
            std::string::npos);
}

// The stresses and internal forces of a displacement field beyond the element
// arithmetic stop, naming the element.
TEST_F(NonFiniteResults, StressesAndInternalForcesOfAnOverflowingFieldStop) {
  PlaneMesh m;
  for (int j = 0; j <= m.ny; ++j) m.restraints += std::to_string(m.node(0, j)) + " 1 1\n";
  read(m.deck());
  solve(LDLT);
  std::vector<double> despl(PROBLEM.NTOTV, 0.0);
  despl[at(m.node(2, 1), 1)] = std::numeric_limits<double>::max();
  despl[at(m.node(2, 1), 2)] = -std::numeric_limits<double>::max();
  std::vector<double> aslod(PROBLEM.NTOTV, 0.0);
  EXPECT_EQ(stop_of([&] { internal_force_loop(despl.data(), aslod.data()); }), "FUERINTER: NO FINITO ELEMENTO 2");
  TearDown();
  read(m.deck());
  solve(LDLT);
  EXPECT_EQ(stop_of([&] { stress_loop(despl.data()); }), "TENSIONES: NO FINITO ELEMENTO 2");
  EXPECT_NE(listing().find(" ELEMENTO=         2 SET=    1 GRUPO=  1 COMPONENTE=  1\n"), std::string::npos);
}

}  // namespace
}  // namespace vortan
