#include "elements/integration_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

#include "elements/shape_functions.h"

namespace vortan {
namespace {

struct Rule {
  int count = 0;
  std::array<double, 3 * 27> P{};
  std::array<double, 27> W{};
  double s(int i) const { return P[i]; }
  double t(int i) const { return P[count + i]; }
  double u(int i) const { return P[2 * count + i]; }
};

Rule rule_of(int code, int ngaus) {
  Rule r;
  r.count = integration_point_count(code, ngaus);
  REGINT(code, ngaus, r.P.data(), r.W.data());
  return r;
}

double factorial(int n) { return n <= 1 ? 1.0 : n * factorial(n - 1); }

// Exact integrals of monomials over the parent domains.
double line_integral(int k) { return k % 2 ? 0.0 : 2.0 / (k + 1); }
double triangle_integral(int a, int b) {
  return factorial(a) * factorial(b) / factorial(a + b + 2);
}
double tetrahedron_integral(int a, int b, int c) {
  return factorial(a) * factorial(b) * factorial(c) / factorial(a + b + c + 3);
}

double apply(const Rule& r, int dim, const std::function<double(double, double, double)>& f) {
  double sum = 0.0;
  for (int i = 0; i < r.count; ++i)
    sum += r.W[i] * f(r.s(i), dim > 1 ? r.t(i) : 0.0, dim > 2 ? r.u(i) : 0.0);
  return sum;
}

struct Case {
  int code;
  int ngaus;
  int degree;        // total degree (simplices) or degree per coordinate (tensor rules)
  int wedge_degree;  // degree along u of the wedge
  double tolerance;  // relative: the Gauss constants are single-precision values
};

// Every monomial up to the rule's degree is integrated exactly over its parent.
TEST(ElementIntegrationRules, IntegrateMonomialsUpToTheirDegree) {
  const Case cases[] = {
      {ELEM_LI2, 1, 1, 0, 1e-15},  {ELEM_LI3, 2, 3, 0, 1e-7},   {ELEM_TRC2, 3, 5, 0, 1e-7},
      {ELEM_QU4, 1, 1, 0, 1e-15},  {ELEM_QU8, 4, 3, 0, 1e-7},   {ELEM_QU9, 9, 5, 0, 1e-7},
      {ELEM_HE8, 1, 1, 0, 1e-15},  {ELEM_HE20, 8, 3, 0, 1e-7},  {ELEM_HE27, 27, 5, 0, 1e-7},
      {ELEM_TR3, 1, 1, 0, 1e-15},  {ELEM_TR6, 3, 2, 0, 1e-15},  {ELEM_DKT, 7, 5, 0, 1e-12},
      {ELEM_TE4, 1, 1, 0, 1e-15},  {ELEM_TE10, 4, 2, 0, 1e-7},  {ELEM_TE10, 5, 3, 0, 1e-15},
      {ELEM_PI15, 21, 3, 5, 1e-7},
  };
  for (const Case& c : cases) {
    const Rule r = rule_of(c.code, c.ngaus);
    ASSERT_EQ(r.count, c.ngaus) << c.code;
    const int dim = element_natural_dimension(c.code);
    const bool tensor = (c.code >= 3 && c.code <= 8) || c.code >= 15;
    const int top_u = c.code == ELEM_PI15 ? c.wedge_degree : c.degree;
    for (int a = 0; a <= c.degree; ++a)
      for (int b = 0; b <= (dim > 1 ? c.degree : 0); ++b)
        for (int k = 0; k <= (dim > 2 ? top_u : 0); ++k) {
          double exact = 0.0;
          if (tensor) {
            exact = line_integral(a) * (dim > 1 ? line_integral(b) : 1.0) *
                    (dim > 2 ? line_integral(k) : 1.0);
          } else if (c.code == ELEM_PI15) {
            if (a + b > c.degree) continue;
            exact = triangle_integral(a, b) * line_integral(k);
          } else if (dim == 2) {
            if (a + b > c.degree) continue;
            exact = triangle_integral(a, b);
          } else {
            if (a + b + k > c.degree) continue;
            exact = tetrahedron_integral(a, b, k);
          }
          const double got = apply(r, dim, [&](double s, double t, double u) {
            return std::pow(s, a) * std::pow(t, b) * std::pow(u, k);
          });
          EXPECT_NEAR(got, exact, c.tolerance * (1.0 + std::abs(exact)))
              << "code " << c.code << " ngaus " << c.ngaus << " monomial " << a << b << k;
        }
  }
  // The value quoted for the five-point tetrahedron.
  const Rule tet5 = rule_of(ELEM_TE10, 5);
  EXPECT_NEAR(apply(tet5, 3, [](double s, double, double) { return s * s; }), 1.0 / 60.0, 1e-16);
}

TEST(ElementIntegrationRules, PointOrderAndSinglePrecisionWeights) {
  const double g = 0.5773502588272095;
  const Rule q4 = rule_of(ELEM_QU4, 4);  // s slowest
  EXPECT_EQ(q4.s(1), -g);
  EXPECT_EQ(q4.t(1), g);
  EXPECT_EQ(q4.s(2), g);
  EXPECT_EQ(q4.t(2), -g);
  const Rule h8 = rule_of(ELEM_HE8, 8);  // u slowest, then s, t fastest
  EXPECT_EQ(h8.t(1), g);
  EXPECT_EQ(h8.s(2), g);
  EXPECT_EQ(h8.u(3), -g);
  EXPECT_EQ(h8.u(4), g);
  const Rule h27 = rule_of(ELEM_HE27, 27);
  EXPECT_EQ(h27.W[0], 0.17146776616573334);  // 125/729 in single precision
  EXPECT_EQ(h27.W[13], 0.7023319602012634);   // the centre point
  EXPECT_EQ(h27.u(13), 0.0);
  const Rule q9 = rule_of(ELEM_QU9, 9);
  EXPECT_EQ(q9.W[4], 0.790123462677002);
  EXPECT_EQ(q9.s(6), 0.7745966911315918);
  // The four tetrahedron points lie inside the parent.
  const Rule t4 = rule_of(ELEM_TE4, 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_GT(std::min({t4.s(i), t4.t(i), t4.u(i)}), 0.0);
    EXPECT_LT(t4.s(i) + t4.t(i) + t4.u(i), 1.0);
  }
}

TEST(ElementIntegrationRules, CombinationsWithoutRuleAndTheWedge) {
  const int no_rule[][2] = {{ELEM_QU4, 2}, {ELEM_QU9, 16}, {ELEM_TR3, 4}, {ELEM_HE8, 9},
                            {ELEM_TE4, 3}, {ELEM_LI2, 4},  {0, 1},       {18, 1},
                            {ELEM_LI3, 0}, {ELEM_PI15, 0}};
  for (auto [code, ngaus] : no_rule) {
    EXPECT_FALSE(has_integration_rule(code, ngaus)) << code << " " << ngaus;
    std::array<double, 81> P;
    std::array<double, 27> W;
    P.fill(5.0);
    W.fill(5.0);
    REGINT(code, ngaus, P.data(), W.data());
    for (double v : P) EXPECT_EQ(v, 5.0);
    for (double v : W) EXPECT_EQ(v, 5.0);
  }
  for (int code = 1; code <= ELEMENT_TYPE_COUNT; ++code)
    EXPECT_TRUE(has_integration_rule(code, element_default_ngaus(code))) << code;
  // The wedge always has its 21 points, laid out with 21 rows.
  for (int ngaus : {1, 6, 21}) {
    EXPECT_EQ(integration_point_count(ELEM_PI15, ngaus), WEDGE_RULE_POINTS);
    std::array<double, 3 * 21 + 1> P;
    std::array<double, 22> W;
    P.fill(5.0);
    W.fill(5.0);
    REGINT(ELEM_PI15, ngaus, P.data(), W.data());
    double sum = 0.0;
    for (int i = 0; i < 21; ++i) sum += W[i];
    EXPECT_NEAR(sum, 1.0, 1e-7);
    EXPECT_EQ(P[63], 5.0);
    EXPECT_EQ(W[21], 5.0);
  }
}

}  // namespace
}  // namespace vortan
