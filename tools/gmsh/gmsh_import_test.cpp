// The Gmsh import tool: its node orders against the program's shape functions, the
// orientation of surface elements, its errors, and skeletons that run end to end.
#include <gtest/gtest.h>
#include <gmsh.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../../tests/analyses/listing_tables.h"
#include "../../tests/post/vtk_read_back.h"
#include "elements/shape_functions.h"
#include "gmsh_import.h"
#include "input/catalogue.h"

namespace vortan {
namespace {

using namespace gmsh_import;

int catalogue_code(const std::string& keyword) {
  for (int code = 1; code <= ELEMENT_TYPE_COUNT; ++code)
    if (element_keyword(code) == keyword) return code;
  return 0;
}

// A Gmsh session for the tests that build models through the library.
class GmshModel : public ::testing::Test {
 protected:
  void SetUp() override {
    gmsh::initialize();
    gmsh::option::setNumber("General.Terminal", 0);
    gmsh::model::add("test");
  }
  void TearDown() override { gmsh::finalize(); }
};

// Every Gmsh node of every element the tool takes sits, at its reference coordinates
// (Gmsh's and the program's natural coordinates coincide), on the catalogue node the
// tool gives it: that node's shape function is 1 there and no other is. Types the
// catalogue lacks map to nothing.
TEST_F(GmshModel, NodeOrdersMatchTheShapeFunctions) {
  const std::map<int, std::string> taken = {{2, "TR3"},  {9, "TR6"},   {3, "QU4"},   {16, "QU8"},
                                            {10, "QU9"}, {4, "TE4"},   {11, "TE10"}, {5, "HE8"},
                                            {17, "HE20"}, {12, "HE27"}, {18, "PI15"}};
  for (const auto& [gmsh_type, keyword] : taken) {
    const NodeMap map = catalogue_element(gmsh_type);
    ASSERT_NE(map.keyword, nullptr) << keyword;
    ASSERT_EQ(map.keyword, keyword);
    const int code = catalogue_code(keyword);
    ASSERT_GT(code, 0) << keyword;
    std::string name;
    int dim = 0, order = 0, nodes = 0, primary = 0;
    std::vector<double> local;
    gmsh::model::mesh::getElementProperties(gmsh_type, name, dim, order, nodes, local, primary);
    ASSERT_EQ(map.count, nodes) << keyword;
    ASSERT_EQ(map.count, element_nodes(code)) << keyword;
    for (int i = 0; i < nodes; ++i) {
      double x[3] = {0, 0, 0};
      for (int d = 0; d < dim; ++d) x[d] = local[dim * i + d];
      double f[MAX_SHAPE_FUNCTIONS] = {}, df[3 * MAX_SHAPE_FUNCTIONS] = {};
      FUNFOR(x[0], x[1], x[2], code, element_natural_dimension(code), f, df);
      for (int k = 1; k <= nodes; ++k)
        EXPECT_EQ(std::abs(f[k - 1] - 1.0) < 1e-12, k == map.position[i])
            << keyword << " Gmsh node " << i << " catalogue node " << k << " N=" << f[k - 1];
    }
    // A surface element run the other way round is its mirror image in u = v.
    const std::vector<int> flip = reversed_order(gmsh_type);
    EXPECT_EQ(flip.empty(), dim != 2) << keyword;
    if (!flip.empty()) {
      ASSERT_EQ(static_cast<int>(flip.size()), nodes);
      for (int k = 0; k < nodes; ++k) {
        EXPECT_DOUBLE_EQ(local[2 * flip[k]], local[2 * k + 1]) << keyword << " node " << k;
        EXPECT_DOUBLE_EQ(local[2 * flip[k] + 1], local[2 * k]) << keyword << " node " << k;
      }
    }
  }
  for (int missing : {1, 6, 7, 8, 13, 14, 15, 19, 21, 36})
    EXPECT_EQ(catalogue_element(missing).count, 0) << "Gmsh type " << missing;
}

// A clockwise square is written counter-clockwise; the skeleton's header, node
// coordinates, set and restraints are those of the model.
TEST_F(GmshModel, SkeletonOfASquareTurnsAClockwiseElement) {
  gmsh::model::addDiscreteEntity(2, 1);
  gmsh::model::mesh::addNodes(2, 1, {11, 12, 13, 14}, {0, 0, 0, 0, 2, 0, 3, 2, 0, 3, 0, 0});
  gmsh::model::mesh::addElementsByType(1, 3, {1}, {11, 12, 13, 14});  // clockwise
  gmsh::model::addDiscreteEntity(1, 5);
  gmsh::model::mesh::addElementsByType(5, 1, {2}, {11, 12});
  gmsh::model::addPhysicalGroup(2, {1}, 1);
  gmsh::model::setPhysicalName(2, 1, "sheet");
  gmsh::model::addPhysicalGroup(1, {5}, 2);
  gmsh::model::setPhysicalName(1, 2, "edge");
  Options o;
  o.input = "square.msh";
  o.restraints = {parse_restraint("edge=x"), parse_restraint("edge=y:-0.5")};
  const std::string deck = deck_of_current_model(o);
  const auto lines = test::lines_of(deck);
  const auto has = [&](const std::string& l) { return std::find(lines.begin(), lines.end(), l) != lines.end(); };
  EXPECT_TRUE(has("NUMERO_DE_NODOS NPNODS=4"));
  EXPECT_TRUE(has("NUMERO_DE_SETS NSETS=1"));
  EXPECT_TRUE(has("TIPO TENSION_PLANA"));
  EXPECT_TRUE(has("ELEMENTO QU4 NELEM=1"));
  EXPECT_TRUE(has("1 1 1 4 3 2"));  // Gmsh nodes 11 14 13 12
  EXPECT_TRUE(has("3 3 2"));
  EXPECT_TRUE(has("1 1 1 0 -0.5"));
  EXPECT_TRUE(has("2 1 1 0 -0.5"));
  EXPECT_FALSE(has("3 1 1 0 -0.5"));
  EXPECT_TRUE(has("FEMV SQUARE"));
}

// Errors the user can mend: an element the catalogue lacks (named with its group), a
// group that does not exist, a restraint the tool cannot read.
TEST_F(GmshModel, ErrorsNameWhatIsWrong) {
  gmsh::model::addDiscreteEntity(3, 1);
  gmsh::model::mesh::addNodes(3, 1, {1, 2, 3, 4, 5}, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5, 0.5, 1});
  gmsh::model::mesh::addElementsByType(1, 7, {1}, {1, 2, 3, 4, 5});  // a pyramid
  gmsh::model::addPhysicalGroup(3, {1}, 7);
  gmsh::model::setPhysicalName(3, 7, "roof");
  Options o;
  o.input = "roof.msh";
  try {
    deck_of_current_model(o);
    ADD_FAILURE() << "a pyramid was taken";
  } catch (const ImportError& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("\"Pyramid 5\" (Gmsh type 7) of physical group \"roof\" has no counterpart"), std::string::npos)
        << text;
    EXPECT_NE(text.find("HE20"), std::string::npos) << text;
  }
  o.problem_type = "TENSION_PLANA";
  EXPECT_THROW(deck_of_current_model(o), ImportError);  // a volume mesh as a plane problem

  gmsh::model::add("tetra");
  gmsh::model::addDiscreteEntity(3, 1);
  gmsh::model::mesh::addNodes(3, 1, {1, 2, 3, 4}, {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1});
  gmsh::model::mesh::addElementsByType(1, 4, {1}, {1, 2, 3, 4});
  o.problem_type = "";
  o.restraints = {parse_restraint("base=xyz")};
  EXPECT_THROW(
      {
        try {
          deck_of_current_model(o);
        } catch (const ImportError& e) {
          EXPECT_NE(std::string(e.what()).find("no physical group named \"base\""), std::string::npos) << e.what();
          throw;
        }
      },
      ImportError);
  o.restraints.clear();
  EXPECT_NE(deck_of_current_model(o).find("ELEMENTO TE4 NELEM=1"), std::string::npos);

  for (const char* bad : {"left", "left=", "=x", "left=w", "left=x:", "left=x:abc"})
    EXPECT_THROW(parse_restraint(bad), ImportError) << bad;
  const Restraint r = parse_restraint("right=xz:0.25");
  EXPECT_EQ(r.group, "right");
  EXPECT_TRUE(r.fixed[0] && !r.fixed[1] && r.fixed[2]);
  EXPECT_EQ(r.value[2], 0.25);
  EXPECT_THROW(parse_arguments({"only-one.msh"}), ImportError);
  EXPECT_THROW(parse_arguments({"a.msh", "b.vtn", "--type", "PLACA"}), ImportError);
}

int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The bundled plate with a hole, from geometry to results: the skeleton runs, VTK
// reads the results, no element is folded, the restraints hold, and the stress at the
// top of the hole is well above the stress far from it.
TEST(GmshTool, PlateWithAHoleRunsEndToEnd) {
  test::TempDir dir;
  const std::string deck = dir.file("plate.vtn");
  ASSERT_EQ(run(std::string("'") + VORTAN_GMSH_EXE + "' '" + VORTAN_SOURCE_DIR + "/examples/plate-with-hole.geo' '" +
                deck + "' --fix left=x --fix bottom=y --fix right=x:0.01 --material 'YOUNG=1000 POISSON=0.3' > '" +
                dir.file("tool.txt") + "' 2>&1"),
            0)
      << test::read_file(dir.file("tool.txt"));
  ASSERT_EQ(test::run_program(dir, "plate.vtn"), 0) << test::read_file(dir.file("plate.sal")).substr(0, 4000);
  // A mesh file with an element the tool cannot take stops it with its message and
  // no deck.
  test::write_file(dir.file("pyramid.msh"),
                   "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Nodes\n5\n1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n5 0.5 0.5 1\n"
                   "$EndNodes\n$Elements\n1\n1 7 2 1 1 1 2 3 4 5\n$EndElements\n");
  EXPECT_EQ(run(std::string("'") + VORTAN_GMSH_EXE + "' '" + dir.file("pyramid.msh") + "' '" + dir.file("pyramid.vtn") +
                "' > '" + dir.file("tool.txt") + "' 2>&1"),
            2);
  EXPECT_NE(test::read_file(dir.file("tool.txt")).find("(Gmsh type 7)"), std::string::npos) << test::read_file(dir.file("tool.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("pyramid.vtn")));

  const std::string python = test::python_with_vtk();
  if (python.empty()) GTEST_SKIP() << "python3 cannot import vtk (Debian python3-vtk9): results not read back";
  const test::VtuReport r = test::read_back(python, dir.file("plate.vtu"));
  const std::string text = test::read_file(deck);
  const int nodes = std::stoi(text.substr(text.find("NPNODS=") + 7));
  EXPECT_EQ(r.counts.at("points"), nodes);
  EXPECT_EQ(r.counts.at("folded"), 0);
  EXPECT_EQ(r.types.begin()->first, 22);  // six-node triangles
  const auto& u = r.values.at("point Displacement");
  const auto& vm = r.values.at("point VonMises");
  // The points' coordinates are not in the report: take them from the deck.
  const std::string geometry = text.substr(text.find("FIN_SET\nGEOMETRIA\n"));
  std::map<int, std::pair<double, double>> xy;
  for (const std::string& line : test::lines_of(geometry)) {
    std::istringstream in(line);
    std::vector<double> v;
    for (double x; in >> x;) v.push_back(x);
    if (v.size() == 3) xy[static_cast<int>(v[0])] = {v[1], v[2]};
  }
  ASSERT_EQ(static_cast<int>(xy.size()), nodes);
  double top_of_hole = 0, far = 0;
  int right = 0, left = 0;
  for (const auto& [n, p] : xy) {
    if (std::abs(p.first - 10) < 1e-9) {
      EXPECT_EQ(u[n - 1][0], 0.01) << n;
      ++right;
    }
    if (std::abs(p.first) < 1e-9) {
      EXPECT_EQ(u[n - 1][0], 0.0) << n;
      ++left;
    }
    if (std::abs(p.second) < 1e-9) {
      EXPECT_EQ(u[n - 1][1], 0.0) << n;
    }
    if (std::abs(p.first) < 1e-9 && std::abs(p.second - 2) < 1e-9) top_of_hole = vm[n - 1][0];
    if (std::abs(p.first - 10) < 1e-9 && std::abs(p.second - 10) < 1e-9) far = vm[n - 1][0];
  }
  EXPECT_GT(right, 5);
  EXPECT_GT(left, 5);
  ASSERT_GT(far, 0.0);
  EXPECT_GT(top_of_hole / far, 2.5);
  EXPECT_LT(top_of_hole / far, 4.0);
}

// Blocks 2 x 1 x 1 of every solid element the tool takes, meshed from a geometry:
// clamped at z = 0 and lifted by 0.01 at z = 1, each runs, no cell is folded, and the
// lifted face has the lift.
TEST(GmshTool, SolidBlocksOfEveryVolumeElementRun) {
  struct Block {
    const char* name;
    const char* surface;    // cards on the base before the extrusion
    const char* extrusion;  // how the base is swept along z
    int incomplete;         // Mesh.SecondOrderIncomplete
    int order;
    int vtk_type;
  };
  const Block blocks[] = {
      {"TE4", "", "", 0, 1, 10},
      {"TE10", "", "", 0, 2, 24},
      {"PI15", "", "Layers{2}; Recombine;", 1, 2, 26},
      {"HE8", "Transfinite Surface{1}; Recombine Surface{1};\n", "Layers{2}; Recombine;", 0, 1, 12},
      {"HE20", "Transfinite Surface{1}; Recombine Surface{1};\n", "Layers{2}; Recombine;", 1, 2, 25},
      {"HE27", "Transfinite Surface{1}; Recombine Surface{1};\n", "Layers{2}; Recombine;", 0, 2, 29},
  };
  const std::string python = test::python_with_vtk();
  for (const Block& b : blocks) {
    SCOPED_TRACE(b.name);
    test::TempDir dir;
    test::write_file(dir.file("block.geo"),
                     std::string("Point(1) = {0,0,0}; Point(2) = {2,0,0}; Point(3) = {2,1,0}; Point(4) = {0,1,0};\n"
                                 "Line(1) = {1,2}; Line(2) = {2,3}; Line(3) = {3,4}; Line(4) = {4,1};\n"
                                 "Curve Loop(1) = {1,2,3,4}; Plane Surface(1) = {1};\n"
                                 "Transfinite Curve{1,3} = 4; Transfinite Curve{2,4} = 3;\n") +
                         b.surface + "out[] = Extrude {0,0,1} {Surface{1}; " + b.extrusion +
                         "};\nPhysical Volume(\"block\") = {out[1]};\nPhysical Surface(\"base\") = {1};\n"
                         "Physical Surface(\"lid\") = {out[0]};\nMesh.MeshSizeMax = 0.5;\nMesh.ElementOrder = " +
                         std::to_string(b.order) + ";\nMesh.SecondOrderIncomplete = " + std::to_string(b.incomplete) +
                         ";\n");
    ASSERT_EQ(run("cd '" + dir.path() + "' && '" + VORTAN_GMSH_EXE +
                  "' block.geo block.vtn --fix base=xyz --fix lid=z:0.01 --material 'YOUNG=1000 POISSON=0.25'"
                  " > tool.txt 2>&1"),
              0)
        << test::read_file(dir.file("tool.txt"));
    const std::string deck = test::read_file(dir.file("block.vtn"));
    EXPECT_NE(deck.find("TIPO SOLIDO\n"), std::string::npos);
    EXPECT_NE(deck.find(std::string("ELEMENTO ") + b.name), std::string::npos) << deck.substr(0, 600);
    ASSERT_EQ(test::run_program(dir, "block.vtn"), 0) << test::read_file(dir.file("block.sal")).substr(0, 3000);
    if (python.empty()) continue;
    const test::VtuReport r = test::read_back(python, dir.file("block.vtu"));
    ASSERT_EQ(r.types.size(), 1u);
    EXPECT_EQ(r.types.begin()->first, b.vtk_type);
    EXPECT_EQ(r.counts.at("folded"), 0);
    EXPECT_EQ(r.counts.at("curved"), 0);
    // Nodes on the lid: those whose coordinate card ends in z = 1.
    const auto& u = r.values.at("point Displacement");
    int lid = 0;
    for (const std::string& line : test::lines_of(deck.substr(deck.find("FIN_SET\nGEOMETRIA")))) {
      std::istringstream in(line);
      std::vector<double> v;
      for (double x; in >> x;) v.push_back(x);
      if (v.size() == 4 && v[3] == 1.0) {
        EXPECT_EQ(u.at(static_cast<std::size_t>(v[0]) - 1)[2], 0.01) << line;
        ++lid;
      }
      if (v.size() == 4 && v[3] == 0.0) {
        EXPECT_EQ(u.at(static_cast<std::size_t>(v[0]) - 1)[2], 0.0) << line;
      }
    }
    EXPECT_GT(lid, 4);
  }
  if (python.empty()) GTEST_SKIP() << "python3 cannot import vtk (Debian python3-vtk9): results not read back";
}

}  // namespace
}  // namespace vortan
