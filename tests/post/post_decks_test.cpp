// Whole runs of the program that write post-processing files: the bundled cantilever's
// neutral file and the KELDAR files of a surface and of a solid model.
#include <gtest/gtest.h>

#include <string>

#include "../analyses/listing_tables.h"
#include "post_fixture.h"
#include "run/fortran_format.h"

namespace vortan {
namespace {

using test::block_names;
using test::fem_blocks;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Ten QU8 elements and 53 nodes: every block in its order with its counts, closed by
// its end line, and the file by " 9999".
TEST(PostDecks, CantileverNeutralFileIsWellFormed) {
  test::TempDir dir;
  int status = 0;
  test::run_deck_text(dir, "V", test::source_file("examples/cantilever-plane-stress.vtn"), &status);
  ASSERT_EQ(status, 0);
  const auto lines = test::lines_of(test::read_file(dir.file("V.fem")));
  const auto blocks = fem_blocks(lines);
  ASSERT_FALSE(blocks.empty()) << "the neutral file is not well formed";
  const std::vector<std::string> names = block_names(blocks);
  // The nodal blocks follow the integration-point stresses: the run smooths them.
  const std::vector<std::string> model = {"VOLADI", "CORRDE", "CONECT", "DESPLA",
                                          "TENGAU", "TENNOD", "PRCOMP", "PRTRAP"};
  EXPECT_EQ(names, model);
  EXPECT_EQ(blocks[1].lines.size(), 53u);
  ASSERT_EQ(blocks[2].lines.size(), 20u);
  for (int e = 0; e < 10; ++e) {
    EXPECT_EQ(blocks[2].lines[2 * e], " -1" + fmt::I(e + 1, 5) + "   10" + fmt::I(e + 1, 5) + fmt::I(e + 1, 5));
    EXPECT_EQ(blocks[2].lines[2 * e + 1].size(), 3u + 8 * 5);
  }
  EXPECT_EQ(blocks[2].lines[19], " -2   19   21   53   51   20   32   52   31");
  EXPECT_EQ(blocks[3].lines.size(), 53u);
  EXPECT_EQ(blocks[4].lines.size(), 5u + 10 * (1 + 2 * 9));
  for (std::size_t b = 5; b < blocks.size(); ++b) EXPECT_EQ(blocks[b].lines.size(), 5u + 53) << names[b];
}

TEST(PostDecks, KeldarRunsWriteTheMeshAndResultFiles) {
  const std::string cantilever = test::source_file("examples/cantilever-plane-stress.vtn");
  const std::string keldar =
      replaced(replaced(cantilever, "POSTPROCESO FEMVIEW", "POSTPROCESO KELDAR"), "FEMV VOLADI", "KELDAR VOLADIZO_QU8");
  test::TempDir dir;
  int status = 0;
  test::run_deck_text(dir, "K", keldar, &status);
  ASSERT_EQ(status, 0);
  EXPECT_FALSE(test::file_exists(dir.file("K.fem")));
  EXPECT_FALSE(test::file_exists(dir.file("K.keldar.msh")));
  const auto mesh = test::lines_of(test::read_file(dir.file("K.keldar.bon")));
  ASSERT_EQ(mesh.size(), 4u + 2 + 53 + 1 + 60);
  EXPECT_EQ(mesh[0], " KELDAR VOLADIZOQU MALLA");  // ten characters of the name
  EXPECT_EQ(mesh[1], "C ELABORADO POR TRADUCTOR FEMKEL");
  EXPECT_EQ(mesh[3], "C TITULO VOLADIZO QU8 10X1 CARGA EN EXTREMO");
  EXPECT_EQ(mesh[4], "      60      53       7");
  EXPECT_EQ(mesh[5], "  C O O R D E N A D A S");
  EXPECT_EQ(mesh[59], "  C O N E C T I V I D A D E S");
  const auto res = test::lines_of(test::read_file(dir.file("K.keldar.res")));
  ASSERT_GE(res.size(), 4u + 2 + 53);
  EXPECT_EQ(res[0], " KELDAR VOLADIZOQU RESULTADOS");
  EXPECT_EQ(res[4], " DISPLACEMENT               3      53       1");

  // The solid column: bricks, in the solid mesh file.
  const std::string column = test::source_file("examples/solid-column-self-weight.vtn");
  test::run_deck_text(dir, "C", replaced(replaced(column, "POSTPROCESO FEMVIEW", "POSTPROCESO KELDAR"), "FEMV COLUMNA",
                                         "KELDAR COLUMNA"),
                      &status);
  ASSERT_EQ(status, 0);
  EXPECT_FALSE(test::file_exists(dir.file("C.keldar.bon")));
  const auto solid = test::lines_of(test::read_file(dir.file("C.keldar.msh")));
  ASSERT_GT(solid.size(), 4u);
  EXPECT_EQ(solid[4].substr(16), "       1");
}

}  // namespace
}  // namespace vortan
