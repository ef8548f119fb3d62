// The whole problem definition read from a deck: sets, connectivity, coordinates,
// restraints, the degree-of-freedom table, fixity and the set storage files.
#include <gtest/gtest.h>

#include <filesystem>

#include "../test_support.h"
#include "input/card_reader.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "analyses/driver_phases.h"
#include "run/errstp.h"

namespace vortan {
namespace {

class ProblemBuild : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }
  // Reads a deck holding the header cards onwards (the analysis is already selected).
  void read(const std::string& deck, ProblemVariant variant = ProblemVariant::static_linear) {
    test::ensure_work_array();
    test::write_file(dir.file("B.vtn"), deck);
    test::open_deck(dir.file("B.vtn"));
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    INPEST(variant);
  }
  std::string listing() {
    flush_units();
    return test::read_file(dir.file("B.sal"));
  }
  test::TempDir dir;
};

// The example cantilever from the header cards on: 53 nodes of two unknowns, three
// nodes restrained in both directions.
TEST_F(ProblemBuild, ExampleCantileverDefinition) {
  const std::string full = test::read_file(std::string(VORTAN_SOURCE_DIR) + "/examples/cantilever-plane-stress.vtn");
  const std::size_t header = full.find("NUMERO_DE_NODOS");
  read(full.substr(header));
  EXPECT_EQ(PROBLEM.NPNODS, 53);
  EXPECT_EQ(PROBLEM.NELEM, 10);
  EXPECT_EQ(PROBLEM.NDIME, 2);
  EXPECT_EQ(PROBLEM.NDOFG, 2);
  EXPECT_EQ(PROBLEM.NTOTV, 106);
  EXPECT_EQ(PROBLEM.NVFIX, 3);
  int restrained = 0;
  for (int i = 0; i < PROBLEM.NTOTV; ++i) restrained += WORK.int_at(PROBLEM.IFFIX + i);
  EXPECT_EQ(restrained, 6);
  EXPECT_EQ(WORK.int_at(PROBLEM.IFFIX + 2 * 21), 1);  // node 22, first unknown
  EXPECT_EQ(adres(53, 2), 104);
  EXPECT_EQ(kind_equation(53, 2), 106);
  EXPECT_TRUE(CARD.word_is(1, "FINCONDICIONESDECONTORNO"));  // the last card read
  const std::string sal = listing();
  EXPECT_NE(sal.find(" NUMERO TOTAL DE GRADOS DE LIBERTAD"), std::string::npos);
  EXPECT_NE(sal.find("INFORMACION DE ALMACENAMIENTO DINAMICO PARA EL SET   1"), std::string::npos);
}

// A plane set and a plate set sharing a node: the node carries the union of their
// kinds, its restraint codes follow its own kinds, and prescribed values land on the
// right equations.
TEST_F(ProblemBuild, SharedNodesCarryTheUnionOfTheirSetsKinds) {
  read("NUMERO_DE_NODOS NPNODS=5\nNUMERO_DE_SETS NSETS=2\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
       "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO TR3 NELEM=1\nMATERIAL YOUNG=1 POISSON=0.2\nFIN_SET\n"
       "SET_NUMERO 2\nTIPO PLACA\nELEMENTO TR3 NELEM=1\nMATERIAL YOUNG=1 POISSON=0.2 ESPESOR=0.1\nFIN_SET\n"
       "GEOMETRIA\n1 1 1 2 3\n2 2 3 4 5\n1 0 0\n2 1 0\n3 0 1\n4 1 1\n5 0 2\nFIN_GEOMETRIA\n"
       "CONDICIONES_DE_CONTORNO\n3 1 0 1 0 0   0.5 0 0.25 0 0\n1 1 1 0 0 0\nFIN_CONDICIONES_DE_CONTORNO\nFIN\n");
  EXPECT_EQ(PROBLEM.NDOFG, 5);
  EXPECT_EQ(adres(3, 1), 5);                 // kinds 1 to 5 meet at node 3
  EXPECT_EQ(adres(1, 1), 2);
  EXPECT_EQ(adres(4, 1), 3);
  EXPECT_EQ(PROBLEM.NTOTV, 2 + 2 + 5 + 3 + 3);
  EXPECT_EQ(adres(3, 2), 4);
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  EXPECT_EQ(iffix[4], 1);      // node 3, kind 1
  EXPECT_EQ(fixed[4], 0.5);
  EXPECT_EQ(iffix[5], 0);
  EXPECT_EQ(iffix[6], 1);      // node 3, kind 3
  EXPECT_EQ(fixed[6], 0.25);
  EXPECT_EQ(iffix[0] + iffix[1], 2);
}

// A lone flat triangle: its three nodes are coplanar, so each loses the rotation about
// its normal (the sixth kind, the normal being z): restrained in ADRES and IFFIX.
TEST_F(ProblemBuild, FlatShellNodesLoseTheRotationAboutTheirNormal) {
  read("NUMERO_DE_NODOS NPNODS=3\nNUMERO_DE_SETS\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
       "SET_NUMERO 1\nTIPO LAMINA_PLANA\nELEMENTO DKT NELEM=1\nMATERIAL YOUNG=1 POISSON=0.2\nFIN_SET\n"
       "GEOMETRIA\n1 1 1 2 3\n1 0 0 0\n2 1 0 0\n3 0 1 0\nFIN_GEOMETRIA\n"
       "CONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\n"
       "COPLANARIDAD TOLCP=10\n");
  EXPECT_EQ(PROBLEM.NTOTV, 18);
  for (int node = 1; node <= 3; ++node) {
    for (int kind = 1; kind <= 5; ++kind) EXPECT_EQ(adres(node, 2 + kind), 1) << node << " " << kind;
    EXPECT_EQ(adres(node, 8), 2) << node;
    EXPECT_EQ(WORK.int_at(PROBLEM.IFFIX + 6 * node - 1), 1) << node;
  }
  EXPECT_GT(PROBLEM.shell.GIROT, 0);
  EXPECT_EQ(PROBLEM.shell.first, 6);
  EXPECT_EQ(PROBLEM.shell.second, 18);
}

}  // namespace
}  // namespace vortan
