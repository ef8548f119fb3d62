// Linear temperature patch tests of every element type of heat conduction: a distorted
// mesh whose boundary nodes are held at the linear field T = 1.5 + 2x - 3y + 0.5z, with
// no loads. Every free node must take the same field, and every integration point the
// uniform flux (kx dT/dx, ky dT/dy, kz dT/dz) = (4, -9, 2.5) of the conductivities 2, 3
// and 5. The plane and solid meshes are those of the structural patch decks
// (tests/cases/patch); the bars and the 27-node bricks are built here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/inpdat.h"
#include "input/dof_table.h"
#include "input/problem.h"
#include "listing_tables.h"
#include "run/work_array.h"
#include "solve/solution_record.h"

namespace vortan {
namespace {

constexpr double GRADIENT[3] = {2.0, -3.0, 0.5};
constexpr double CONDUCTIVITY[3] = {2.0, 3.0, 5.0};

double field(const std::vector<double>& x) {
  double t = 1.5;
  for (std::size_t i = 0; i < x.size(); ++i) t += GRADIENT[i] * x[i];
  return t;
}

struct Mesh {
  std::string type;
  int dimension = 0;
  std::vector<std::vector<int>> elements;   // node numbers of each element
  std::map<int, std::vector<double>> coords;
  std::set<int> held;                       // boundary nodes
  int points = 0;                           // integration points per element
};

void PrintTo(const Mesh& m, std::ostream* os) { *os << m.type; }

// The mesh of a structural patch deck: its element cards (number, set, nodes), its
// coordinates and its restrained nodes.
Mesh structural_mesh(const std::string& type, int dimension, int elements, int points) {
  std::string name = type;
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  const std::string deck = test::source_file("tests/cases/patch/patch-" + name + ".vtn");
  Mesh m{type, dimension, {}, {}, {}, points};
  const auto rows = test::deck_rows(deck, "GEOMETRIA", "FIN_GEOMETRIA");
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (static_cast<int>(r) < elements) m.elements.emplace_back(rows[r].begin() + 2, rows[r].end());
    else m.coords[static_cast<int>(rows[r][0])] = {rows[r].begin() + 1, rows[r].end()};
  }
  for (const auto& row : test::deck_rows(deck, "CONDICIONES_DE_CONTORNO", "FIN_CONDICIONES_DE_CONTORNO"))
    m.held.insert(static_cast<int>(row[0]));
  return m;
}

// Bars of uneven elements along x; the middle nodes of the quadratic ones sit off the
// element centres, so that their map is not linear.
Mesh bar(bool quadratic) {
  Mesh m{quadratic ? "LI3" : "LI2", 1, {}, {}, {}, quadratic ? 2 : 1};
  const std::vector<double> ends = {0.0, 0.3, 0.45, 1.1, 1.6, 2.0};
  int node = 1;
  m.coords[node] = {ends[0]};
  for (std::size_t e = 1; e < ends.size(); ++e) {
    if (quadratic) {
      m.coords[node + 1] = {ends[e - 1] + 0.4 * (ends[e] - ends[e - 1])};
      m.coords[node + 2] = {ends[e]};
      m.elements.push_back({node, node + 1, node + 2});
      node += 2;
    } else {
      m.coords[node + 1] = {ends[e]};
      m.elements.push_back({node, node + 1});
      node += 1;
    }
  }
  m.held = {1, node};
  return m;
}

// Two 27-node bricks along x over [0, 2] x [0, 1] x [0, 1], on a 5 x 3 x 3 grid of
// nodes; the three nodes inside (the two brick centres and the centre of the shared
// face) are moved off the grid and left free.
Mesh bricks27() {
  Mesh m{"HE27", 3, {}, {}, {}, 27};
  auto id = [](int i, int j, int k) { return 1 + i + 5 * (j + 3 * k); };
  for (int k = 0; k < 3; ++k)
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 5; ++i) {
        std::vector<double> x = {0.5 * i, 0.5 * j, 0.5 * k};
        const bool inside = j == 1 && k == 1 && i >= 1 && i <= 3;
        if (inside) x = {x[0] + 0.05 * (i - 1) - 0.04, x[1] + 0.06, x[2] - 0.07};
        else m.held.insert(id(i, j, k));
        m.coords[id(i, j, k)] = x;
      }
  // Node order of the type: three layers u = -1, 0, 1, each the ring of eight
  // counter-clockwise from (-1, -1) (corners and mid-side nodes alternating), then
  // its centre.
  const int ring[9][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {0, 0}};
  for (int e = 0; e < 2; ++e) {
    std::vector<int> nodes;
    for (int layer = 0; layer < 3; ++layer)
      for (const auto& st : ring) nodes.push_back(id(2 * e + 1 + st[0], 1 + st[1], layer));
    m.elements.push_back(nodes);
  }
  return m;
}

std::string thermal_deck(const Mesh& m) {
  const char* dimension[] = {"", "UNADIMENSION", "DOSDIMENSIONES", "TRESDIMENSIONES"};
  std::ostringstream deck;
  deck.precision(17);
  deck << "VORTAN\nANALISIS TERMICO-ESTACIONARIO\nTITULO PARCHE TERMICO " << m.type
       << "\nGENERAL LINEAL\nMATERIAL LINEAL\nNUMERO_DE_NODOS NPNODS=" << m.coords.size()
       << "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\nSET_NUMERO 1\nTIPO " << dimension[m.dimension]
       << "\nELEMENTO " << m.type << " NELEM=" << m.elements.size()
       << "\nMATERIAL CONDX=2 CONDY=3 CONDZ=5 ESPESOR=0.5\nFIN_SET\nGEOMETRIA\n";
  for (std::size_t e = 0; e < m.elements.size(); ++e) {
    deck << e + 1 << " 1";
    for (int n : m.elements[e]) deck << " " << n;
    deck << "\n";
  }
  for (const auto& [node, x] : m.coords) {
    deck << node;
    for (double c : x) deck << " " << c;
    deck << "\n";
  }
  deck << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  for (int node : m.held) deck << node << " 1 " << field(m.coords.at(node)) << "\n";
  deck << "FIN_CONDICIONES_DE_CONTORNO\nCONVECCION_RADIACION\nFIN_CONVECCION_RADIACION\n"
          "CARGAS\nSET_NUMERO 1\nFUERZAS\nFIN_FUERZAS\nFEMV PARCHE\n";
  return deck.str();
}

class HeatPatch : public testing::TestWithParam<Mesh> {
 protected:
  void TearDown() override { reset_run_state(); }
};

TEST_P(HeatPatch, ReproducesTheLinearFieldAndTheUniformFlux) {
  const Mesh& m = GetParam();
  ASSERT_FALSE(m.elements.empty());
  ASSERT_LT(m.held.size(), m.coords.size()) << "no free node";
  test::TempDir dir;
  test::ensure_work_array();
  test::write_file(dir.file("patch.vtn"), thermal_deck(m));
  testing::internal::CaptureStdout();
  const int status = run_vortan(dir.file("patch.vtn"));
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(status, 0);

  // Every node, free or held, at full precision: the distorted quadratic elements hold
  // the field to the single precision of the integration constants.
  double scale = 0.0;
  for (const auto& [node, x] : m.coords) scale = std::max(scale, std::abs(field(x)));
  for (const auto& [node, x] : m.coords) {
    const double t = WORK.reals(SOLUTION.DESPL)[adres(node, 2)];
    EXPECT_NEAR(t, field(x), 1e-7 * scale) << "node " << node << (m.held.count(node) ? " (held)" : " (free)");
  }
  // No heat enters: the heat the held nodes give adds up to nothing.
  double total = 0.0, magnitude = 0.0;
  for (std::int32_t i = 0; i < PROBLEM.NTOTV; ++i) {
    total += WORK.reals(SOLUTION.REACT)[i];
    magnitude += std::abs(WORK.reals(SOLUTION.REACT)[i]);
  }
  EXPECT_GT(magnitude, 0.0);
  EXPECT_NEAR(total, 0.0, 1e-12 * magnitude);

  // The uniform flux at every integration point, as listed (its digits fit the layout).
  const std::string sal = test::read_file(dir.file("patch.sal"));
  const auto table = test::gauss_stresses(sal, 1);
  ASSERT_EQ(table.size(), m.elements.size());
  for (const auto& element : table) {
    ASSERT_EQ(static_cast<int>(element.points.size()), m.points) << "element " << element.element;
    for (const auto& line : element.points) {
      ASSERT_EQ(static_cast<int>(line.size()), 2 * m.dimension) << "element " << element.element;
      for (int i = 0; i < m.dimension; ++i)
        EXPECT_NEAR(line[m.dimension + i], CONDUCTIVITY[i] * GRADIENT[i], 1e-10)
            << "element " << element.element << " component " << i + 1;
    }
  }
}

std::vector<Mesh> meshes() {
  return {bar(false),
          bar(true),
          structural_mesh("TR3", 2, 24, 1),
          structural_mesh("TR6", 2, 12, 3),
          structural_mesh("QU4", 2, 12, 4),
          structural_mesh("QU8", 2, 6, 9),
          structural_mesh("QU9", 2, 6, 9),
          structural_mesh("HE8", 3, 18, 8),
          structural_mesh("HE20", 3, 8, 27),
          bricks27(),
          structural_mesh("TE4", 3, 72, 4),
          structural_mesh("TE10", 3, 48, 5),
          structural_mesh("PI15", 3, 16, 21)};  // the wedge rule has 21 points whatever NGAUS
}

INSTANTIATE_TEST_SUITE_P(EveryConductionElement, HeatPatch, testing::ValuesIn(meshes()),
                         [](const testing::TestParamInfo<Mesh>& info) { return info.param.type; });

}  // namespace
}  // namespace vortan
