// The flat-shell step of the problem build: translation of the coordinates, the
// coplanarity card, the averaged nodal normals and the rotations suppressed at the
// nodes whose elements are coplanar.
#include <gtest/gtest.h>

#include <cmath>

#include "../test_support.h"
#include "elements/shell_preparation.h"
#include "input/card_reader.h"
#include "input/dof_table.h"
#include "input/problem.h"
#include "analyses/driver_phases.h"
#include "run/errstp.h"

namespace vortan {
namespace {


// Two flat triangles sharing the side 2-3: the first in a horizontal plane, the
// second rising to node 4. Every coordinate is moved by (5, -2, 10).
std::string two_panel_deck(const std::string& coplanarity_card, bool with_postprocess = true) {
  return std::string("NUMERO_DE_NODOS NPNODS=4\nNUMERO_DE_SETS\nSOLVER LDLT\n") +
         (with_postprocess ? "POSTPROCESO FEMVIEW\n" : "") +
         "SET_NUMERO 1\nTIPO LAMINA_PLANA\nELEMENTO TR3 NELEM=2\nMATERIAL YOUNG=1 POISSON=0.2\nFIN_SET\n"
         "GEOMETRIA\n1 1 1 2 3\n2 1 2 4 3\n"
         "1 5 -2 10\n2 6 -2 10\n3 5 -1 10\n4 6 -1 11\nFIN_GEOMETRIA\n"
         "CONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\n" +
         coplanarity_card;
}

class FlatShellBuild : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }
  // Reads the deck through the problem-header phase of the drivers (with the flat-shell
  // step) and returns the message of the stop that ends it ("" if none); `with_shells`
  // false runs the two halves of the build without the step between them.
  std::string read(const std::string& deck, ProblemVariant variant = ProblemVariant::static_linear,
                   bool with_shells = true) {
    test::ensure_work_array();
    test::write_file(dir.file("S.vtn"), deck);
    test::open_deck(dir.file("S.vtn"));
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    try {
      if (with_shells) {
        INPEST(variant);
      } else {
        read_problem_definition(variant);
        complete_problem_build(variant);
      }
    } catch (const FatalStop& stop) {
      return stop.message();
    }
    return "";
  }
  double giros(int node, int d) { return WORK.reals(PROBLEM.GIROS)[(node - 1) + d * PROBLEM.NPNODS]; }
  double coord(int node, int d) { return WORK.reals(PROBLEM.COORD)[(node - 1) + d * PROBLEM.NPNODS]; }
  int ncont(int node) { return WORK.int_at(PROBLEM.NCONT + node - 1); }
  test::TempDir dir;
};

void unit(double* v) {
  const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  for (int i = 0; i < 3; ++i) v[i] /= length;
}

TEST(CoplanarityCosine, AnglesGiveTheirStoredCosine) {
  EXPECT_EQ(coplanarity_cosine(90.0), 0.0);  // cos 90 degrees computes to about 6e-17
  EXPECT_EQ(coplanarity_cosine(-1.0), -1.0);
  EXPECT_NEAR(coplanarity_cosine(30.0), std::sqrt(3.0) / 2.0, 1e-7);
  EXPECT_NEAR(coplanarity_cosine(89.0), std::cos(89.0 * M_PI / 180.0), 1e-7);
  EXPECT_EQ(coplanarity_cosine(0.0), 1.0);
  EXPECT_EQ(coplanarity_cosine(120.0), 0.0);  // negative cosines are below 1e-10 too
}

// The whole step on the two panels: translation, the card and the averaged normals.
TEST_F(FlatShellBuild, TwoInclinedPanelsGiveAveragedUnitNormals) {
  EXPECT_EQ(read(two_panel_deck("COPLANARIDAD TOLCP=30\n")), "");
  EXPECT_NEAR(PROBLEM.coplanarity, std::sqrt(3.0) / 2.0, 1e-7);
  EXPECT_EQ(PROBLEM.shell_shift[0], -5.0);
  EXPECT_EQ(PROBLEM.shell_shift[1], 2.0);
  EXPECT_EQ(PROBLEM.shell_shift[2], -10.0);
  const double moved[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}};
  for (int n = 1; n <= 4; ++n)
    for (int d = 0; d < 3; ++d) EXPECT_EQ(coord(n, d), moved[n - 1][d]) << n << " " << d;
  // Element 1 (nodes 1 2 3) faces +z; element 2 (nodes 2 4 3) faces (-1, -1, 1)/sqrt 3.
  double first[3] = {0, 0, 1}, second[3] = {-1, -1, 1}, shared[3];
  unit(second);
  for (int i = 0; i < 3; ++i) shared[i] = first[i] + second[i];
  unit(shared);
  const double* expected[4] = {first, shared, shared, second};
  const int counts[4] = {1, 2, 2, 1};
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(ncont(n), counts[n - 1]) << n;
    for (int d = 0; d < 3; ++d) EXPECT_NEAR(giros(n, d), expected[n - 1][d], 1e-12) << n << " " << d;
  }
  EXPECT_TRUE(CARD.word_is(1, "COPLANARIDAD"));  // nothing is read after the card
  flush_units();
  const std::string sal = test::read_file(dir.file("S.sal"));
  EXPECT_NE(sal.find(" ANGULO MAXIMO PARA COPLANARIDAD"), std::string::npos);
}

// Without "TOLCP=" the angle is 5 degrees: the panels' fold (each plane 27.4 degrees
// off the shared nodes' normal) is no coplanar node, and the echo shows the 5 used.
TEST_F(FlatShellBuild, CoplanarityCardDefaultsAndNegativeAngles) {
  EXPECT_EQ(read(two_panel_deck("COPLANARIDAD\n")), "");
  EXPECT_NEAR(PROBLEM.coplanarity, std::cos(5.0 * M_PI / 180.0), 1e-7);
  const int expected[4] = {2, 1, 1, 2};
  for (int node = 1; node <= 4; ++node) EXPECT_EQ(adres(node, 8), expected[node - 1]) << node;
  flush_units();
  EXPECT_NE(test::read_file(dir.file("S.sal")).find("       5.00000 (TOLCP)"), std::string::npos);
  reset_run_state();
  EXPECT_EQ(read(two_panel_deck("COPLANARIDAD TOLCP=90\n")), "");
  EXPECT_EQ(PROBLEM.coplanarity, 0.0);  // a value given is honoured as given
  reset_run_state();
  EXPECT_EQ(read(two_panel_deck("COPLANARIDAD TOLCP=-1\n")), "");
  EXPECT_EQ(PROBLEM.coplanarity, -1.0);
}

// Only the static linear reader moves the model; the normals are the same.
TEST_F(FlatShellBuild, OtherReadersKeepTheCoordinates) {
  EXPECT_EQ(read(two_panel_deck("COPLANARIDAD TOLCP=30\n", false), ProblemVariant::nonlinear), "");
  for (int d = 0; d < 3; ++d) EXPECT_EQ(PROBLEM.shell_shift[d], 0.0);
  EXPECT_EQ(coord(4, 0), 6.0);
  EXPECT_EQ(coord(4, 2), 11.0);
  EXPECT_EQ(ncont(2), 2);
  EXPECT_NEAR(giros(1, 2), 1.0, 1e-12);
}

// The panels meet at 54.7 degrees: each element normal is 27.4 degrees off the shared
// nodes' averaged normal. Within a tolerance of 30 degrees every node counts as
// coplanar and loses its sixth rotation (no averaged normal has a strictly dominant x
// or y); within 10 degrees only the nodes of one element each do, and the two shared
// nodes keep all six.
TEST_F(FlatShellBuild, CoplanarNodesLoseTheRotationAboutTheirNormal) {
  EXPECT_EQ(read(two_panel_deck("COPLANARIDAD TOLCP=30\n")), "");
  for (int node = 1; node <= 4; ++node) EXPECT_EQ(adres(node, 8), 2) << node;
  reset_run_state();
  EXPECT_EQ(read(two_panel_deck("COPLANARIDAD TOLCP=10\n")), "");
  const int expected[4] = {2, 1, 1, 2};
  for (int node = 1; node <= 4; ++node) {
    EXPECT_EQ(adres(node, 8), expected[node - 1]) << node;
    EXPECT_EQ(WORK.int_at(PROBLEM.IFFIX + kind_equation(node, 6) - 1), expected[node - 1] - 1) << node;
  }
}

// Two triangles of one plane numbered in opposite senses: their normals are opposite,
// yet the shared nodes' averaged normal is the plane's and every node is coplanar.
TEST_F(FlatShellBuild, OppositelyNumberedCoplanarElements) {
  const std::string deck =
      "NUMERO_DE_NODOS NPNODS=4\nNUMERO_DE_SETS\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
      "SET_NUMERO 1\nTIPO LAMINA_PLANA\nELEMENTO DKT NELEM=2\nMATERIAL YOUNG=1 POISSON=0.2\nFIN_SET\n"
      "GEOMETRIA\n1 1 1 2 3\n2 1 2 3 4\n1 0 0 0\n2 1 0 0\n3 0 1 0\n4 1 1 0\nFIN_GEOMETRIA\n"
      "CONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\nCOPLANARIDAD TOLCP=1\n";
  EXPECT_EQ(read(deck), "");
  for (int node = 1; node <= 4; ++node) {
    EXPECT_NEAR(std::fabs(giros(node, 2)), 1.0, 1e-12) << node;
    EXPECT_EQ(adres(node, 8), 2) << node;
  }
}

// Two TLCL flat shells folded at a right angle along the x axis (side 1-2): the first
// in z = 0, the second in y = 0. The fold's mid-side node keeps its three displacements
// (each plane moves it in its own plane) and the rotations about y and z (each plane
// turns it about its own in-plane normal to the side), and loses the one about the
// side; a mid-side node of one plane loses the displacement along the plane's normal
// and keeps only the rotation about the dominant axis of its in-plane normal. The
// corners follow the coplanarity rule: the fold's corners keep all six.
TEST_F(FlatShellBuild, TlclMidSideNodesKeepTheRotationsTheirSidesUse) {
  const std::string deck =
      "NUMERO_DE_NODOS NPNODS=9\nNUMERO_DE_SETS\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
      "SET_NUMERO 1\nTIPO LAMINA_PLANA\nELEMENTO TLCL NELEM=2\nMATERIAL YOUNG=1 POISSON=0.2\nFIN_SET\n"
      "GEOMETRIA\n1 1 1 2 3 5 6 7\n2 1 1 4 2 8 9 5\n"
      "1 0 0 0\n2 1 0 0\n3 0 1 0\n4 0 0 1\n5 0.5 0 0\n6 0.5 0.5 0\n7 0 0.5 0\n8 0 0 0.5\n9 0.5 0 0.5\n"
      "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\nCOPLANARIDAD\n";
  EXPECT_EQ(read(deck), "");
  // Codes of the kinds 1 to 6 (word 2 + kind of the nodal table): 1 free, 2 restrained.
  const int expected[9][6] = {{1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 2},
                              {1, 1, 1, 1, 2, 1}, {1, 1, 1, 2, 1, 1}, {1, 1, 2, 1, 2, 2},
                              {1, 1, 2, 1, 2, 2}, {1, 2, 1, 1, 2, 2}, {1, 2, 1, 1, 2, 2}};
  for (int node = 1; node <= 9; ++node)
    for (int kind = 1; kind <= 6; ++kind) {
      EXPECT_EQ(adres(node, 2 + kind), expected[node - 1][kind - 1]) << node << " " << kind;
      EXPECT_EQ(WORK.int_at(PROBLEM.IFFIX + kind_equation(node, kind) - 1), expected[node - 1][kind - 1] - 1)
          << node << " " << kind;
    }
}

// The input layer alone leaves the flat-shell step to the driver: no normals.
TEST_F(FlatShellBuild, WithoutTheShellStepNoNormalsAreMade) {
  EXPECT_EQ(read(two_panel_deck(""), ProblemVariant::static_linear, false), "");
  EXPECT_EQ(PROBLEM.GIROS, 0);
  EXPECT_TRUE(CARD.word_is(1, "FINCONDICIONESDECONTORNO"));
}

// The program's static linear analysis runs the preparation: its listing shows the
// coplanarity card; the panels are of an element type the shells are not built with.
TEST(FlatShellRun, StaticLinearRunReadsTheShellStep) {
  test::TempDir dir;
  test::write_file(dir.file("P.vtn"), "VORTAN\nANALISIS ESTATICO\nTITULO DOS PANELES\nGENERAL LINEAL\nMATERIAL LINEAL\n" +
                                               two_panel_deck("COPLANARIDAD TOLCP=30\n"));
  EXPECT_EQ(test::run_program(dir, "P.vtn"), 1);
  const std::string sal = test::read_file(dir.file("P.sal"));
  EXPECT_NE(sal.find(" ANGULO MAXIMO PARA COPLANARIDAD"), std::string::npos);
  EXPECT_NE(sal.find("ELETR3: ELEMENTO DE PLACA NO DISPONIBLE"), std::string::npos);
}

}  // namespace
}  // namespace vortan
