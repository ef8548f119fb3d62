// The profile storages, their factorisations and their solutions, on matrices built
// directly: random symmetric systems with random skylines, and the small singular or
// indefinite matrices that drive the warnings and stops.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "../test_support.h"
#include "analyses/inpdat.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "solve/pivot_rule.h"
#include "solve/profile_factor.h"
#include "solve/skyline_factor.h"
#include "solve/skyline_profile.h"

namespace vortan {
namespace {

// A symmetric matrix with a skyline: column j holds rows j - height[j] .. j.
struct SkylineMatrix {
  int n = 0;
  std::vector<int> height;
  std::vector<double> dense;  // n x n, column by column
  double& at(int r, int c) { return dense[static_cast<std::size_t>(c) * n + r]; }

  // Random entries in [-1, 1] under a random skyline; the diagonal is the absolute
  // row sum plus `shift` (positive definite for shift > 0).
  static SkylineMatrix random(int n, int max_height, double shift, unsigned seed) {
    SkylineMatrix m;
    m.n = n;
    m.height.assign(n, 0);
    m.dense.assign(static_cast<std::size_t>(n) * n, 0.0);
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    for (int j = 1; j < n; ++j) m.height[j] = std::uniform_int_distribution<int>(0, std::min(j, max_height))(gen);
    for (int j = 0; j < n; ++j)
      for (int r = j - m.height[j]; r < j; ++r) m.at(r, j) = m.at(j, r) = value(gen);
    for (int r = 0; r < n; ++r) {
      double sum = 0.0;
      for (int c = 0; c < n; ++c) sum += std::abs(m.at(r, c));
      m.at(r, r) = sum + shift;
    }
    return m;
  }

  // AMATR layout of the LDLT path: diagonal first, then columns from their top down.
  void to_ldlt(std::vector<double>& amatr, std::vector<std::int32_t>& pointers) const {
    pointers.assign(n + 1, 0);
    for (int j = 1; j <= n; ++j) pointers[j] = pointers[j - 1] + height[j - 1];
    amatr.assign(n + pointers[n], 0.0);
    for (int j = 0; j < n; ++j) {
      amatr[j] = dense[static_cast<std::size_t>(j) * n + j];
      for (int k = 0; k < height[j]; ++k)
        amatr[n + pointers[j] + k] = dense[static_cast<std::size_t>(j) * n + (j - height[j] + k)];
    }
  }

  // STIFF layout with MAXAD: each column from its diagonal upward.
  void to_maxad(std::vector<double>& stiff, std::vector<std::int32_t>& maxad) const {
    maxad.assign(n + 1, 1);
    for (int j = 0; j < n; ++j) maxad[j + 1] = maxad[j] + height[j] + 1;
    stiff.assign(maxad[n], 0.0);
    for (int j = 0; j < n; ++j)
      for (int k = 0; k <= height[j]; ++k) stiff[maxad[j] - 1 + k] = dense[static_cast<std::size_t>(j) * n + (j - k)];
  }

  // |A x - b| / |b|.
  double relative_residual(const std::vector<double>& x, const std::vector<double>& b) const {
    double r2 = 0.0, b2 = 0.0;
    for (int i = 0; i < n; ++i) {
      double s = -b[i];
      for (int j = 0; j < n; ++j) s += dense[static_cast<std::size_t>(j) * n + i] * x[j];
      r2 += s * s;
      b2 += b[i] * b[i];
    }
    return std::sqrt(r2 / b2);
  }
};

std::vector<double> right_hand_side(int n) {
  std::vector<double> b(n);
  for (int i = 0; i < n; ++i) b[i] = std::sin(1.0 + i);
  return b;
}

class ProfileSolvers : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ensure_work_array();
    test::write_file(dir.file("P.vtn"), "VORTAN\n");
    test::open_deck(dir.file("P.vtn"));
  }
  void TearDown() override { reset_run_state(); }
  std::string listing() {
    flush_units();
    return test::read_file(dir.file("P.sal"));
  }
  static std::string stop_of(const std::function<void()>& call) { return test::stop_message_of(call); }
  test::TempDir dir;
};

TEST_F(ProfileSolvers, SkytriSolvesRandomSymmetricSystems) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const SkylineMatrix m = SkylineMatrix::random(120, seed * 17, 0.5, seed);
    std::vector<double> amatr, x = right_hand_side(m.n);
    std::vector<std::int32_t> pointers;
    m.to_ldlt(amatr, pointers);
    EXPECT_EQ(SKYTRI(amatr.data(), pointers.data(), m.n), 0);
    skyline_resolution(amatr.data(), pointers.data(), m.n, x.data());
    EXPECT_LT(m.relative_residual(x, right_hand_side(m.n)), 1e-12) << "seed " << seed;
  }
}

TEST_F(ProfileSolvers, DecompSolvesRandomPositiveDefiniteSystems) {
  for (unsigned seed : {4u, 5u, 6u}) {
    const SkylineMatrix m = SkylineMatrix::random(150, 40, 0.1, seed);
    std::vector<double> stiff, x = right_hand_side(m.n);
    std::vector<std::int32_t> maxad;
    m.to_maxad(stiff, maxad);
    EXPECT_EQ(DECOMP(stiff.data(), maxad.data(), m.n, false), 0);
    profile_resolution(stiff.data(), maxad.data(), m.n, x.data());
    EXPECT_LT(m.relative_residual(x, right_hand_side(m.n)), 1e-10) << "seed " << seed;
  }
}

// Several right-hand sides solved together give what each gives alone, and the
// product with the unfactorised matrix is that of the dense matrix.
TEST_F(ProfileSolvers, BlockResolutionAndProduct) {
  const SkylineMatrix m = SkylineMatrix::random(90, 30, 0.2, 7);
  std::vector<double> stiff;
  std::vector<std::int32_t> maxad;
  m.to_maxad(stiff, maxad);
  std::vector<double> product(m.n), x = right_hand_side(m.n);
  profile_product(stiff.data(), maxad.data(), m.n, x.data(), product.data());
  for (int i = 0; i < m.n; ++i) {
    double s = 0.0;
    for (int j = 0; j < m.n; ++j) s += m.dense[static_cast<std::size_t>(j) * m.n + i] * x[j];
    EXPECT_NEAR(product[i], s, 1e-12 * std::abs(m.dense[static_cast<std::size_t>(i) * m.n + i])) << i;
  }
  EXPECT_EQ(DECOMP(stiff.data(), maxad.data(), m.n, false), 0);
  // Six right-hand sides held equation by equation (the runs of four and the rest).
  const int count = 6;
  std::vector<double> interleaved(static_cast<std::size_t>(count) * m.n);
  std::vector<std::vector<double>> single(count, std::vector<double>(m.n));
  for (int k = 0; k < count; ++k)
    for (int i = 0; i < m.n; ++i) single[k][i] = interleaved[static_cast<std::size_t>(i) * count + k] = std::cos(i * (k + 1.0));
  profile_resolution_interleaved(stiff.data(), maxad.data(), m.n, interleaved.data(), count);
  for (int k = 0; k < count; ++k) {
    profile_resolution(stiff.data(), maxad.data(), m.n, single[k].data());
    for (int i = 0; i < m.n; ++i)
      EXPECT_NEAR(interleaved[static_cast<std::size_t>(i) * count + k], single[k][i], 1e-12 * (1 + std::abs(single[k][i])))
          << k << " " << i;
  }
}

// An indefinite matrix: the factorisation stops unless negative pivots are allowed,
// and then it counts them as the negative eigenvalues (A = L D L^T with D of known
// signs) and still solves.
TEST_F(ProfileSolvers, DecompStopsOnIndefiniteMatricesUnlessAllowed) {
  SkylineMatrix m = SkylineMatrix::random(30, 5, 0.5, 9);
  for (int i : {3, 11, 12, 25}) m.at(i, i) = -m.at(i, i);  // a dominant negative diagonal
  std::vector<double> stiff, x = right_hand_side(m.n);
  std::vector<std::int32_t> maxad;
  m.to_maxad(stiff, maxad);
  std::vector<double> copy = stiff;
  EXPECT_EQ(stop_of([&] { DECOMP(copy.data(), maxad.data(), m.n, false); }), "DECOMP: MAT RIGIDEZ NO DEFINIDA POSITIVA");
  const std::string sal = listing();
  EXPECT_NE(sal.find("LA MATRIZ DE RIGIDEZ NO ES DEFINIDA POSITIVA\nECUACION =   4\nPIVOTE = -0."), std::string::npos);
  EXPECT_EQ(DECOMP(stiff.data(), maxad.data(), m.n, true), 4);
  profile_resolution(stiff.data(), maxad.data(), m.n, x.data());
  EXPECT_LT(m.relative_residual(x, right_hand_side(m.n)), 1e-10);
}

TEST_F(ProfileSolvers, DecompStopsOnAZeroPivotEvenWhenNegativesAreAllowed) {
  // [[1, 1], [1, 1]]: the second pivot is exactly zero, and no later column uses it.
  std::vector<double> stiff = {1.0, 1.0, 1.0};
  std::vector<std::int32_t> maxad = {1, 2, 4};
  EXPECT_EQ(stop_of([&] { DECOMP(stiff.data(), maxad.data(), 2, true); }), "DECOMP: MAT RIGIDEZ NO DEFINIDA POSITIVA");
}

// A pivot that has kept seven digits only warns; a zero unreduced diagonal with a
// column above it meets the rank test, which stops.
TEST_F(ProfileSolvers, SkytriSingularAndIllConditionedMatrices) {
  // [[1, 1], [1, 1 + 1e-9]] loses nine digits in its second pivot.
  std::vector<double> close = {1.0, 1.0 + 1e-9, 1.0};
  std::vector<std::int32_t> one = {0, 0, 1};
  EXPECT_EQ(SKYTRI(close.data(), one.data(), 2), 1);
  EXPECT_NE(listing().find(" *** ill-conditioned matrix. loss of at least 7 digits for        1 eqs.\n"),
            std::string::npos);

  // Last, since the stop closes the listing.
  // [[1, 0, 1], [0, -1, 1], [1, 1, 0]] is singular: the third pivot is 0 - (1 - 1).
  std::vector<double> amatr = {1.0, -1.0, 0.0, /* column 2 */ 0.0, /* column 3 */ 1.0, 1.0};
  std::vector<std::int32_t> pointers = {0, 0, 1, 3};
  EXPECT_EQ(stop_of([&] { SKYTRI(amatr.data(), pointers.data(), 3); }), "SKYTRI:MATRIZ SINGULAR");
  EXPECT_NE(listing().find(" *** singular matrix. reduced diagonal is zero for equation    3\n"
                           " *** singular matrix. rank failure for zero unreduced diagonal in eq.     3\n"),
            std::string::npos);
}

// The relative pivot rule: a pivot at most 1e-11 of its original diagonal stops every
// profile factorisation (a shifted DECOMP excepted), one above it does not.
// [[1, 1], [1, 1 + e]] has the second pivot e exactly (1 + e - 1 is exact).
TEST_F(ProfileSolvers, PivotsThatLostTheirDigitsStop) {
  EXPECT_TRUE(pivot_lost_its_digits(1.0E-11, 1.0));
  EXPECT_FALSE(pivot_lost_its_digits(1.0E-11 * (1.0 + 1e-15), 1.0));
  EXPECT_TRUE(pivot_lost_its_digits(-2.0E-12, -1.0));
  EXPECT_TRUE(pivot_lost_its_digits(0.0, 0.0));
  EXPECT_TRUE(pivot_lost_its_digits(std::nan(""), 1.0));
  EXPECT_FALSE(pivot_lost_its_digits(-1.0, 1.0));  // negative pivots are the definiteness test's
  for (const double e : {1.0E-10, 1.0E-12}) {
    const bool stops = e < 1.0E-11;
    std::vector<double> amatr = {1.0, 1.0 + e, 1.0};
    const std::vector<std::int32_t> pointers = {0, 0, 1};
    EXPECT_EQ(stop_of([&] { SKYTRI(amatr.data(), pointers.data(), 2); }),
              stops ? "SKYTRI: MECANISMO EN ECUACION 2" : "no stop") << e;
    std::vector<double> stiff = {1.0, 1.0 + e, 1.0};
    const std::vector<std::int32_t> maxad = {1, 2, 4};
    std::vector<double> shifted = stiff;
    EXPECT_EQ(stop_of([&] { DECOMP(stiff.data(), maxad.data(), 2, false); }),
              stops ? "DECOMP: MECANISMO EN ECUACION 2" : "no stop") << e;
    EXPECT_EQ(stop_of([&] { DECOMP(shifted.data(), maxad.data(), 2, true); }), "no stop") << e;
  }
  EXPECT_NE(listing().find("PIVOTE SIN CIFRAS SIGNIFICATIVAS=        0.100009E-11 DIAGONAL ORIGINAL=        0.100000E+01\n"
                           "ECUACION No.=         2\n"),
            std::string::npos);
}

// A zero unreduced diagonal in a column of height 0 (an unknown without stiffness)
// gives the zero-diagonal warning and then stops as a pivot without digits.
TEST_F(ProfileSolvers, SkytriStopsOnAnUnknownWithoutStiffness) {
  std::vector<double> uncoupled = {2.0, 0.0};
  std::vector<std::int32_t> flat = {0, 0, 0};
  EXPECT_EQ(stop_of([&] { SKYTRI(uncoupled.data(), flat.data(), 2); }), "SKYTRI: MECANISMO EN ECUACION 2");
  EXPECT_NE(listing().find(" *** singular matrix. reduced diagonal is zero for equation    2\n"
                           "PIVOTE SIN CIFRAS SIGNIFICATIVAS=        0.000000E+00 DIAGONAL ORIGINAL=        0.000000E+00\n"),
            std::string::npos);
}

TEST_F(ProfileSolvers, SkytriWritesOneProgressLinePerEquation) {
  const SkylineMatrix m = SkylineMatrix::random(3, 2, 1.0, 11);
  std::vector<double> amatr;
  std::vector<std::int32_t> pointers;
  m.to_ldlt(amatr, pointers);
  testing::internal::CaptureStdout();
  SKYTRI(amatr.data(), pointers.data(), m.n);
  flush_units();
  const std::string console = testing::internal::GetCapturedStdout();
  EXPECT_NE(console.find("+ FACTORIZANDO ECUACION NUM:       1 CPU :      0: 0: 0    TOTAL EQ.=       3\n"
                         "+ FACTORIZANDO ECUACION NUM:       2 CPU :      0: 0: 0    TOTAL EQ.=       3\n"
                         "+ FACTORIZANDO ECUACION NUM:       3 CPU :      0: 0: 0    TOTAL EQ.=       3\n"),
            std::string::npos)
      << console;
}

// Column heights ignore prescribed (zero or negative) numbers, measure each element
// from its own lowest equation whatever the problem size, and the diagonal addresses
// follow from them.
TEST_F(ProfileSolvers, ColumnHeightsAndDiagonalAddresses) {
  std::vector<std::int32_t> heights(200010, 0);
  const std::int32_t far[4] = {200004, 0, 200001, -3};
  skyline_column_height(far, 4, heights.data());
  EXPECT_EQ(heights[200003], 3);
  EXPECT_EQ(heights[200000], 0);
  const std::int32_t prescribed[3] = {0, -1, -2};
  skyline_column_height(prescribed, 3, heights.data());

  std::vector<std::int32_t> h = {0, 0, 0, 0, 0};
  const std::int32_t a[3] = {1, 3, 0};
  const std::int32_t b[3] = {2, 5, 4};
  skyline_column_height(a, 3, h.data());
  skyline_column_height(b, 3, h.data());
  EXPECT_EQ(h, (std::vector<std::int32_t>{0, 0, 2, 2, 3}));
  std::vector<std::int32_t> maxad(6, 0);
  std::int32_t half_band = 0;
  EXPECT_EQ(diagonal_addresses(h.data(), 5, maxad.data(), half_band), 12);
  EXPECT_EQ(maxad, (std::vector<std::int32_t>{1, 2, 3, 6, 9, 13}));
  EXPECT_EQ(half_band, 4);
  EXPECT_NE(listing().find("\n     NEQNS=              5     NWKTL=             12\n\n"), std::string::npos);
}

}  // namespace
}  // namespace vortan
