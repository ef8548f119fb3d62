// The two direct solution paths on whole problems read from decks: they must agree
// with each other and with what mechanics demands (patch fields, equilibrium).
#include <cmath>
#include <string>

#include "solve_fixture.h"
#include "solve/element_loop.h"
#include "solve/pivot_rule.h"
#include "solve/element_product.h"
#include "solve/profile_factor.h"
#include "solve/profile_matrix.h"
#include "solve/supports.h"

namespace vortan {
namespace {

using test::expect_close;
using test::PlaneMesh;
using test::Solution;

constexpr int GAUSS = 1;
constexpr int LDLT = 2;

class DirectPaths : public test::SolveTest {};

std::string restraint(int node, int cx, int cy, double vx = 0.0, double vy = 0.0) {
  return std::to_string(node) + " " + std::to_string(cx) + " " + std::to_string(cy) + " " + std::to_string(vx) +
         " " + std::to_string(vy) + "\n";
}

double sum_dof(const std::vector<double>& v, int dof) {
  double s = 0.0;
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node)
    if (adres(node, 1) >= dof) s += v[adres(node, 2) + dof - 1];
  return s;
}

// A clamped cantilever with non-zero prescribed values on both sides of the free
// equations, two springs and an end load: both paths give the same displacements and
// reactions, and the whole model is in vertical equilibrium.
TEST_F(DirectPaths, GaussAndLdltAgreeWithPrescribedValuesAndSprings) {
  PlaneMesh m;
  m.nx = 6;
  m.ny = 3;
  m.lx = 6.0;
  m.ly = 2.0;
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1, 0.0, j == 1 ? 0.01 : 0.0);
  m.restraints += restraint(m.node(6, 3), 1, 0, 0.02);
  m.springs = 2;
  m.supports = "APOYOS_ESLATICOS\n" + std::to_string(m.node(6, 0)) + " 2 50.0\n" + std::to_string(m.node(3, 3)) +
               " 1 200.0\nFIN_APOYOS_ESLATICOS\n";
  read(m.deck());
  load(m.node(6, 3), 2, -1.0);
  load(m.node(3, 0), 1, 0.3);
  const Solution gauss = solve(GAUSS);
  const Solution ldlt = solve(LDLT);
  expect_close(gauss.despl, ldlt.despl, 1e-10, "displacement");
  expect_close(gauss.react, ldlt.react, 1e-9, "reaction");
  EXPECT_DOUBLE_EQ(ldlt.despl[at(m.node(0, 1), 2)], 0.01);
  EXPECT_DOUBLE_EQ(ldlt.despl[at(m.node(6, 3), 1)], 0.02);
  // Supports and springs carry the loads: sum R - sum k u = -sum f in each direction.
  for (const Solution* s : {&gauss, &ldlt}) {
    double springs_y = 50.0 * s->despl[at(m.node(6, 0), 2)];
    double springs_x = 200.0 * s->despl[at(m.node(3, 3), 1)];
    EXPECT_NEAR(sum_dof(s->react, 2) - springs_y, 1.0, 1e-9);
    EXPECT_NEAR(sum_dof(s->react, 1) - springs_x, -0.3, 1e-9);
  }
}

// A linear displacement field prescribed on the boundary of a distorted mesh is
// reproduced exactly inside, and with no loads the reactions balance.
TEST_F(DirectPaths, PrescribedLinearFieldIsReproducedInside) {
  PlaneMesh m;
  m.nx = 4;
  m.ny = 3;
  m.lx = 4.0;
  m.ly = 3.0;
  m.shape = [](int i, int j, double& x, double& y) {
    if (i > 0 && i < 4 && j > 0 && j < 3) {
      x += 0.17 * ((i + j) % 3 - 1);
      y += 0.13 * ((2 * i + j) % 3 - 1);
    }
  };
  auto u = [](double x, double y) { return 0.001 + 0.002 * x + 0.003 * y; };
  auto v = [](double x, double y) { return -0.001 + 0.0015 * x - 0.0025 * y; };
  for (int j = 0; j <= m.ny; ++j)
    for (int i = 0; i <= m.nx; ++i) {
      if (i > 0 && i < m.nx && j > 0 && j < m.ny) continue;
      const double x = i, y = j;
      char card[160];
      std::snprintf(card, sizeof card, "%d 1 1 %.17g %.17g\n", m.node(i, j), u(x, y), v(x, y));
      m.restraints += card;
    }
  read(m.deck());
  const Solution ldlt = solve(LDLT);
  const double* coord = WORK.reals(PROBLEM.COORD);
  for (int node = 1; node <= PROBLEM.NPNODS; ++node) {
    const double x = coord[node - 1], y = coord[node - 1 + PROBLEM.NPNODS];
    EXPECT_NEAR(ldlt.despl[at(node, 1)], u(x, y), 1e-13) << "node " << node;
    EXPECT_NEAR(ldlt.despl[at(node, 2)], v(x, y), 1e-13) << "node " << node;
  }
  EXPECT_NEAR(sum_dof(ldlt.react, 1), 0.0, 1e-12);
  EXPECT_NEAR(sum_dof(ldlt.react, 2), 0.0, 1e-12);
  expect_close(solve(GAUSS).despl, ldlt.despl, 1e-12, "displacement");
}

// A bar held horizontally at its left end and vertically only by a spring: the LDLT
// path must assemble the spring (the model is singular without it) and the spring
// carries the whole vertical load.
TEST_F(DirectPaths, SpringAloneCarriesTheVerticalLoad) {
  PlaneMesh m;
  m.restraints = restraint(m.node(0, 0), 1, 0) + restraint(m.node(0, 1), 1, 0);
  m.springs = 1;
  m.supports = "APOYOS_ESLATICOS\n" + std::to_string(m.node(0, 0)) + " 2 1000.0\nFIN_APOYOS_ESLATICOS\n";
  read(m.deck());
  load(m.node(4, 0), 2, -0.5);
  load(m.node(4, 1), 2, -0.5);
  const Solution ldlt = solve(LDLT);
  EXPECT_NEAR(1000.0 * ldlt.despl[at(m.node(0, 0), 2)], -1.0, 1e-10);
  const std::string sal = listing();
  EXPECT_NE(sal.find("\n\n\n          FUERZAS EN APOYOS ELASTICOS\n  APOYO  NODO DIREC.   FUERZA EN APOYO ELASTICO\n"
                     "    1       1    2      -0.10000000E+01\n"),
            std::string::npos);
  expect_close(solve(GAUSS).despl, ldlt.despl, 1e-10, "displacement");
}

// Two bars that share no node, tied by links at the interface, behave like one bar.
TEST_F(DirectPaths, LinkedBarsActAsOne) {
  // Nodes 1-3 bottom and 4-6 top of the left bar (x = 0, 1, 2); 7-9 and 10-12 of the
  // right bar (x = 2, 3, 4).
  const std::string deck =
      "NUMERO_DE_NODOS NPNODS=12 MGDLL=4\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
      "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=4\n"
      "MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=0.0 ESPESOR=1.0\nFIN_SET\nGEOMETRIA\n"
      "1 1 1 2 5 4\n2 1 2 3 6 5\n3 1 7 8 11 10\n4 1 8 9 12 11\n"
      "1 0 0\n2 1 0\n3 2 0\n4 0 1\n5 1 1\n6 2 1\n7 2 0\n8 3 0\n9 4 0\n10 2 1\n11 3 1\n12 4 1\n"
      "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n1 1 1\n4 1 1\nFIN_CONDICIONES_DE_CONTORNO\n"
      "GRADOS_DE_LIBERTAD_LIGADOS\n3 7 1\n3 7 2\n6 10 1\n6 10 2\nFIN_GRADOS_DE_LIBERTAD_LIGADOS\nFIN\n";
  read(deck);
  load(9, 2, -0.5);
  load(12, 2, -0.5);
  const Solution ldlt = solve(LDLT);
  const Solution gauss = solve(GAUSS);
  expect_close(gauss.despl, ldlt.despl, 1e-8, "displacement");
  const double tip = ldlt.despl[at(12, 2)];
  TearDown();
  PlaneMesh one;
  one.ny = 1;
  one.restraints = restraint(1, 1, 1) + restraint(6, 1, 1);
  read(one.deck());
  load(5, 2, -0.5);
  load(10, 2, -0.5);
  const double expected = solve(LDLT).despl[at(10, 2)];
  EXPECT_NEAR(tip, expected, 1e-5 * std::abs(expected));
}

// A link from a free degree of freedom to a prescribed one drags it to the prescribed
// value in both paths; the link's force is part of the prescribed node's reaction.
TEST_F(DirectPaths, LinkToAPrescribedDegreeOfFreedom) {
  PlaneMesh m;  // node 15 (top right) linked in x to node 11 (top left), which is moved
  m.links = 1;
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1) + restraint(m.node(0, 2), 1, 1, 0.01);
  m.supports = "GRADOS_DE_LIBERTAD_LIGADOS\n15 11 1\nFIN_GRADOS_DE_LIBERTAD_LIGADOS\n";
  read(m.deck());
  const Solution gauss = solve(GAUSS);
  const Solution ldlt = solve(LDLT);
  expect_close(gauss.despl, ldlt.despl, 1e-8, "displacement");
  expect_close(gauss.react, ldlt.react, 1e-6, "reaction");
  EXPECT_NEAR(ldlt.despl[at(15, 1)], 0.01, 1e-7);
  EXPECT_NEAR(sum_dof(ldlt.react, 1), 0.0, 1e-6 * test::largest_magnitude(ldlt.react));
}

// Every degree of freedom prescribed: the displacements are the prescribed values and
// the reactions balance the loads.
TEST_F(DirectPaths, ModelWithoutFreeDegreesOfFreedom) {
  PlaneMesh m;
  m.nx = 2;
  m.ny = 1;
  for (int n = 1; n <= m.nodes(); ++n) m.restraints += restraint(n, 1, 1, 0.001 * n, -0.002 * (n % 3));
  read(m.deck());
  load(2, 1, 0.7);
  load(5, 2, -0.4);
  const Solution gauss = solve(GAUSS);
  const Solution ldlt = solve(LDLT);
  EXPECT_EQ(SOLUTION.NEQNS, 0);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  for (int g = 0; g < PROBLEM.NTOTV; ++g) {
    EXPECT_EQ(gauss.despl[g], fixed[g]);
    EXPECT_EQ(ldlt.despl[g], fixed[g]);
  }
  expect_close(gauss.react, ldlt.react, 1e-12, "reaction");
  EXPECT_GT(test::largest_magnitude(ldlt.react), 0.1);
  EXPECT_NEAR(sum_dof(ldlt.react, 1), -0.7, 1e-12);
  EXPECT_NEAR(sum_dof(ldlt.react, 2), 0.4, 1e-12);
}

// Two nodes held only by an element of negligible stiffness (a mechanism): Gauss elimination stops on the
// first of their equations; the LDLT path warns and goes on.
TEST_F(DirectPaths, MechanismStopsGaussAndWarnsInLdlt) {
  const std::string deck =
      "NUMERO_DE_NODOS NPNODS=6\nNUMERO_DE_SETS NSETS=2\nSOLVER ELIMINACION_GAUSS\nPOSTPROCESO FEMVIEW\n"
      "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=1\n"
      "MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=0.0 ESPESOR=1.0\nFIN_SET\n"
      "SET_NUMERO 2\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=1\n"
      "MATERIAL YOUNG=1.0E-40 POISSON=0.25 DENSIDAD=0.0 ESPESOR=1.0\nFIN_SET\nGEOMETRIA\n"
      "1 1 1 2 4 3\n2 2 2 5 6 4\n1 0 0\n2 1 0\n3 0 1\n4 1 1\n5 2 0\n6 2 1\nFIN_GEOMETRIA\n"
      "CONDICIONES_DE_CONTORNO\n1 1 1\n3 1 1\nFIN_CONDICIONES_DE_CONTORNO\nFIN\n";
  read(deck);
  EXPECT_EQ(stop_of([] { solve(GAUSS); }), "REDUCE: PIVOTE INCORRECTO");
  const std::string sal = listing();
  const std::size_t line = sal.find("PIVOTE INCORRECTO=");
  ASSERT_NE(line, std::string::npos);
  EXPECT_EQ(sal.substr(line + 38, 19), "EQUACION No.=    9\n");  // node 5, first unknown
  TearDown();
  read(deck);
  EXPECT_EQ(stop_of([] { solve(LDLT); }), "no stop");
  EXPECT_NE(listing().find(" *** singular matrix. reduced diagonal is zero for equation"), std::string::npos);
}

// Element stiffnesses stored by the stiffness pass are what the solution assembles:
// a stored record that is changed changes the answer, while without the pass the
// records are computed (never fetched unwritten).
TEST_F(DirectPaths, StiffnessRecordsStoredByThePassAreFetched) {
  PlaneMesh m;
  m.set_cards = "MATRIZK MEMORIA\n";
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 2), 1, 1);
  m.ny = 2;
  m.restraints += restraint(m.node(0, 1), 1, 1);
  read(m.deck());
  load(m.node(4, 2), 2, -1.0);
  const double computed = solve(LDLT).despl[at(m.node(4, 2), 2)];
  EXPECT_LT(computed, -1e-3);
  compute_element_stiffnesses();
  const ElementSet& s = SETS(1);
  double* records = WORK.reals(s.MEMSET);
  for (std::int64_t i = 0; i < std::int64_t{s.memory_length} * s.NELEM; ++i) records[i] *= 2.0;
  EXPECT_NEAR(solve(LDLT).despl[at(m.node(4, 2), 2)], computed / 2.0, 1e-12 * std::abs(computed));
  EXPECT_NEAR(solve(GAUSS).despl[at(m.node(4, 2), 2)], computed / 2.0, 1e-12 * std::abs(computed));
}

// The profile of the eigenvalue and dynamics analyses (numbering in global order,
// STIFF with MAXAD, DECOMP) solves a restrained model as the LDLT path does.
TEST_F(DirectPaths, EigenvalueProfileSolvesLikeLdlt) {
  PlaneMesh m;
  m.nx = 5;
  m.ny = 2;
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1) + restraint(m.node(0, 2), 1, 0);
  read(m.deck());
  load(m.node(5, 2), 2, -1.0);
  load(m.node(5, 0), 1, 0.5);
  const Solution ldlt = solve(LDLT);
  build_stiffness_profile();
  assemble_profile_stiffness();
  const std::int32_t* mhigh = WORK.ints(PROFILE.MHIGH);
  std::vector<double> v(PROFILE.NEQNS, 0.0);
  const double* aslod = WORK.reals(SOLUTION.ASLOD);
  for (int g = 0; g < PROBLEM.NTOTV; ++g)
    if (mhigh[g] > 0) v[mhigh[g] - 1] = aslod[g];
  EXPECT_EQ(PROFILE.NEQNS, SOLUTION.NEQNS);
  EXPECT_EQ(DECOMP(WORK.reals(PROFILE.STIFF), WORK.ints(PROFILE.MAXAD), PROFILE.NEQNS, false), 0);
  profile_resolution(WORK.reals(PROFILE.STIFF), WORK.ints(PROFILE.MAXAD), PROFILE.NEQNS, v.data());
  for (int g = 0; g < PROBLEM.NTOTV; ++g) {
    if (mhigh[g] > 0) {
      EXPECT_NEAR(v[mhigh[g] - 1], ldlt.despl[g], 1e-12 * test::largest_magnitude(ldlt.despl));
    }
  }
}

// The equations of the profile of the eigenvalue and dynamics analyses are named by
// node and degree of freedom through its equation numbers (MHIGH): the factorisation
// that meets a pivot without digits in its second equation names the second free
// degree of freedom of the mesh held at node 1.
TEST_F(DirectPaths, ProfileEquationsAreNamedByNodeAndDegreeOfFreedom) {
  PlaneMesh m;
  m.restraints = restraint(m.node(0, 0), 1, 1);
  read(m.deck());
  build_stiffness_profile();
  const std::int32_t* mhigh = WORK.ints(PROFILE.MHIGH);
  const DofPlace first = place_of_equation(mhigh, 1), last = place_of_equation(mhigh, 28);
  EXPECT_EQ(first.node, 2);
  EXPECT_EQ(first.dof, 1);
  EXPECT_EQ(last.node, m.node(m.nx, m.ny));
  EXPECT_EQ(last.dof, 2);
  EXPECT_EQ(place_of_equation(mhigh, 29).node, 0);
  // [[1, 1], [1, 1 + 1e-12]]: the second pivot keeps 1e-12 of its diagonal.
  std::vector<double> stiff = {1.0, 1.0 + 1.0E-12, 1.0};
  const std::vector<std::int32_t> maxad = {1, 2, 4};
  EXPECT_EQ(stop_of([&] { DECOMP(stiff.data(), maxad.data(), 2, false, mhigh); }), "DECOMP: MECANISMO NODO 2 GDL 2");
  EXPECT_NE(listing().find("ECUACION No.=         2 NODO=         2 GDL=  2\n"), std::string::npos);
  TearDown();
  // A negative pivot keeps its own stop, and the block is followed by the place.
  read(m.deck());
  build_stiffness_profile();
  stiff = {1.0, 1.0 - 1.0E-3, 1.0};
  EXPECT_EQ(stop_of([&] { DECOMP(stiff.data(), maxad.data(), 2, false, WORK.ints(PROFILE.MHIGH)); }),
            "DECOMP: MAT RIGIDEZ NO DEFINIDA POSITIVA");
  EXPECT_NE(listing().find("\nECUACION =   2\nPIVOTE = -0.100000000000E-02\nNODO =         2 GDL =  2\n"),
            std::string::npos);
}

// The pieces of the eigenvalue analysis around the profile: the lumped mass of every
// element on its global positions (each node's mass on both of its translations, so
// the free and prescribed entries sum to twice the mass of the plate), its gathering
// into equation order, and the element-by-element product with K, which is the
// product with the assembled profile.
TEST_F(DirectPaths, LumpedMassAndElementByElementProduct) {
  PlaneMesh m;
  m.nx = 4;
  m.ny = 3;
  m.lx = 2.0;
  m.density = 3.0;
  m.shape = [](int i, int j, double& x, double& y) { x += 0.05 * j * (i % 2 == 0 ? 1 : -1); y += 0.02 * i; };
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 1), 1, 1) + restraint(m.node(0, 3), 1, 0);
  read(m.deck());
  build_stiffness_profile();
  assemble_profile_stiffness();
  std::vector<double> xmast(PROBLEM.NTOTV, 0.0), xmasn(PROFILE.NEQNS, 0.0);
  assemble_lumped_mass(xmast.data());
  double total = 0.0;
  for (double v : xmast) total += v;
  EXPECT_NEAR(total, 2 * 3.0 * 2.0 * 1.0, 1e-12);  // the moved nodes keep the area 2 x 1
  gather_equations(xmast.data(), xmasn.data());
  const std::int32_t* mhigh = WORK.ints(PROFILE.MHIGH);
  for (int g = 0; g < PROBLEM.NTOTV; ++g) {
    if (mhigh[g] < 1) continue;
    EXPECT_EQ(xmasn[mhigh[g] - 1], xmast[g]);
  }
  std::vector<double> x(PROFILE.NEQNS), by_elements(PROFILE.NEQNS), assembled(PROFILE.NEQNS), back(PROBLEM.NTOTV);
  for (int i = 0; i < PROFILE.NEQNS; ++i) x[i] = std::sin(0.7 * i + 0.3);
  element_stiffness_product(mhigh, PROFILE.NEQNS, x.data(), by_elements.data());
  profile_product(WORK.reals(PROFILE.STIFF), WORK.ints(PROFILE.MAXAD), PROFILE.NEQNS, x.data(), assembled.data());
  for (int i = 0; i < PROFILE.NEQNS; ++i) EXPECT_NEAR(by_elements[i], assembled[i], 1e-10 * m.young) << i;
  scatter_equations(x.data(), back.data());
  for (int g = 0; g < PROBLEM.NTOTV; ++g) EXPECT_EQ(back[g], mhigh[g] > 0 ? x[mhigh[g] - 1] : 0.0);
}

TEST_F(DirectPaths, SupportOnAMissingDegreeOfFreedomAndUnknownSolverCodeStop) {
  PlaneMesh m;
  m.restraints = restraint(1, 1, 1) + restraint(6, 1, 1);
  read(m.deck());
  EXPECT_EQ(stop_of([] { solve(0); }), "SOLUCION: SOLVER NO IMPLEMENTADO");
  // A spring on a third degree of freedom of a node that has two.
  PROBLEM.MRESO = 1;
  PROBLEM.RESOR = DIRECT(RUN.NXTPOS, RUN.MEMORY, 1, "RESOR", INT_WORDS);
  PROBLEM.REDIR = DIRECT(RUN.NXTPOS, RUN.MEMORY, 1, "REDIR", INT_WORDS);
  PROBLEM.REVAL = DIRECT(RUN.NXTPOS, RUN.MEMORY, 1, "REVAL", REAL_WORDS);
  WORK.int_at(PROBLEM.RESOR) = 3;
  WORK.int_at(PROBLEM.REDIR) = 3;
  EXPECT_EQ(stop_of([] { solve(LDLT); }), "SOLUCION: APOYO EN GDL NO EXISTENTE");
}

}  // namespace
}  // namespace vortan
