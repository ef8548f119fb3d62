#include "elements/shape_functions.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace vortan {
namespace {

using Point = std::array<double, 3>;

// Natural coordinates of the nodes of each type, written out independently of the
// library from the element catalogue.
std::vector<Point> quad_ring(bool centre) {
  std::vector<Point> p = {{-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {1, 0, 0},
                          {1, 1, 0},   {0, 1, 0},  {-1, 1, 0}, {-1, 0, 0}};
  if (centre) p.push_back({0, 0, 0});
  return p;
}

std::vector<Point> hex20_nodes() {
  const double ring[8][2] = {{1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}};
  std::vector<Point> p;
  for (auto& r : ring) p.push_back({r[0], r[1], -1});
  for (Point q : {Point{1, -1, 0}, Point{1, 1, 0}, Point{-1, 1, 0}, Point{-1, -1, 0}})
    p.push_back(q);
  for (auto& r : ring) p.push_back({r[0], r[1], 1});
  return p;
}

std::vector<Point> hex27_nodes() {
  std::vector<Point> p;
  for (double u : {-1.0, 0.0, 1.0})
    for (Point q : quad_ring(true)) p.push_back({q[0], q[1], u});
  return p;
}

std::vector<Point> wedge_nodes() {
  const double corner[3][2] = {{0, 1}, {0, 0}, {1, 0}};
  const double mid[3][2] = {{0, 0.5}, {0.5, 0}, {0.5, 0.5}};
  std::vector<Point> p;
  for (double u : {1.0, -1.0, 0.0})
    for (auto& c : corner) p.push_back({c[0], c[1], u});
  for (double u : {1.0, -1.0})
    for (auto& m : mid) p.push_back({m[0], m[1], u});
  return p;
}

std::vector<Point> nodes_of(int code) {
  switch (code) {
    case 1: return {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    case 2: return {{0, 0, 0}, {0.5, 0, 0}, {1, 0, 0}, {0.5, 0.5, 0}, {0, 1, 0}, {0, 0.5, 0}};
    case 3:
    case 14: return {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    case 4: return quad_ring(false);
    case 5: return quad_ring(true);
    case 6:
      return {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
              {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    case 7: return hex20_nodes();
    case 8: return hex27_nodes();
    case 9: return {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    case 10:
      return {{0, 0, 0},     {1, 0, 0},   {0, 1, 0},     {0, 0, 1},   {0.5, 0, 0},
              {0.5, 0.5, 0}, {0, 0.5, 0}, {0, 0, 0.5},   {0.5, 0, 0.5}, {0, 0.5, 0.5}};
    case 11: return wedge_nodes();
    case 15:
    case 17: return {{-1, 0, 0}, {1, 0, 0}};
    case 16: return {{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}};
    default: return {};
  }
}

// A random point of the natural domain of a type.
Point random_point(int code, std::mt19937& gen) {
  std::uniform_real_distribution<double> sym(-1.0, 1.0), unit(0.0, 1.0);
  const int dim = element_natural_dimension(code);
  const bool simplex = code == 1 || code == 2 || code == 9 || code == 10 || code == 11 ||
                       code == 12 || code == 13;
  Point p{0, 0, 0};
  if (!simplex) {
    for (int k = 0; k < dim; ++k) p[k] = sym(gen);
    return p;
  }
  const int simplex_dim = code == 9 || code == 10 ? 3 : 2;
  do {
    for (int k = 0; k < simplex_dim; ++k) p[k] = unit(gen);
  } while (p[0] + p[1] + p[2] > 1.0);
  if (code == 11) p[2] = sym(gen);
  return p;
}

struct Evaluation {
  std::array<double, MAX_SHAPE_FUNCTIONS> F{};
  std::array<double, 3 * MAX_SHAPE_FUNCTIONS> D{};
};

Evaluation evaluate(int code, const Point& p) {
  Evaluation e;
  FUNFOR(p[0], p[1], p[2], code, element_natural_dimension(code), e.F.data(), e.D.data());
  return e;
}

constexpr int PARTITION_CODES[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17};

TEST(ElementShapeFunctions, CatalogueMatchesNodeTables) {
  for (int code : PARTITION_CODES) {
    EXPECT_EQ(element_nodes(code), static_cast<int>(nodes_of(code).size())) << code;
    EXPECT_EQ(element_type_of_keyword(element_keyword(code)), code);
  }
  EXPECT_EQ(element_functions(ELEM_DKT), 6);
  EXPECT_EQ(element_nodes(ELEM_DKT), 3);
  EXPECT_EQ(element_default_ngaus(ELEM_HE20), 27);
  EXPECT_EQ(element_natural_dimension(ELEM_PI15), 3);
  EXPECT_EQ(element_nodes(0), 0);
  EXPECT_EQ(element_nodes(18), 0);
  EXPECT_EQ(element_type_of_keyword("QU5"), 0);
}

// Each function is 1 at its node and 0 at the others; the functions sum to 1 and
// reproduce the natural coordinates (so an isoparametric element maps its parent
// exactly), and their derivatives sum to 0.
TEST(ElementShapeFunctions, KroneckerPartitionOfUnityAndCompleteness) {
  std::mt19937 gen(12345);
  for (int code : PARTITION_CODES) {
    const auto nodes = nodes_of(code);
    const int n = static_cast<int>(nodes.size());
    const int dim = element_natural_dimension(code);
    for (int a = 0; a < n; ++a) {
      const Evaluation e = evaluate(code, nodes[a]);
      for (int b = 0; b < n; ++b)
        EXPECT_NEAR(e.F[b], a == b ? 1.0 : 0.0, 1e-14) << "code " << code << " node " << a + 1
                                                       << " function " << b + 1;
    }
    for (int trial = 0; trial < 20; ++trial) {
      const Point p = random_point(code, gen);
      const Evaluation e = evaluate(code, p);
      double sum = 0.0;
      Point x{0, 0, 0}, dsum{0, 0, 0};
      for (int b = 0; b < n; ++b) {
        sum += e.F[b];
        for (int k = 0; k < dim; ++k) {
          x[k] += e.F[b] * nodes[b][k];
          dsum[k] += e.D[k + dim * b];
        }
      }
      EXPECT_NEAR(sum, 1.0, 1e-13) << code;
      for (int k = 0; k < dim; ++k) {
        EXPECT_NEAR(x[k], p[k], 1e-13) << code;
        EXPECT_NEAR(dsum[k], 0.0, 1e-13) << code;
      }
    }
  }
}

TEST(ElementShapeFunctions, DerivativesMatchCentralDifferences) {
  std::mt19937 gen(777);
  const double h = 1e-6;
  for (int code = 1; code <= ELEMENT_TYPE_COUNT; ++code) {
    const int dim = element_natural_dimension(code);
    const int n = element_functions(code);
    for (int trial = 0; trial < 10; ++trial) {
      const Point p = random_point(code, gen);
      const Evaluation e = evaluate(code, p);
      for (int k = 0; k < dim; ++k) {
        Point plus = p, minus = p;
        plus[k] += h;
        minus[k] -= h;
        const Evaluation ep = evaluate(code, plus), em = evaluate(code, minus);
        for (int b = 0; b < n; ++b)
          EXPECT_NEAR(e.D[k + dim * b], (ep.F[b] - em.F[b]) / (2 * h), 1e-7)
              << "code " << code << " function " << b + 1 << " direction " << k + 1;
      }
    }
  }
}

// The plate triangles use linear corners with quadratic mid-side bubbles: the sum is
// 1 + 4(s + t - s*s - st - t*t), 2 at the mid-sides.
TEST(ElementShapeFunctions, PlateTriangleSums) {
  std::mt19937 gen(99);
  for (int code : {ELEM_TLCL, ELEM_DKT}) {
    for (int trial = 0; trial < 10; ++trial) {
      const Point p = random_point(code, gen);
      const Evaluation e = evaluate(code, p);
      double sum = 0.0;
      for (int b = 0; b < 6; ++b) sum += e.F[b];
      const double s = p[0], t = p[1];
      EXPECT_NEAR(sum, 1.0 + 4.0 * (s + t - s * s - s * t - t * t), 1e-13);
    }
    const Evaluation c = evaluate(code, {1.0 / 3.0, 1.0 / 3.0, 0});
    for (int b = 0; b < 3; ++b) EXPECT_NEAR(c.F[b], 1.0 / 3.0, 1e-15);
    for (int b = 3; b < 6; ++b) EXPECT_NEAR(c.F[b], 4.0 / 9.0, 1e-15);
    const Point mids[3] = {{0.5, 0, 0}, {0.5, 0.5, 0}, {0, 0.5, 0}};
    for (int m = 0; m < 3; ++m) {
      const Evaluation e = evaluate(code, mids[m]);
      EXPECT_NEAR(e.F[3 + m], 1.0, 1e-15);
      double sum = 0.0;
      for (int b = 0; b < 6; ++b) sum += e.F[b];
      EXPECT_NEAR(sum, 2.0, 1e-15);
    }
  }
}

TEST(ElementShapeFunctions, HexahedraNumberTheirFirstNodeDifferently) {
  EXPECT_DOUBLE_EQ(evaluate(ELEM_HE20, {1, -1, -1}).F[0], 1.0);
  EXPECT_DOUBLE_EQ(evaluate(ELEM_HE20, {-1, -1, -1}).F[0], 0.0);
  EXPECT_DOUBLE_EQ(evaluate(ELEM_HE27, {-1, -1, -1}).F[0], 1.0);
  EXPECT_DOUBLE_EQ(evaluate(ELEM_HE27, {1, -1, -1}).F[0], 0.0);
}

TEST(ElementShapeFunctions, CallContract) {
  // Two-dimensional types ignore u, lines ignore t and u.
  for (int code : {ELEM_TR6, ELEM_QU8, ELEM_QU9, ELEM_TLCL, ELEM_LI3}) {
    const Evaluation a = evaluate(code, {0.2, 0.3, 0.0});
    const Evaluation b = evaluate(code, {0.2, code == ELEM_LI3 ? -0.9 : 0.3, 0.71});
    EXPECT_EQ(a.F, b.F) << code;
    EXPECT_EQ(a.D, b.D) << code;
  }
  // An unknown code leaves the arrays as they were.
  for (int code : {0, 18, -3}) {
    Evaluation e;
    e.F.fill(7.0);
    e.D.fill(-7.0);
    FUNFOR(0.1, 0.2, 0.3, code, 3, e.F.data(), e.D.data());
    for (double v : e.F) EXPECT_EQ(v, 7.0);
    for (double v : e.D) EXPECT_EQ(v, -7.0);
  }
  // The family routines write the same as FUNFOR and nothing beyond their functions.
  std::array<double, 6> F{}, D{};
  F.fill(9.0);
  line_shape_functions(0.4, 2, F.data(), D.data());
  EXPECT_DOUBLE_EQ(F[0], 0.3);
  EXPECT_DOUBLE_EQ(F[1], 0.7);
  EXPECT_EQ(F[2], 9.0);
}

}  // namespace
}  // namespace vortan
