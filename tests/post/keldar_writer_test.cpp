// The KELDAR files written in process: the mesh file chosen by the model, its
// headings, counts and pieces, and the result blocks from displacements, smoothed
// stresses and element errors.
#include <cmath>

#include "post/element_shapes.h"
#include "post/keldar_writer.h"
#include "post/post_dispatch.h"
#include "post_fixture.h"

namespace vortan {
namespace {

using test::fields;
using test::FREE;
using test::header;
using test::set_cards;

class KeldarFiles : public test::PostTest {
 protected:
  // Two 8-node squares side by side over [0, 2] x [0, 1]; nodes 3, 7 and 11 are shared.
  void read_strip(const std::string& card = "KELDAR TIRA\n") {
    read(header(13, 1, "KELDAR") + set_cards(1, "TENSION_PLANA", "QU8", 2) +
         "GEOMETRIA\n1 1 1 2 3 7 11 10 9 6\n2 1 3 4 5 8 13 12 11 7\n"
         "1 0 0\n2 0.5 0\n3 1 0\n4 1.5 0\n5 2 0\n6 0 0.5\n7 1 0.5\n8 2 0.5\n"
         "9 0 1\n10 0.5 1\n11 1 1\n12 1.5 1\n13 2 1\nFIN_GEOMETRIA\n" +
         FREE + card);
  }
  void write() { post_process(POST_KELDAR, despl()); }

  // The line index of a block heading of the result file (its nth occurrence).
  static std::size_t heading(const std::vector<std::string>& lines, const std::string& name, int nth = 1) {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].rfind(" " + name + "  ", 0) == 0 && --nth == 0) return i;
    return lines.size();
  }
};

TEST_F(KeldarFiles, SurfaceMeshOfTrianglesWithHeadingsAndCounts) {
  read_strip();
  for (int n = 1; n <= 13; ++n) set_dof(n, 2, -0.01 * coordinate(n, 0));
  write();
  EXPECT_FALSE(test::file_exists(dir.file("P.keldar.msh")));
  const auto mesh = file_lines(".keldar.bon");
  ASSERT_EQ(mesh.size(), 4u + 1 + 1 + 13 + 1 + 12);
  EXPECT_EQ(mesh[0], " KELDAR TIRA       MALLA");
  EXPECT_EQ(mesh[1], "C ELABORADO POR TRADUCTOR FEMKEL");
  EXPECT_EQ(mesh[2], "C PROGRAMA DE ELEMENTOS FINITOS VORTAN");
  EXPECT_EQ(mesh[3].substr(0, 1), "C");
  EXPECT_EQ(mesh[4], "      12      13       7");  // two 8-node squares: six triangles each
  EXPECT_EQ(mesh[5], "  C O O R D E N A D A S");
  EXPECT_EQ(mesh[6 + 3], "       4 0.15000000E+01 0.00000000E+00 0.00000000E+00");
  EXPECT_EQ(mesh[19], "  C O N E C T I V I D A D E S");
  // Piece, three nodes, set, element: the corner triangle at node 1, then the last
  // triangle of the second element.
  EXPECT_EQ(mesh[20], "       1       1       2       6       1       1");
  EXPECT_EQ(mesh[31], "      12       4      12       7       1       2");
  const auto res = file_lines(".keldar.res");
  EXPECT_EQ(res[0], " KELDAR TIRA       RESULTADOS");
  EXPECT_EQ(res[1], "C ELABORADO POR TRADUCTOR FEMKEL");
  const std::size_t d = heading(res, "DISPLACEMENT");
  ASSERT_EQ(d, 4u);
  EXPECT_EQ(res[d], " DISPLACEMENT               3      13       1");
  EXPECT_EQ(res[d + 1], "                 X-DISP         Y-DISP         Z-DISP");
  EXPECT_EQ(res[d + 2 + 4], "       5 0.00000000E+00-0.20000000E-01 0.00000000E+00");
  // Without smoothed stresses the file ends after the displacements.
  EXPECT_EQ(res.size(), d + 2 + 13);
}

// Smoothed (sx, sy, txy, sz) = (n, -1, 0, 0) at node n and element errors 10 and 30 %.
TEST_F(KeldarFiles, StressPrincipalVonMisesAndErrorBlocks) {
  read_strip();
  smooth_by_hand(4, [](int n, int c) { return c == 0 ? n : c == 1 ? -1.0 : 0.0; });
  errors_by_hand({10.0, 30.0});
  write();
  const auto res = file_lines(".keldar.res");
  const std::size_t s1 = heading(res, "NODAL STRESS"), s2 = heading(res, "NODAL STRESS", 2);
  ASSERT_LT(s2, res.size());
  EXPECT_EQ(res[s1], " NODAL STRESS               3      13       1");
  EXPECT_EQ(res[s1 + 1], "                     Sx             Sy             Sz");
  EXPECT_EQ(res[s1 + 2 + 2], "       3 0.30000000E+01-0.10000000E+01 0.00000000E+00");
  EXPECT_EQ(res[s2], " NODAL STRESS               1      13       1");
  EXPECT_EQ(res[s2 + 1], "                    Sxy");
  const std::size_t c = heading(res, "PRCOMPSTR"), t = heading(res, "PRTRAPSTR"), m = heading(res, "NODAL V. MISES");
  ASSERT_LT(m, res.size());
  EXPECT_LT(c, t);
  EXPECT_EQ(res[c + 1], "                   T1-x           T1-y           T1-z");
  EXPECT_EQ(res[c + 2 + 2], "       3 0.00000000E+00-0.10000000E+01 0.00000000E+00");
  EXPECT_EQ(res[t + 2 + 2], "       3 0.30000000E+01 0.00000000E+00 0.00000000E+00");
  EXPECT_EQ(res[m + 1], "              VON MISES");
  EXPECT_NEAR(fields(res[m + 2 + 2], 8, 15)[0], std::sqrt(13.0), 1e-7);  // sx = 3, sy = -1
  // The errors: every triangle of an element carries its error; the nodal error is the
  // mean over the elements at the node.
  const std::size_t e = heading(res, "ERELE"), n = heading(res, "ERROR NODAL");
  ASSERT_LT(n, res.size());
  EXPECT_EQ(res[e], " ERELE                      1      12       2");
  EXPECT_EQ(res[e + 1], "                  CUANT");
  EXPECT_EQ(res[e + 2 + 5], "       6 0.10000000E+02 0.00000000E+00 0.00000000E+00");
  EXPECT_EQ(res[e + 2 + 6], "       7 0.30000000E+02 0.00000000E+00 0.00000000E+00");
  EXPECT_EQ(res[n + 2 + 0], "       1 0.10000000E+02 0.00000000E+00 0.00000000E+00");
  EXPECT_EQ(res[n + 2 + 2], "       3 0.20000000E+02 0.00000000E+00 0.00000000E+00");
  EXPECT_EQ(res[n + 2 + 4], "       5 0.30000000E+02 0.00000000E+00 0.00000000E+00");
  EXPECT_EQ(res.size(), n + 2 + 13);
  // The same run with the error switch off writes no error blocks.
  read_strip();
  smooth_by_hand(4, [](int, int) { return 1.0; });
  write();
  EXPECT_EQ(heading(file_lines(".keldar.res"), "ERELE"), file_lines(".keldar.res").size());
}

TEST_F(KeldarFiles, SolidModelsGoToTheSolidMeshFile) {
  const std::string cube = "1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n5 0 0 1\n6 1 0 1\n7 1 1 1\n8 0 1 1\n";
  read(header(8, 1, "KELDAR") + set_cards(1, "SOLIDO", "HE8", 1) + "GEOMETRIA\n1 1 1 2 3 4 5 6 7 8\n" + cube +
       "FIN_GEOMETRIA\n" + FREE + "KELDAR CUBO\n");
  write();
  EXPECT_FALSE(test::file_exists(dir.file("P.keldar.bon")));
  auto mesh = file_lines(".keldar.msh");
  ASSERT_EQ(mesh.size(), 4u + 1 + 1 + 8 + 1 + 1);
  EXPECT_EQ(mesh[4], "       1       8       1");
  EXPECT_EQ(mesh[15], "       1       1       2       3       4       5       6       7       8       1       1");
  // A tetrahedral model keeps four nodes per element.
  read(header(8, 1, "KELDAR") + set_cards(1, "SOLIDO", "TE4", 2) + "GEOMETRIA\n1 1 1 2 4 5\n2 1 2 3 4 7\n" + cube +
       "FIN_GEOMETRIA\n" + FREE + "KELDAR TETRA\n");
  write();
  mesh = file_lines(".keldar.msh");
  EXPECT_EQ(mesh[4], "       2       8       3");
  EXPECT_EQ(mesh[16], "       2       2       3       4       7       1       2");
}

TEST_F(KeldarFiles, BeamModelIsAMeshOfLines) {
  read(header(3, 1, "KELDAR") + "SET_NUMERO 1\nTIPO VIGA ARMADURA NELEM=2\nMATERIAL YOUNG=1000 AREA=1\nFIN_SET\n" +
       "GEOMETRIA\n1 1 1 2\n2 1 2 3\n1 0 0\n2 1 0\n3 2 1\nFIN_GEOMETRIA\n" + FREE + "KELDAR CELOSIA\n");
  EXPECT_EQ(keldar_mesh_code(), KELDAR_LINES);
  write();
  const auto mesh = file_lines(".keldar.bon");
  EXPECT_EQ(mesh[4], "       2       3      11");
  EXPECT_EQ(mesh.back(), "       2       2       3       1       2");
}

TEST_F(KeldarFiles, CardWithoutModelNameStops) {
  read_strip("KELDAR\n");
  EXPECT_EQ(test::stop_message_of([&] { write(); }), "KELDAR   : TARJETA EQUIVOCADA EN KELDAR");
}

}  // namespace
}  // namespace vortan
