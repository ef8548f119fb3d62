// The damped element-by-element iteration (solver code 4): the direct answer when it
// converges, prescribed values kept; reactions of the last iterate and a warning when
// it does not; its console lines; the stop of a diverging iteration. (The history it
// keeps for the ".opt" file is checked with the general static analysis.)
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "solve_fixture.h"
#include "run/console.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "solve/iterative/damped_iteration.h"
#include "solve/iterative/element_product.h"

namespace vortan {
namespace {

using test::expect_close;
using test::PlaneMesh;
using test::Solution;

constexpr int GAUSS = 1;
constexpr int DAMPED = 4;

// The console (a thousand lines per solution) goes to a scratch file.
class DampedIteration : public test::SolveTest {
 protected:
  void SetUp() override {
    console_ = std::tmpfile();
    ASSERT_NE(console_, nullptr);
    set_console_stream(console_, false);
  }
  void TearDown() override {
    set_console_stream(nullptr, false);
    if (console_ != nullptr) std::fclose(console_);
    test::SolveTest::TearDown();
  }
  std::string console() {
    flush_console();
    std::rewind(console_);
    std::string text;
    for (int c = std::getc(console_); c != EOF; c = std::getc(console_)) text.push_back(static_cast<char>(c));
    return text;
  }
  std::FILE* console_ = nullptr;
};

std::string restraint(int node, int cx, int cy, double vx = 0.0, double vy = 0.0) {
  char text[128];
  std::snprintf(text, sizeof text, "%d %d %d %.10G %.10G\n", node, cx, cy, vx, vy);
  return text;
}

// A 4 x 2 plane-stress cantilever clamped at x = 0. The iteration converges only for
// a stiffness within its reach (damped_iteration.h): E = 1.0E8 converges in some two
// hundred cycles, E = 1.0E5 is far too soft for 1000 cycles, E = 1.0E9 is unstable.
PlaneMesh cantilever(double young) {
  PlaneMesh m;
  m.nx = 4;
  m.ny = 2;
  m.lx = 4.0;
  m.ly = 2.0;
  m.young = young;
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1);
  return m;
}

// K u - f at the prescribed positions and R.R over the free ones, from the product of
// the element stiffnesses with the given displacements.
struct Balance {
  std::vector<double> react;
  double rr = 0.0;
};
Balance balance_of(const std::vector<double>& u) {
  std::vector<double> ku(u.size());
  element_product(u.data(), ku.data(), 0.0);
  const double* f = WORK.reals(SOLUTION.ASLOD);
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  Balance b;
  b.react.assign(u.size(), 0.0);
  for (std::size_t g = 0; g < u.size(); ++g) {
    const double r = ku[g] - f[g];
    if (iffix[g] == 1) b.react[g] = r;
    else b.rr += r * r;
  }
  return b;
}

// With a settled support node and two loads the iteration gives the displacements and
// reactions of Gauss elimination, the settlement kept exactly; a model in equilibrium
// ends at the first cycle with nothing moved.
TEST_F(DampedIteration, ConvergesToTheDirectAnswerAndKeepsPrescribedValues) {
  PlaneMesh m = cantilever(1.0e8);
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1, 0.0, -2.0e-6) +
                 restraint(m.node(0, 2), 1, 1);
  read(m.deck());
  load(m.node(4, 2), 2, -300.0);
  load(m.node(4, 0), 1, 120.0);
  const Solution gauss = solve(GAUSS);
  const Solution damped = solve(DAMPED);
  EXPECT_TRUE(SOLUTION.converged);
  EXPECT_GT(SOLUTION.iterations, 50);
  EXPECT_LT(SOLUTION.iterations, DAMPED_CYCLE_LIMIT);
  EXPECT_LE(SOLUTION.residual, DAMPED_TOLERANCE);
  expect_close(gauss.despl, damped.despl, 1e-6, "displacement");
  expect_close(gauss.react, damped.react, 1e-6, "reaction");
  EXPECT_EQ(damped.despl[at(m.node(0, 1), 2)], -2.0e-6);
  const std::string converged = " ITERACION AMORTIGUADA: CONVERGENCIA EN" + fmt::I(SOLUTION.iterations, 8) +
                                " CICLOS  FUNCION:" + fmt::E(SOLUTION.residual, 12, 5) + "\n";
  EXPECT_NE(listing().find("\n\n\n" + converged + "\n     DESPLAZAMIENTOS\n"), std::string::npos);

  read(cantilever(1.0e8).deck());
  const Solution rest = solve(DAMPED);
  EXPECT_TRUE(SOLUTION.converged);
  EXPECT_EQ(SOLUTION.iterations, 1);
  EXPECT_EQ(test::largest_magnitude(rest.despl), 0.0);
  EXPECT_EQ(test::largest_magnitude(rest.react), 0.0);
}

// Far too soft for its cycles: all 1000 console lines, then the warning with the
// residual of the last iterate in the listing and on the console, and the reactions
// and displacements of that iterate; the run goes on.
TEST_F(DampedIteration, WithoutConvergenceWarnsAndGivesTheReactionsOfTheLastIterate) {
  read(cantilever(1.0e5).deck());
  load(cantilever(1.0e5).node(4, 2), 2, -1.0);
  const Solution damped = solve(DAMPED);
  EXPECT_FALSE(SOLUTION.converged);
  EXPECT_EQ(SOLUTION.iterations, DAMPED_CYCLE_LIMIT);
  const Balance b = balance_of(damped.despl);
  EXPECT_GT(SOLUTION.residual, DAMPED_TOLERANCE);
  EXPECT_NEAR(SOLUTION.residual, b.rr, 1e-12 * b.rr);
  expect_close(b.react, damped.react, 1e-12, "reaction of the last iterate");
  EXPECT_GT(test::largest_magnitude(damped.react), 0.01);
  EXPECT_GT(test::largest_magnitude(damped.despl), 0.0);

  const std::string warning = " WARNING: ITERACION AMORTIGUADA SIN CONVERGENCIA EN    1000 CICLOS  FUNCION:" +
                              fmt::E(SOLUTION.residual, 12, 5) +
                              "\n          DESPLAZAMIENTOS Y REACCIONES DEL ULTIMO ITERADO\n";
  EXPECT_NE(listing().find(warning), std::string::npos);
  EXPECT_NE(listing().find("\n     REACCIONES\n"), std::string::npos);
  const std::vector<std::string> lines = test::lines_of(console());
  ASSERT_EQ(lines.size(), 1002u);
  for (int k = 1; k <= DAMPED_CYCLE_LIMIT; ++k) {
    const std::string& line = lines[k - 1];
    ASSERT_EQ(line.size(), 1u + 11u + 1u + 25u + 1u + 25u) << line;
    EXPECT_EQ(std::stoi(line.substr(1, 11)), k);
  }
  EXPECT_EQ(lines[1000] + "\n" + lines[1001] + "\n", warning);
}

// A model too stiff for the pseudo time step diverges: the stop once the residual is
// no longer a number, not 1000 cycles of overflow passed on to the results.
TEST_F(DampedIteration, TooStiffAModelStopsWhenTheResidualOverflows) {
  read(cantilever(1.0e9).deck());
  load(cantilever(1.0e9).node(4, 2), 2, -1.0);
  EXPECT_EQ(stop_of([] { solve(DAMPED); }), "ITAMOR:RESIDUO NO FINITO");
}

}  // namespace
}  // namespace vortan
