// The listing of the solution paths: the LDLT information block, the displacement and
// reaction tables with their headings and node selection, and the print switch.
#include <string>

#include "solve_fixture.h"
#include "solve/solution_tables.h"

namespace vortan {
namespace {

using test::PlaneMesh;

constexpr int GAUSS = 1;
constexpr int LDLT = 2;

class SolutionTables : public test::SolveTest {};

// One element, node 1 held: six equations 1..6 of heights 0..5 in node order. The
// block is printed before the factorisation, which then stops: the element may still
// turn about node 1.
TEST_F(SolutionTables, LdltInformationBlock) {
  PlaneMesh m;
  m.nx = 1;
  m.ny = 1;
  m.restraints = "1 1 1\n";
  read(m.deck());
  EXPECT_EQ(stop_of([] { solve(LDLT); }), "SKYTRI: MECANISMO NODO 4 GDL 2");
  EXPECT_NE(listing().find("\n\n     INFORMACION DE SOLUCION A SISTEMA DE ECUACIONES:\n     ==================\n\n"
                           "               NUMERO DE GDL              =       8\n"
                           "               NUMERO DE ECUACIONES       =       6\n"
                           "               MAX. ALTURA DE COLUMNA     =       6\n"
                           "               SEMI-ANCHO DE BANDA        =       4\n"
                           "               TAMA\x81\xA5O DE LA MATRIZ        =      21 (R*8)\n"),
            std::string::npos);
}

// Without loads every reaction is exactly zero: the Gauss path still lists the
// restrained nodes (with the sign of -0, the negated rest of their equations), the
// other paths list none.
TEST_F(SolutionTables, HeadingsAndTheNodesEachPathLists) {
  PlaneMesh m;
  m.nx = 2;
  m.ny = 1;
  m.restraints = "1 1 1\n4 1 0\n";
  read(m.deck());
  solve(GAUSS);
  const std::string displacements =
      "\n     DESPLAZAMIENTOS\n     NODO     X-DESP.       Y-DESP.\n"
      "         1  0.000000E+00  0.000000E+00\n";
  const std::string gauss_reactions =
      "\n     REACCIONES\n     NODO     X-FUERZA     Y-FUERZA\n"
      "         1 -0.000000E+00 -0.000000E+00\n         4 -0.000000E+00  0.000000E+00\n";
  std::string sal = listing();
  EXPECT_NE(sal.find(displacements), std::string::npos);
  EXPECT_NE(sal.find(gauss_reactions), std::string::npos);
  const std::size_t gauss_end = sal.size();
  solve(LDLT);
  sal = listing();
  const std::size_t heading = sal.find("\n     REACCIONES\n     NODO     X-FUERZA     Y-FUERZA\n", gauss_end);
  ASSERT_NE(heading, std::string::npos);
  EXPECT_EQ(sal.find("         1", heading), std::string::npos);
}

TEST_F(SolutionTables, PrintSwitchOffPrintsNothingButSolves) {
  PlaneMesh m;
  m.header_cards = "IMPRESIONES_GLOBALES SALIDA_DESPLAZAMIENTO NO_ACTIVO\n";
  m.restraints = "1 1 1\n11 1 1\n";
  read(m.deck());
  load(m.node(4, 2), 2, -1.0);
  const double gauss = solve(GAUSS).despl[at(m.node(4, 2), 2)];
  const double ldlt = solve(LDLT).despl[at(m.node(4, 2), 2)];
  EXPECT_LT(gauss, -1e-3);
  EXPECT_NEAR(gauss, ldlt, 1e-12 * std::abs(gauss));
  const std::string sal = listing();
  EXPECT_EQ(sal.find("DESPLAZAMIENTOS"), std::string::npos);
  EXPECT_EQ(sal.find("REACCIONES"), std::string::npos);
  EXPECT_EQ(sal.find("INFORMACION DE SOLUCION"), std::string::npos);
}

// A node of more than six values continues on lines of the same layout; the headings
// of a flat-shell problem.
TEST_F(SolutionTables, LongNodeLinesContinue) {
  read("NUMERO_DE_NODOS NPNODS=4\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
       "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=1\nMATERIAL YOUNG=1000.0 POISSON=0.25\nFIN_SET\n"
       "GEOMETRIA\n1 1 1 2 3 4\n1 0 0\n2 1 0\n3 1 1\n4 0 1\nFIN_GEOMETRIA\n"
       "CONDICIONES_DE_CONTORNO\n1 1 1\nFIN_CONDICIONES_DE_CONTORNO\nFIN\n");
  // Node 1 shown with eight values (its own two and node 2's, then node 3's).
  adres(1, 1) = 8;
  ACTIVE.NTYPE = 8;
  const double values[8] = {1, 2, 3, 4, 5, 6, 7, -8};
  for (int node = 2; node <= 4; ++node) adres(node, 1) = 0;
  print_displacement_table(values, SolutionPath::other);
  EXPECT_NE(listing().find("     NODO      DESP.-X      DESP.-Y      DESP.-Z      ROT.-XX      ROT.-YY      ROT.-ZZ\n"
                           "         1  0.100000E+01  0.200000E+01  0.300000E+01  0.400000E+01  0.500000E+01"
                           "  0.600000E+01\n"
                           "            0.700000E+01 -0.800000E+01\n"
                           "         2\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vortan
