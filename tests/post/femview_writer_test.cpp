// The neutral file written in process for small models: every block line by line,
// the nodal blocks from smoothed stresses, the model name, beam models, the stops and
// the displacements at inclined supports.
#include <cmath>

#include "post/post_dispatch.h"
#include "post_fixture.h"

namespace vortan {
namespace {

using test::block_names;
using test::fem_blocks;
using test::fields;
using test::FREE;
using test::header;
using test::set_cards;

// The point number of an N line (I5).
std::string fmt_point(int g) { return std::string(4, ' ') + std::to_string(g); }

class FemviewFile : public test::PostTest {
 protected:
  // One 9-node square [0,2] x [0,2] in plane stress; local node k is global node 10 - k.
  void read_square(const std::string& femv_card = "FEMV CUADRADO\n") {
    read(header(9, 1) + set_cards(1, "TENSION_PLANA", "QU9", 1) +
         "GEOMETRIA\n1 1 9 8 7 6 5 4 3 2 1\n"
         "1 1 1\n2 0 1\n3 0 2\n4 1 2\n5 2 2\n6 2 1\n7 2 0\n8 1 0\n9 0 0\nFIN_GEOMETRIA\n" +
         FREE + femv_card);
  }
  std::vector<std::string> write() {
    post_process(POST_FEMVIEW, despl());
    return file_lines(".fem");
  }
};

// u = 0.002 x, v = 0: plane stress sx = E a / (1 - nu^2), sy = nu sx, sxy = 0.
TEST_F(FemviewFile, NineNodeSquareBlockByBlock) {
  read_square();
  for (int n = 1; n <= 9; ++n) set_dof(n, 1, 0.002 * coordinate(n, 0));
  const std::int32_t cursor = RUN.NXTPOS;
  const auto lines = write();
  EXPECT_EQ(RUN.NXTPOS, cursor);  // the writer's space is given back
  const std::vector<std::string> head = {
      "   -1CCUADRA",
      "   -2CCORRDE",
      " -1    1 0.10000E+01 0.10000E+01",
      " -1    2 0.00000E+00 0.10000E+01",
      " -1    3 0.00000E+00 0.20000E+01",
      " -1    4 0.10000E+01 0.20000E+01",
      " -1    5 0.20000E+01 0.20000E+01",
      " -1    6 0.20000E+01 0.10000E+01",
      " -1    7 0.20000E+01 0.00000E+00",
      " -1    8 0.10000E+01 0.00000E+00",
      " -1    9 0.00000E+00 0.00000E+00",
      " -3",
      "   -3CCONECT",
      " -1    1   10    1    1",                      // 9 nodes written as 8, code 10
      " -2    9    7    5    3    8    6    4    2",  // corners, then mid-sides
      " -3",
      "    4CDESPLA",
      " -1    1 0.20000E-02 0.00000E+00",
      " -1    2 0.00000E+00 0.00000E+00",
      " -1    3 0.00000E+00 0.00000E+00",
      " -1    4 0.20000E-02 0.00000E+00",
      " -1    5 0.40000E-02 0.00000E+00",
      " -1    6 0.40000E-02 0.00000E+00",
      " -1    7 0.40000E-02 0.00000E+00",
      " -1    8 0.20000E-02 0.00000E+00",
      " -1    9 0.00000E+00 0.00000E+00",
      " -3",
      "  100CTENGAU",
      " -4  TENGAU      3    4    1",
      " -5  SXX         1    4    1    1    0" + std::string(16, ' '),
      " -5  SYY         1    4    2    2    0" + std::string(16, ' '),
      " -5  SXY         1    4    1    2    0" + std::string(16, ' '),
      " -6    1    3  1  2  3",
      " -1    1   10    1    3    4    1    9",
  };
  ASSERT_GE(lines.size(), head.size() + 18 + 2);
  for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;
  // Nine points: coordinates 1 + (-r, 0, r) each way, then the constant stresses.
  const double r = std::sqrt(0.6), sx = 1000.0 * 0.002 / 0.9375;
  for (int g = 1; g <= 9; ++g) {
    const std::string& at = lines[head.size() + 2 * (g - 1)];
    const std::string& stress = lines[head.size() + 2 * (g - 1) + 1];
    EXPECT_EQ(at.substr(0, 8), " -2" + fmt_point(g)) << at;
    EXPECT_EQ(stress.substr(0, 8), " -2" + fmt_point(g)) << stress;
    const std::vector<double> x = fields(at, 8, 12), s = fields(stress, 8, 12);
    ASSERT_EQ(x.size(), 2u);
    ASSERT_EQ(s.size(), 3u);
    for (double xi : x) EXPECT_TRUE(std::fabs(xi - 1.0) < 1e-5 || std::fabs(std::fabs(xi - 1.0) - r) < 1e-5) << at;
    EXPECT_NEAR(s[0], sx, 1e-4);
    EXPECT_NEAR(s[1], 0.25 * sx, 1e-5);
    EXPECT_NEAR(s[2], 0.0, 1e-9);
  }
  // No smoothing ran: no nodal blocks; the file ends after the point stresses.
  EXPECT_EQ(block_names(fem_blocks(lines)), (std::vector<std::string>{"CUADRA", "CORRDE", "CONECT", "DESPLA", "TENGAU"}));
  EXPECT_EQ(lines.size(), head.size() + 18 + 2);
}

// Smoothed (sx, sy, txy, sz) = (n, -1, 0, 0.5) at node n: the nodal stresses and the
// principal traction n along x and compression 1 along y.
TEST_F(FemviewFile, NodalStressAndPrincipalBlocksFromTheSmoothedStresses) {
  read_square();
  smooth_by_hand(4, [](int n, int c) { return c == 0 ? n : c == 1 ? -1.0 : c == 2 ? 0.0 : 0.5; });
  const auto blocks = fem_blocks(write());
  ASSERT_EQ(block_names(blocks), (std::vector<std::string>{"CUADRA", "CORRDE", "CONECT", "DESPLA", "TENGAU", "TENNOD",
                                                           "PRCOMP", "PRTRAP"}));
  const auto& nodal = blocks[5].lines;
  ASSERT_EQ(nodal.size(), 5u + 9);
  EXPECT_EQ(nodal[0], " -4  TENNOD      3    4    1");
  EXPECT_EQ(nodal[4], " -6    1    3  1  2  3");
  EXPECT_EQ(nodal[5 + 2], " -1    3 0.30000E+01-0.10000E+01 0.00000E+00");
  const auto& compression = blocks[6].lines;
  ASSERT_EQ(compression.size(), 5u + 9);
  EXPECT_EQ(compression[0], " -4  PRCOMPST    3    4    1");
  EXPECT_EQ(compression[1], " -5  T1-x        1    4    1    0    0" + std::string(16, ' '));
  EXPECT_EQ(compression[5 + 2], " -1    3 0.00000E+00-0.10000E+01 0.00000E+00");
  const auto& traction = blocks[7].lines;
  EXPECT_EQ(traction[0], " -4  PRTRAPST    3    4    1");
  EXPECT_EQ(traction[5 + 2], " -1    3 0.30000E+01 0.00000E+00 0.00000E+00");
}

// The axisymmetric record (sr, sz, trz, hoop) is written in the order SR, SZ, ST, SRZ.
TEST_F(FemviewFile, AxisymmetricNodalStressesFollowTheComponentNames) {
  read(header(4, 1) + set_cards(1, "SOLIDO_DE_REVOLUCION", "QU4", 1) +
       "GEOMETRIA\n1 1 1 2 3 4\n1 1 0\n2 2 0\n3 2 1\n4 1 1\nFIN_GEOMETRIA\n" + FREE + "FEMV ANILLO\n");
  smooth_by_hand(4, [](int, int c) { return c + 1.0; });
  const auto blocks = fem_blocks(write());
  ASSERT_EQ(blocks.size(), 8u);
  const auto& nodal = blocks[5].lines;
  EXPECT_EQ(nodal[3].substr(0, 8), " -5  ST ");
  EXPECT_EQ(nodal[6], " -1    1 0.10000E+01 0.20000E+01 0.40000E+01 0.30000E+01");
  // The point stresses follow the same order: zero displacements give zero stresses.
  EXPECT_EQ(blocks[4].lines[6], " -1    1    9    1    4    4    1    4");
}

TEST_F(FemviewFile, ModelNamesArePaddedOrCutToSixCharacters) {
  read_square("FEMV VOL\n");
  EXPECT_EQ(write()[0], "   -1CVOL   ");
  read_square("FEMV VOLADIZO_LARGO\n");
  EXPECT_EQ(write()[0], "   -1CVOLADI");
  read_square("FEMV\n");
  EXPECT_EQ(test::stop_message_of([&] { write(); }), "FEMV   : TARJETA EQUIVOCADA EN FEMV");
  read_square("KELDAR VOLADIZO\n");
  EXPECT_EQ(test::stop_message_of([&] { write(); }), "FEMV   : TARJETA EQUIVOCADA EN FEMV");
}

// A model of beam sets only: coordinates, connectivity and displacements, then the end.
TEST_F(FemviewFile, BeamModelHasNoStressBlocks) {
  read(header(3, 1) + "SET_NUMERO 1\nTIPO VIGA ARMADURA NELEM=2\nMATERIAL YOUNG=1000 AREA=1\nFIN_SET\n" +
       "GEOMETRIA\n1 1 1 2\n2 1 2 3\n1 0 0\n2 1 0\n3 2 1\nFIN_GEOMETRIA\n" + FREE + "FEMV CELOSIA\n");
  smooth_by_hand(3, [](int, int) { return 1.0; });
  const auto lines = write();
  const auto blocks = fem_blocks(lines);
  ASSERT_EQ(block_names(blocks), (std::vector<std::string>{"CELOSI", "CORRDE", "CONECT", "DESPLA"}));
  EXPECT_EQ(blocks[2].lines[0], " -1    1   11    1    1");
  EXPECT_EQ(blocks[2].lines[3], " -2    2    3");
  EXPECT_EQ(lines[lines.size() - 2], " -3");
}

TEST_F(FemviewFile, ProblemTypeWithoutStressBlocksStops) {
  read(header(3, 1) + set_cards(1, "ELEMENTO_FINITO_VIGA", "LI3", 1) +
       "GEOMETRIA\n1 1 1 2 3\n1 0 0\n2 1 0\n3 2 0\nFIN_GEOMETRIA\n" + FREE + "FEMV VIGA\n");
  EXPECT_EQ(test::stop_message_of([&] { write(); }), "FEMV:ERROR SELECCION TIPO DE PROBLEMA");
  EXPECT_NE(listing().find("\n ERROR EN SELECCION DE TIPO DE PROBLEMA\n"), std::string::npos);
}

// The elements solve for the pair of node 2 in the axes of its support (30 degrees);
// the file gives it in the global axes and the solution is left as it was.
TEST_F(FemviewFile, InclinedSupportDisplacementsInGlobalAxes) {
  read(header(4, 1, "FEMVIEW", " MAPOY=1") + set_cards(1, "TENSION_PLANA", "QU4", 1) +
       "GEOMETRIA\n1 1 1 2 3 4\n1 0 0\n2 1 0\n3 1 1\n4 0 1\nFIN_GEOMETRIA\n" + FREE +
       "APOYOS_INCLINADOS\n2 30.0\nFIN_APOYOS_INCLINADOS\nFEMV APOYO\n");
  set_dof(2, 1, 1.0);
  set_dof(2, 2, 0.5);
  set_dof(3, 1, 0.25);
  const auto blocks = fem_blocks(write());
  ASSERT_GE(blocks.size(), 4u);
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  const std::vector<double> node2 = fields(blocks[3].lines[1], 8, 12);
  EXPECT_NEAR(node2[0], c * 1.0 - s * 0.5, 1e-5);
  EXPECT_NEAR(node2[1], s * 1.0 + c * 0.5, 1e-5);
  EXPECT_EQ(blocks[3].lines[2], " -1    3 0.25000E+00 0.00000E+00");
  EXPECT_EQ(despl()[kind_equation(2, 1) - 1], 1.0);
  EXPECT_EQ(despl()[kind_equation(2, 2) - 1], 0.5);
}

// A flat-shell node on an inclined support (90 degrees) solves for its displacements
// and its rotations about x and y in the support's axes: the file turns both pairs.
TEST_F(FemviewFile, InclinedSupportOfAFlatShellNodeTurnsBothPairs) {
  read(header(3, 1, "FEMVIEW", " MAPOY=1") + set_cards(1, "LAMINA_PLANA", "DKT", 1) +
       "GEOMETRIA\n1 1 1 2 3\n1 0 0 0\n2 1 0 0\n3 0 1 0\nFIN_GEOMETRIA\n" + FREE +
       "COPLANARIDAD\nAPOYOS_INCLINADOS\n2 90.0\nFIN_APOYOS_INCLINADOS\nFEMV APOYO\n");
  const double values[6] = {1.0, 0.5, 0.25, 2.0, 3.0, 0.0};
  for (int kind = 1; kind <= 5; ++kind) set_dof(2, kind, values[kind - 1]);
  const auto blocks = fem_blocks(write());
  ASSERT_GE(blocks.size(), 4u);
  ASSERT_EQ(blocks[3].name, "DESPLA");
  std::vector<double> node2 = fields(blocks[3].lines[1], 8, 12);
  if (blocks[3].lines.size() > 2 && blocks[3].lines[2].rfind(" -2", 0) == 0) {
    const std::vector<double> more = fields(blocks[3].lines[2], 8, 12);
    node2.insert(node2.end(), more.begin(), more.end());
  }
  ASSERT_GE(node2.size(), 5u);
  EXPECT_NEAR(node2[0], -0.5, 1e-5);
  EXPECT_NEAR(node2[1], 1.0, 1e-5);
  EXPECT_NEAR(node2[2], 0.25, 1e-5);
  EXPECT_NEAR(node2[3], -3.0, 1e-5);
  EXPECT_NEAR(node2[4], 2.0, 1e-5);
}

}  // namespace
}  // namespace vortan
