// Constant-stress patch tests of the continuum elements, one deck per element type
// (tests/cases/patch): a distorted mesh whose boundary nodes carry a linear
// displacement field as prescribed values, with no loads. The interior nodes must take
// the same field and every integration point the uniform stress D e of that field's
// strain, to round-off.
//
// The listing prints displacements with six significant digits and stresses with four
// (three for the normal stresses of solids); the decks choose the field, the material
// and the coordinates so that every exact answer has no more digits than that, which is
// what lets these checks hold to 1e-10 of the scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "listing_tables.h"

namespace vortan {
namespace {

enum class Medium { plane_stress, plane_strain, solid };

struct PatchCase {
  const char* type;  // element keyword; the deck is tests/cases/patch/patch-<type>.vtn
  Medium medium;
  double E, nu;
  // The imposed field u_i = u0_i + sum_j A_ij x_j (two or three components).
  std::array<double, 3> u0;
  std::array<std::array<double, 3>, 3> A;
  int elements;  // elements of the deck
  int points;    // integration points per element (the type's default rule)
  int interior;  // nodes left free
};

void PrintTo(const PatchCase& c, std::ostream* os) { *os << c.type; }

int dimension(const PatchCase& c) { return c.medium == Medium::solid ? 3 : 2; }

// Two fields for the plates and two for the solids; each is a uniform strain plus a rigid
// rotation and translation.
constexpr std::array<double, 3> U0_A2 = {1e-4, -2e-4, 0};
constexpr std::array<std::array<double, 3>, 3> A_A2 = {{{1.2e-3, 0.3e-3, 0}, {0.5e-3, -0.4e-3, 0}, {}}};
constexpr std::array<double, 3> U0_B2 = {-1.5e-4, 2.5e-4, 0};
constexpr std::array<std::array<double, 3>, 3> A_B2 = {{{0.9e-3, -0.2e-3, 0}, {0.6e-3, 0.5e-3, 0}, {}}};
constexpr std::array<double, 3> U0_A3 = {1e-4, -2e-4, 3e-4};
constexpr std::array<std::array<double, 3>, 3> A_A3 = {
    {{1.0e-3, 0.2e-3, -0.1e-3}, {0.3e-3, 0.5e-3, 0.4e-3}, {-0.15e-3, 0.35e-3, -0.25e-3}}};
constexpr std::array<double, 3> U0_B3 = {-2e-4, 1.5e-4, 1e-4};
constexpr std::array<std::array<double, 3>, 3> A_B3 = {
    {{1.2e-3, 0.1e-3, -0.3e-3}, {0.5e-3, 0.4e-3, 0.25e-3}, {-0.1e-3, -0.05e-3, -0.8e-3}}};

const PatchCase CASES[] = {
    {"QU4", Medium::plane_stress, 937500, 0.25, U0_A2, A_A2, 12, 4, 6},
    {"QU8", Medium::plane_strain, 1.3e6, 0.3, U0_B2, A_B2, 6, 9, 9},
    {"QU9", Medium::plane_stress, 910000, 0.3, U0_A2, A_A2, 6, 9, 15},
    {"TR3", Medium::plane_stress, 910000, 0.3, U0_A2, A_A2, 24, 1, 6},
    {"TR6", Medium::plane_strain, 1e6, 0.25, U0_B2, A_B2, 12, 3, 15},
    {"HE8", Medium::solid, 1e6, 0.25, U0_A3, A_A3, 18, 8, 4},
    {"HE20", Medium::solid, 1.3e6, 0.3, U0_B3, A_B3, 8, 27, 7},
    {"TE4", Medium::solid, 1.3e6, 0.3, U0_B3, A_B3, 72, 4, 2},
    {"TE10", Medium::solid, 1e6, 0.25, U0_A3, A_A3, 48, 5, 27},
    {"PI15", Medium::solid, 1.3e6, 0.3, U0_B3, A_B3, 16, 21, 11},
};

std::string deck_name(const PatchCase& c) {
  std::string name = c.type;
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char ch) { return std::tolower(ch); });
  return "patch-" + name;
}

std::vector<double> field_at(const PatchCase& c, const std::vector<double>& x) {
  std::vector<double> u(dimension(c));
  for (int i = 0; i < dimension(c); ++i) {
    u[i] = c.u0[i];
    for (int j = 0; j < dimension(c); ++j) u[i] += c.A[i][j] * x[j];
  }
  return u;
}

// The stresses of the field's strain in the order of the listing: sx, sy, txy, sz for
// the plates; sx, sy, sz, txy, txz, tyz for the solids. D is the isotropic elasticity
// matrix of the medium, applied to the engineering strain vector.
std::vector<double> uniform_stresses(const PatchCase& c) {
  const double E = c.E, nu = c.nu, G = E / (2 * (1 + nu));
  const auto& A = c.A;
  if (c.medium == Medium::solid) {
    const double lambda = E * nu / ((1 + nu) * (1 - 2 * nu));
    const double strain[6] = {A[0][0], A[1][1], A[2][2], A[0][1] + A[1][0], A[0][2] + A[2][0], A[1][2] + A[2][1]};
    double D[6][6] = {};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) D[i][j] = lambda;
      D[i][i] = lambda + 2 * G;
      D[3 + i][3 + i] = G;
    }
    std::vector<double> s(6, 0.0);
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) s[i] += D[i][j] * strain[j];
    return s;
  }
  const double strain[3] = {A[0][0], A[1][1], A[0][1] + A[1][0]};
  double D[3][3] = {};
  double out_of_plane[3] = {};  // row giving sz from the in-plane strains
  if (c.medium == Medium::plane_stress) {
    const double k = E / (1 - nu * nu);
    D[0][0] = D[1][1] = k;
    D[0][1] = D[1][0] = k * nu;
  } else {
    const double k = E / ((1 + nu) * (1 - 2 * nu));
    D[0][0] = D[1][1] = k * (1 - nu);
    D[0][1] = D[1][0] = k * nu;
    out_of_plane[0] = out_of_plane[1] = k * nu;
  }
  D[2][2] = G;
  std::vector<double> s(4, 0.0);
  for (int j = 0; j < 3; ++j) {
    for (int i = 0; i < 3; ++i) s[i] += D[i][j] * strain[j];
    s[3] += out_of_plane[j] * strain[j];
  }
  return s;
}

double largest_magnitude(const std::vector<double>& values) {
  double m = 0.0;
  for (double v : values) m = std::max(m, std::abs(v));
  return m;
}

class PatchDeck : public testing::TestWithParam<PatchCase> {};

TEST_P(PatchDeck, ReproducesTheLinearFieldAndTheUniformStress) {
  const PatchCase& c = GetParam();
  const int ndime = dimension(c);
  const std::string name = deck_name(c);
  const std::string deck = test::source_file("tests/cases/patch/" + name + ".vtn");
  ASSERT_FALSE(deck.empty()) << name;

  test::TempDir dir;
  int status = -1;
  const std::string sal = test::run_deck_text(dir, name, deck, &status);
  ASSERT_EQ(status, 0) << name;
  EXPECT_NE(sal.find("I N F O R M A C I O N    DE    T I E M P O S"), std::string::npos);
  EXPECT_NE(sal.find("SEPTIEMBRE DE 1999"), std::string::npos);
  EXPECT_EQ(sal.find("FIN DE ANALISIS"), std::string::npos);

  // Coordinates from the geometry block (the element cards come first) and the
  // restrained nodes from the boundary block.
  const auto geometry = test::deck_rows(deck, "GEOMETRIA", "FIN_GEOMETRIA");
  ASSERT_GT(static_cast<int>(geometry.size()), c.elements);
  std::map<int, std::vector<double>> coords;
  for (std::size_t r = c.elements; r < geometry.size(); ++r) {
    ASSERT_EQ(static_cast<int>(geometry[r].size()), 1 + ndime) << "coordinate card " << r;
    coords[static_cast<int>(geometry[r][0])] = {geometry[r].begin() + 1, geometry[r].end()};
  }
  std::set<int> restrained;
  for (const auto& row : test::deck_rows(deck, "CONDICIONES_DE_CONTORNO", "FIN_CONDICIONES_DE_CONTORNO"))
    restrained.insert(static_cast<int>(row[0]));
  ASSERT_EQ(static_cast<int>(coords.size() - restrained.size()), c.interior);

  // Every node, free or prescribed, carries the field.
  double field_scale = 0.0;
  for (const auto& [node, x] : coords) field_scale = std::max(field_scale, largest_magnitude(field_at(c, x)));
  const auto u = test::displacements(sal);
  ASSERT_EQ(u.size(), coords.size());
  for (const auto& [node, x] : coords) {
    ASSERT_EQ(u.count(node), 1u) << node;
    const std::vector<double> expected = field_at(c, x);
    ASSERT_EQ(static_cast<int>(u.at(node).size()), ndime) << node;
    for (int i = 0; i < ndime; ++i)
      EXPECT_NEAR(u.at(node)[i], expected[i], 1e-10 * field_scale)
          << "node " << node << (restrained.count(node) ? " (prescribed)" : " (free)") << " component " << i + 1;
  }

  // A self-equilibrated boundary: the reactions sum to zero in every direction, to the
  // precision of the printed values.
  const auto r = test::reactions(sal);
  for (int i = 0; i < ndime; ++i) {
    double magnitude = 0.0;
    for (const auto& [node, values] : r) magnitude += std::abs(values.at(i));
    EXPECT_GT(magnitude, 0.0) << "direction " << i + 1;
    EXPECT_NEAR(test::column_sum(r, i), 0.0, 1e-5 * magnitude) << "direction " << i + 1;
  }

  // The uniform stresses at every integration point of every element.
  const std::vector<double> sigma = uniform_stresses(c);
  const double stress_tolerance = 1e-10 * largest_magnitude(sigma);
  const auto table = test::gauss_stresses(sal, 1);
  ASSERT_EQ(static_cast<int>(table.size()), c.elements);
  for (std::size_t e = 0; e < table.size(); ++e) {
    EXPECT_EQ(table[e].element, static_cast<int>(e) + 1);
    ASSERT_EQ(static_cast<int>(table[e].points.size()), c.points) << "element " << table[e].element;
    for (std::size_t g = 0; g < table[e].points.size(); ++g) {
      const std::vector<double>& line = table[e].points[g];
      ASSERT_EQ(line.size(), ndime + sigma.size()) << "element " << table[e].element << " point " << g + 1;
      for (std::size_t k = 0; k < sigma.size(); ++k)
        EXPECT_NEAR(line[ndime + k], sigma[k], stress_tolerance)
            << "element " << table[e].element << " point " << g + 1 << " component " << k + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ConstantStressPatch, PatchDeck, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<PatchCase>& info) { return std::string(info.param.type); });

}  // namespace
}  // namespace vortan
