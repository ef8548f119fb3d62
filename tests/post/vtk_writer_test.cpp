// The VTK unstructured-grid file: the point order of every cell against the shape
// functions, and whole runs of every static analysis read back by VTK's own reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../analyses/listing_tables.h"
#include "elements/shape_functions.h"
#include "input/catalogue.h"
#include "post/post_dispatch.h"
#include "post/principal_stresses.h"
#include "post/vtk_writer.h"
#include "post_fixture.h"
#include "vtk_read_back.h"

namespace vortan {
namespace {

// VTK's parametric coordinates of the points of its cells, in its point order (corners,
// then mid-edge points, then face and body centres), all in [0, 1].
std::vector<std::vector<double>> vtk_points(int cell_type) {
  switch (cell_type) {
    case VTK_LINE: return {{0}, {1}};
    case VTK_QUADRATIC_EDGE: return {{0}, {1}, {0.5}};
    case VTK_TRIANGLE: return {{0, 0}, {1, 0}, {0, 1}};
    case VTK_QUADRATIC_TRIANGLE: return {{0, 0}, {1, 0}, {0, 1}, {0.5, 0}, {0.5, 0.5}, {0, 0.5}};
    case VTK_QUAD: return {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    case VTK_QUADRATIC_QUAD: return {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}};
    case VTK_BIQUADRATIC_QUAD:
      return {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}, {0.5, 0.5}};
    case VTK_TETRA: return {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    case VTK_QUADRATIC_TETRA:
      return {{0, 0, 0},   {1, 0, 0},     {0, 1, 0},   {0, 0, 1},   {0.5, 0, 0},
              {0.5, 0.5, 0}, {0, 0.5, 0}, {0, 0, 0.5}, {0.5, 0, 0.5}, {0, 0.5, 0.5}};
    case VTK_HEXAHEDRON:
      return {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    case VTK_QUADRATIC_HEXAHEDRON:
    case VTK_TRIQUADRATIC_HEXAHEDRON: {
      std::vector<std::vector<double>> p = {
          {0, 0, 0},     {1, 0, 0},     {1, 1, 0},     {0, 1, 0},     {0, 0, 1},     {1, 0, 1},     {1, 1, 1},
          {0, 1, 1},     {0.5, 0, 0},   {1, 0.5, 0},   {0.5, 1, 0},   {0, 0.5, 0},   {0.5, 0, 1},   {1, 0.5, 1},
          {0.5, 1, 1},   {0, 0.5, 1},   {0, 0, 0.5},   {1, 0, 0.5},   {1, 1, 0.5},   {0, 1, 0.5}};
      if (cell_type == VTK_TRIQUADRATIC_HEXAHEDRON)
        p.insert(p.end(), {{0, 0.5, 0.5}, {1, 0.5, 0.5}, {0.5, 0, 0.5}, {0.5, 1, 0.5}, {0.5, 0.5, 0}, {0.5, 0.5, 1},
                           {0.5, 0.5, 0.5}});
      return p;
    }
    case VTK_QUADRATIC_WEDGE:
      return {{0, 0, 0},     {1, 0, 0},     {0, 1, 0},   {0, 0, 1},   {1, 0, 1},
              {0, 1, 1},     {0.5, 0, 0},   {0.5, 0.5, 0}, {0, 0.5, 0}, {0.5, 0, 1},
              {0.5, 0.5, 1}, {0, 0.5, 1},   {0, 0, 0.5}, {1, 0, 0.5}, {0, 1, 0.5}};
    default: return {};
  }
}

// The element's natural coordinates of a VTK parametric point: squares, cubes and lines
// run over [-1, 1], the wedge's height too; triangles and tetrahedra share VTK's.
std::vector<double> natural(int element_type, std::vector<double> p) {
  p.resize(3, 0.0);
  switch (element_shape(element_type)) {
    case ElementShape::line: case ElementShape::quadrilateral: case ElementShape::hexahedron:
      for (double& x : p) x = 2 * x - 1;
      break;
    case ElementShape::wedge: p[2] = 2 * p[2] - 1; break;
    default: break;
  }
  return p;
}

// Every VTK point of an element's cell sits on the element's node that the cell takes
// there: that node's shape function is 1 at the point and no other node's is, so a
// corner or a mid-side node on another edge (or a reflected cell) fails.
TEST(VtkCells, PointOrderMatchesTheShapeFunctions) {
  const std::map<int, int> expected_type = {
      {ELEM_TR3, VTK_TRIANGLE},           {ELEM_TR6, VTK_QUADRATIC_TRIANGLE},  {ELEM_QU4, VTK_QUAD},
      {ELEM_QU8, VTK_QUADRATIC_QUAD},     {ELEM_QU9, VTK_BIQUADRATIC_QUAD},   {ELEM_HE8, VTK_HEXAHEDRON},
      {ELEM_HE20, VTK_QUADRATIC_HEXAHEDRON}, {ELEM_HE27, VTK_TRIQUADRATIC_HEXAHEDRON}, {ELEM_TE4, VTK_TETRA},
      {ELEM_TE10, VTK_QUADRATIC_TETRA},   {ELEM_PI15, VTK_QUADRATIC_WEDGE},   {ELEM_TLCL, VTK_QUADRATIC_TRIANGLE},
      {ELEM_DKT, VTK_TRIANGLE},           {ELEM_CLLL, VTK_QUAD},               {ELEM_LI2, VTK_LINE},
      {ELEM_LI3, VTK_QUADRATIC_EDGE},     {ELEM_TRC2, VTK_LINE}};
  for (int type = 1; type <= ELEMENT_TYPE_COUNT; ++type) {
    const VtkCell cell = vtk_cell(type, false);
    ASSERT_EQ(cell.type, expected_type.at(type)) << element_keyword(type);
    const auto points = vtk_points(cell.type);
    ASSERT_EQ(cell.count, static_cast<int>(points.size())) << element_keyword(type);
    for (int i = 0; i < cell.count; ++i) {
      const std::vector<double> x = natural(type, points[i]);
      double f[MAX_SHAPE_FUNCTIONS] = {}, d[3 * MAX_SHAPE_FUNCTIONS] = {};
      FUNFOR(x[0], x[1], x[2], type, element_natural_dimension(type), f, d);
      for (int k = 1; k <= element_nodes(type); ++k)
        EXPECT_EQ(std::abs(f[k - 1] - 1.0) < 1e-12, k == cell.positions[i])
            << element_keyword(type) << " VTK point " << i << " node " << k << " N=" << f[k - 1];
    }
  }
  const VtkCell member = vtk_cell(ELEM_LI3, true);
  EXPECT_EQ(member.type, VTK_LINE);
  ASSERT_EQ(member.count, 2);
  EXPECT_EQ(member.positions[0], 1);
  EXPECT_EQ(member.positions[1], 2);
  EXPECT_EQ(vtk_cell(0, false).type, 0);
}

// The values of the node lines of a block of the neutral file, by node.
std::vector<std::vector<double>> node_lines(const test::FemBlock& block, std::size_t skip_lines) {
  std::vector<std::vector<double>> out;
  for (std::size_t i = skip_lines; i < block.lines.size(); ++i) {
    const std::string& l = block.lines[i];
    if (l.rfind(" -1", 0) == 0)
      out.push_back(test::fields(l, 8, 12));
    else if (!out.empty())
      for (double v : test::fields(l, 8, 12)) out.back().push_back(v);
  }
  return out;
}

const test::FemBlock* find_block(const std::vector<test::FemBlock>& blocks, const std::string& name) {
  for (const auto& b : blocks)
    if (b.name == name) return &b;
  return nullptr;
}

struct DeckCase {
  std::string path;
  std::map<int, int> types;  // expected VTK cell types
  bool straight;             // the mesh's sides are straight
  bool conduction;
  int first_kind = 1;  // translation of the neutral file's first displacement column
};

// Every static analysis (static linear, general static, heat conduction) over the cells
// the bundled decks use: VTK's reader takes each file; the counts, cell types, the
// displacements or temperatures and the nodal stresses or fluxes equal the neutral
// file's, no cell is folded, and on straight-sided meshes the mid-edge points sit
// halfway along their edges.
TEST(VtkFiles, EveryStaticRunReadsBackInVtk) {
  const std::string python = test::python_with_vtk();
  if (python.empty()) GTEST_SKIP() << "python3 cannot import vtk (Debian python3-vtk9): VTK files not read back";
  const std::vector<DeckCase> decks = {
      {"examples/cantilever-plane-stress.vtn", {{VTK_QUADRATIC_QUAD, 10}}, true, false},
      {"examples/thick-cylinder.vtn", {{VTK_QUADRATIC_QUAD, 8}}, true, false},
      {"examples/solid-column-self-weight.vtn", {{VTK_HEXAHEDRON, 4}}, true, false},
      {"examples/plate-simply-supported.vtn", {{VTK_QUAD, 16}}, true, false, 3},
      {"examples/frame-portal.vtn", {{VTK_LINE, 3}}, true, false},
      {"examples/heat-fin.vtn", {{VTK_QUADRATIC_EDGE, 10}}, true, true},
      {"tests/cases/heat/square-generation-qu8.vtn", {{VTK_QUADRATIC_QUAD, 16}}, true, true},
      {"tests/cases/static/general-static-wall-qu4.vtn", {{VTK_QUAD, 8}}, true, false},
      {"tests/cases/static/global-point-loads-two-sets.vtn", {{VTK_QUAD, 4}}, true, false},
      {"tests/cases/patch/patch-tr3.vtn", {{VTK_TRIANGLE, 24}}, true, false},
      {"tests/cases/patch/patch-tr6.vtn", {{VTK_QUADRATIC_TRIANGLE, 12}}, false, false},
      {"tests/cases/patch/patch-qu9.vtn", {{VTK_BIQUADRATIC_QUAD, 6}}, false, false},
      {"tests/cases/patch/patch-te4.vtn", {{VTK_TETRA, 72}}, true, false},
      {"tests/cases/patch/patch-te10.vtn", {{VTK_QUADRATIC_TETRA, 48}}, false, false},
      {"tests/cases/patch/patch-he20.vtn", {{VTK_QUADRATIC_HEXAHEDRON, 8}}, false, false},
      {"tests/cases/patch/patch-pi15.vtn", {{VTK_QUADRATIC_WEDGE, 16}}, false, false},
  };
  for (const DeckCase& deck : decks) {
    SCOPED_TRACE(deck.path);
    test::TempDir dir;
    int status = 0;
    std::string text = test::source_file(deck.path);
    const std::size_t keldar = text.find("POSTPROCESO KELDAR");
    std::string keldar_file;
    if (keldar != std::string::npos) {
      // The same file with either post-processor: the KELDAR run's is kept to compare
      // with the neutral-file run's, which the values are checked against.
      test::run_deck_text(dir, "K", text, &status);
      ASSERT_EQ(status, 0);
      keldar_file = test::read_file(dir.file("K.vtu"));
      text.replace(keldar, 18, "POSTPROCESO FEMVIEW");
      const std::size_t card = text.find("\nKELDAR ");
      ASSERT_NE(card, std::string::npos);
      text.replace(card, 8, "\nFEMV ");
    }
    const std::string listing = test::run_deck_text(dir, "V", text, &status);
    ASSERT_EQ(status, 0);
    if (keldar != std::string::npos) {
      EXPECT_EQ(keldar_file, test::read_file(dir.file("V.vtu")));
    }
    const test::VtuReport r = test::read_back(python, dir.file("V.vtu"));
    const auto blocks = test::fem_blocks(test::lines_of(test::read_file(dir.file("V.fem"))));
    ASSERT_FALSE(blocks.empty());
    const test::FemBlock* coordinates = find_block(blocks, "CORRDE");
    const test::FemBlock* displacements = find_block(blocks, "DESPLA");
    ASSERT_TRUE(coordinates != nullptr && displacements != nullptr);
    const std::size_t nodes = coordinates->lines.size();
    EXPECT_EQ(r.counts.at("points"), nodes);
    int cells = 0;
    for (const auto& [t, n] : deck.types) cells += n;
    EXPECT_EQ(r.counts.at("cells"), cells);
    EXPECT_EQ(r.types, deck.types);
    EXPECT_EQ(r.counts.at("folded"), 0);
    if (deck.straight) {
      EXPECT_EQ(r.counts.at("curved"), 0);
    }

    // Displacements (temperatures): the neutral file's values, kind by kind.
    const auto fem_u = node_lines(*displacements, 0);
    ASSERT_EQ(fem_u.size(), nodes);
    const auto& u = r.values.at(deck.conduction ? "point Temperature" : "point Displacement");
    ASSERT_EQ(u.size(), nodes);
    const std::size_t k = deck.conduction ? 0 : deck.first_kind - 1;
    for (std::size_t n = 0; n < nodes; ++n)
      EXPECT_NEAR(u[n][k], fem_u[n][0], 1e-4 * std::abs(fem_u[n][0]) + 1e-30) << "node " << n + 1;

    // Set numbers by element.
    const auto& sets = r.values.at("cell Set");
    ASSERT_EQ(sets.size(), static_cast<std::size_t>(cells));
    const int nsets = std::stoi(text.substr(text.find("NSETS=") + 6));
    EXPECT_EQ(sets.front()[0], 1);
    EXPECT_EQ(sets.back()[0], nsets);

    // Element errors: those of the listing's element error report (five decimals), in
    // running element order; no array when the run has no error estimate.
    const std::size_t report = listing.find("REPORTE DEL ERROR ELEMENTAL");
    EXPECT_EQ(r.values.count("cell ElementError") != 0, report != std::string::npos);
    if (report != std::string::npos && r.values.count("cell ElementError") != 0) {
      const auto& errors = r.values.at("cell ElementError");
      ASSERT_EQ(errors.size(), static_cast<std::size_t>(cells));
      const auto rows = test::lines_of(listing.substr(report));
      for (int e = 0; e < cells; ++e) {
        std::istringstream row(rows.at(2 + e));
        int element = 0, set = 0;
        double percent = -1;
        row >> element >> set >> percent;
        EXPECT_EQ(element, e + 1);
        EXPECT_NEAR(errors[e][0], percent, 5.1e-6) << "element " << e + 1;
      }
    }

    // Nodal stresses: the neutral file's nodal block, and von Mises of each tensor.
    const test::FemBlock* nodal = find_block(blocks, "TENNOD");
    if (nodal != nullptr) {
      const auto fem_s = node_lines(*nodal, 5);
      const auto& s = r.values.at("point Stress");
      const auto& names = r.arrays.at("point Stress");
      ASSERT_EQ(fem_s.size(), nodes);
      // The neutral file's components, matched to the VTK ones by name.
      std::vector<std::size_t> column;
      for (const std::string& l : nodal->lines)
        if (l.rfind(" -5  ", 0) == 0) {
          const std::string name = l.substr(5, l.find(' ', 5) - 5);
          const auto at = std::find(names.begin(), names.end(), name);
          ASSERT_NE(at, names.end()) << name;
          column.push_back(static_cast<std::size_t>(at - names.begin()));
        }
      ASSERT_EQ(column.size(), fem_s[0].size());
      for (std::size_t n = 0; n < nodes; ++n) {
        double mag = 1e-9;
        for (double v : fem_s[n]) mag = std::max(mag, std::abs(v));
        // The neutral file has five significant figures.
        for (std::size_t c = 0; c < column.size(); ++c)
          EXPECT_NEAR(s[n][column[c]], fem_s[n][c], 1e-4 * std::abs(fem_s[n][c]) + 1e-7 * mag)
              << names[column[c]] << " node " << n + 1;
      }
      if (r.values.count("point VonMises") != 0 && names.size() == 6) {
        const auto& vm = r.values.at("point VonMises");
        for (std::size_t n = 0; n < nodes; ++n) {
          const double t[6] = {s[n][0], s[n][1], s[n][2], s[n][3], s[n][4], s[n][5]};
          EXPECT_NEAR(vm[n][0], von_mises(t), 1e-8 * (von_mises(t) + 1));
        }
      }
    }
  }
}

// The file written in process (no VTK needed), decoded from its appended block: the
// values of one data array, found by name and offset, as doubles.
std::vector<double> array_values(const std::string& file, const std::string& name) {
  std::vector<double> values;
  const std::size_t element = file.find("Name=\"" + name + "\"");
  const std::size_t marker = file.find("<AppendedData encoding=\"raw\">");
  if (element == std::string::npos || marker == std::string::npos) return values;
  const std::size_t line_start = file.rfind('<', element);
  const std::size_t line_end = file.find('>', element);
  const std::string tag = file.substr(line_start, line_end - line_start);
  const auto attribute = [&](const std::string& key) {
    const std::size_t at = tag.find(key + "=\"");
    return at == std::string::npos ? std::string() : tag.substr(at + key.size() + 2, tag.find('"', at + key.size() + 2) - at - key.size() - 2);
  };
  EXPECT_EQ(attribute("format"), "appended") << name;
  const std::size_t base = file.find('_', marker) + 1;
  const std::size_t at = base + std::stoull(attribute("offset"));
  std::uint64_t bytes = 0;
  if (at + sizeof bytes > file.size()) return values;
  std::memcpy(&bytes, file.data() + at, sizeof bytes);
  const std::string type = attribute("type");
  const std::size_t width = type == "UInt8" ? 1 : type == "Int32" ? 4 : 8;
  EXPECT_EQ(bytes % width, 0u) << name;
  EXPECT_LE(at + sizeof bytes + bytes, file.size()) << name;
  if (at + sizeof bytes + bytes > file.size()) return values;
  for (std::size_t i = 0; i < bytes / width; ++i) {
    const char* p = file.data() + at + sizeof bytes + i * width;
    if (type == "UInt8") {
      values.push_back(static_cast<unsigned char>(*p));
    } else if (type == "Int32") {
      std::int32_t v;
      std::memcpy(&v, p, 4);
      values.push_back(v);
    } else if (type == "Int64") {
      std::int64_t v;
      std::memcpy(&v, p, 8);
      values.push_back(static_cast<double>(v));
    } else {
      double v;
      std::memcpy(&v, p, 8);
      values.push_back(v);
    }
  }
  return values;
}

bool has_array(const std::string& file, const std::string& name) {
  return file.find("<DataArray") != std::string::npos && file.find("Name=\"" + name + "\"") != std::string::npos;
}

class VtkFile : public test::PostTest {};

// A 9-node square whose local node k is global node 10 - k, with node 2 on a support
// turned 30 degrees: the cell lists the corners, mid-sides and centre in VTK's order,
// the displacement of node 2 is given in the global axes, and the smoothed stresses,
// von Mises and element errors follow what the run left.
TEST_F(VtkFile, SquareWithInclinedSupportStressesAndErrors) {
  read(test::header(9, 1, "FEMVIEW", " MAPOY=1") + test::set_cards(1, "TENSION_PLANA", "QU9", 1) +
       "GEOMETRIA\n1 1 9 8 7 6 5 4 3 2 1\n"
       "1 1 1\n2 0 1\n3 0 2\n4 1 2\n5 2 2\n6 2 1\n7 2 0\n8 1 0\n9 0 0\nFIN_GEOMETRIA\n" +
       test::FREE + "APOYOS_INCLINADOS\n2 30.0\nFIN_APOYOS_INCLINADOS\nFEMV CUADRA\n");
  set_dof(2, 1, 1.0);
  set_dof(2, 2, 0.5);
  set_dof(5, 1, 0.25);
  // sx = 10 n, sy = 1, sxy = 2, sz = 3 at node n.
  smooth_by_hand(4, [](int n, int c) { return c == 0 ? 10.0 * n : c == 1 ? 1.0 : c == 2 ? 2.0 : 3.0; });
  errors_by_hand({0.75});
  post_process(POST_FEMVIEW, despl());
  const auto lines = file_lines(".vtu");
  const std::string file = test::read_file(dir.file("P.vtu"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[3], "    <Piece NumberOfPoints=\"9\" NumberOfCells=\"1\">");
  EXPECT_EQ(array_values(file, "connectivity"), (std::vector<double>{8, 6, 4, 2, 7, 5, 3, 1, 0}));
  EXPECT_EQ(array_values(file, "types"), std::vector<double>{VTK_BIQUADRATIC_QUAD});
  const auto points = array_values(file, "Points");
  ASSERT_EQ(points.size(), 27u);
  EXPECT_EQ((std::vector<double>(points.begin() + 6, points.begin() + 9)), (std::vector<double>{0, 2, 0}));
  const auto u = array_values(file, "Displacement");
  ASSERT_EQ(u.size(), 27u);
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  EXPECT_NEAR(u[3], c * 1.0 - s * 0.5, 1e-7);
  EXPECT_NEAR(u[4], s * 1.0 + c * 0.5, 1e-7);
  EXPECT_EQ(u[5], 0.0);
  EXPECT_EQ(u[12], 0.25);
  const auto stress = array_values(file, "Stress");
  ASSERT_EQ(stress.size(), 36u);
  EXPECT_EQ((std::vector<double>(stress.begin() + 4, stress.begin() + 8)), (std::vector<double>{20, 1, 2, 3}));
  const auto mises = array_values(file, "VonMises");
  ASSERT_EQ(mises.size(), 9u);
  const double t[6] = {20, 1, 3, 2, 0, 0};
  EXPECT_NEAR(mises[1], von_mises(t), 1e-8);
  EXPECT_EQ(array_values(file, "Set"), std::vector<double>{1});
  EXPECT_EQ(array_values(file, "ElementError"), std::vector<double>{0.75});
  EXPECT_EQ(lines.back(), "</VTKFile>");
}

// The values are written in binary: doubles of every magnitude come back bit for bit,
// from the file itself and through VTK's reader, and the file is smaller than the
// values would be as text.
TEST_F(VtkFile, BinaryValuesReadBackExactly) {
  read(test::header(9, 1, "FEMVIEW") + test::set_cards(1, "TENSION_PLANA", "QU9", 1) +
       "GEOMETRIA\n1 1 1 2 3 4 5 6 7 8 9\n"
       "1 0 0\n2 0.1 0\n3 0.3 0\n4 0.3 0.1\n5 0.3 0.3\n6 0.1 0.3\n7 0 0.3\n8 0 0.1\n9 0.1 0.1\nFIN_GEOMETRIA\n" +
       test::FREE + "FEMV CUADRA\n");
  const double awkward[6] = {1.0 / 3.0, -2.0 / 7.0 * 1e-300, M_PI * 1e200, 0.1, -123456789.123456789, 1e-17};
  for (int n = 1; n <= 9; ++n)
    for (int kind = 1; kind <= 2; ++kind) set_dof(n, kind, awkward[(n + kind) % 6] * (n + 1));
  smooth_by_hand(4, [&](int n, int c) { return awkward[(n * c) % 6] / (c + 1); });
  post_process(POST_FEMVIEW, despl());
  flush_units();
  const std::string file = test::read_file(dir.file("P.vtu"));
  std::vector<double> expected_u, expected_s;
  for (int n = 1; n <= 9; ++n) {
    expected_u.insert(expected_u.end(), {awkward[(n + 1) % 6] * (n + 1), awkward[(n + 2) % 6] * (n + 1), 0.0});
    for (int c = 0; c < 4; ++c) expected_s.push_back(awkward[(n * c) % 6] / (c + 1));
  }
  const auto u = array_values(file, "Displacement");
  const auto stress = array_values(file, "Stress");
  EXPECT_EQ(u, expected_u);
  EXPECT_EQ(stress, expected_s);
  EXPECT_EQ(array_values(file, "Points")[3], 0.1);
  // 27 + 27 + 36 + 9 doubles and the cell: far less than seventeen digits apiece.
  EXPECT_LT(file.size(), 3000u);

  const std::string python = test::python_with_vtk();
  if (python.empty()) GTEST_SKIP() << "python3 cannot import vtk (Debian python3-vtk9): VTK file not read back";
  const test::VtuReport r = test::read_back(python, dir.file("P.vtu"));
  const auto& vu = r.values.at("point Displacement");
  const auto& vs = r.values.at("point Stress");
  ASSERT_EQ(vu.size(), 9u);
  ASSERT_EQ(vs.size(), 9u);
  for (int n = 0; n < 9; ++n) {
    EXPECT_EQ(vu[n], (std::vector<double>(expected_u.begin() + 3 * n, expected_u.begin() + 3 * n + 3))) << n;
    EXPECT_EQ(vs[n], (std::vector<double>(expected_s.begin() + 4 * n, expected_s.begin() + 4 * n + 4))) << n;
  }
  EXPECT_EQ(r.types, (std::map<int, int>{{VTK_BIQUADRATIC_QUAD, 1}}));
}

// Beam sets: lines between the members' ends and no stress arrays even when values
// were smoothed; without an error estimate there is no error array.
TEST_F(VtkFile, TrussHasLinesAndNoStresses) {
  read(test::header(3, 1, "KELDAR") + "SET_NUMERO 1\nTIPO VIGA ARMADURA NELEM=2\nMATERIAL YOUNG=1000 AREA=1\nFIN_SET\n" +
       "GEOMETRIA\n1 1 1 2\n2 1 2 3\n1 0 0\n2 1 0\n3 2 1\nFIN_GEOMETRIA\n" + test::FREE + "KELDAR CELOSIA\n");
  smooth_by_hand(3, [](int, int) { return 1.0; });
  post_process(POST_KELDAR, despl());
  flush_units();
  const std::string file = test::read_file(dir.file("P.vtu"));
  EXPECT_EQ(array_values(file, "connectivity"), (std::vector<double>{0, 1, 1, 2}));
  EXPECT_EQ(array_values(file, "types"), (std::vector<double>{VTK_LINE, VTK_LINE}));
  EXPECT_TRUE(has_array(file, "Displacement"));
  EXPECT_FALSE(has_array(file, "Stress"));
  EXPECT_FALSE(has_array(file, "VonMises"));
  EXPECT_FALSE(has_array(file, "ElementError"));
}

}  // namespace
}  // namespace vortan
