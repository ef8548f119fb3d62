// The panel factorisation of the LDLT profile against the column factorisation:
// the same factors to rounding on random profiles (positive definite and with
// negative pivots), the same factors bit for bit whatever the number of threads, and
// the same stops, listing lines and progress lines.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "../test_support.h"
#include "analyses/inpdat.h"
#include "run/file_set.h"
#include "run/worker_threads.h"
#include "solve/skyline_factor.h"

namespace vortan {
namespace {

// A symmetric profile in the storage of the LDLT path, built from a dense matrix.
struct Profile {
  int n = 0;
  std::vector<int> height;    // height[j]: rows j - height[j] .. j - 1 above the diagonal (0-based)
  std::vector<double> dense;  // n x n, column by column

  double& at(int r, int c) { return dense[static_cast<std::size_t>(c) * n + r]; }
  double at(int r, int c) const { return dense[static_cast<std::size_t>(c) * n + r]; }

  // Random entries in [-1, 1] under a skyline. `envelope` makes the tops rise with
  // the column (as a node numbering gives them), each top lowered by up to `jitter`
  // rows so that neighbouring columns start a few rows apart in either order;
  // otherwise each height is drawn on its own, so that neighbouring columns start far
  // apart. The diagonal is the
  // absolute row sum plus one, negated for every `negative_every`-th equation: the
  // matrix is then strictly diagonally dominant, and each pivot keeps the sign of its
  // diagonal.
  static Profile random(int n, int max_height, bool envelope, int negative_every, unsigned seed, int jitter = 0) {
    Profile p;
    p.n = n;
    p.height.assign(n, 0);
    p.dense.assign(static_cast<std::size_t>(n) * n, 0.0);
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    int top = 0;
    for (int j = 1; j < n; ++j) {
      if (envelope) {
        top = std::max(top, j - max_height + std::uniform_int_distribution<int>(0, max_height / 4)(gen));
        p.height[j] = std::min(j, std::max(0, j - std::min(top, j)) + std::uniform_int_distribution<int>(0, jitter)(gen));
      } else {
        p.height[j] = std::uniform_int_distribution<int>(0, std::min(j, max_height))(gen);
      }
    }
    for (int j = 0; j < n; ++j)
      for (int r = j - p.height[j]; r < j; ++r) p.at(r, j) = p.at(j, r) = value(gen);
    for (int r = 0; r < n; ++r) {
      double sum = 1.0;
      for (int c = 0; c < n; ++c) sum += std::abs(p.at(r, c));
      p.at(r, r) = negative_every > 0 && r % negative_every == negative_every - 1 ? -sum : sum;
    }
    return p;
  }

  void to_ldlt(std::vector<double>& amatr, std::vector<std::int32_t>& pointers) const {
    pointers.assign(n + 1, 0);
    for (int j = 1; j <= n; ++j) pointers[j] = pointers[j - 1] + height[j - 1];
    amatr.assign(n + pointers[n], 0.0);
    for (int j = 0; j < n; ++j) {
      amatr[j] = at(j, j);
      for (int k = 0; k < height[j]; ++k) amatr[n + pointers[j] + k] = at(j - height[j] + k, j);
    }
  }
};

struct Factored {
  std::vector<double> amatr;
  std::vector<std::int32_t> pointers;
  std::int32_t lost = 0;
};

// threads 0: the column factorisation.
Factored factor(const Profile& p, int threads, int width = SKYLINE_PANEL_WIDTH) {
  Factored f;
  p.to_ldlt(f.amatr, f.pointers);
  f.lost = threads == 0 ? skyline_factor_by_columns(f.amatr.data(), f.pointers.data(), p.n)
                        : skyline_factor_by_panels(f.amatr.data(), f.pointers.data(), p.n, nullptr, threads, width);
  return f;
}

class SkylinePanels : public ::testing::Test {
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
  test::TempDir dir;
};

// Every entry of the factors (the reciprocal pivots and the unit upper factor) agrees
// with the column factorisation to 1e-12 of the larger of it and one, for panels
// narrower than, equal to and not a multiple of the tiles, on profiles with rising
// and with ragged tops, positive definite and with negative pivots; the panel factors
// solve the system, and the negative pivots are where the negative diagonals are.
TEST_F(SkylinePanels, PanelFactorsAgreeWithColumnFactors) {
  struct Case {
    int n, max_height;
    bool envelope;
    int negative_every, width, jitter;
  };
  for (const Case& c : {Case{300, 120, true, 0, 16, 0}, Case{300, 120, false, 0, 64, 0}, Case{257, 90, true, 7, 20, 0},
                        Case{260, 140, false, 3, 8, 0}, Case{200, 199, false, 5, 36, 0}, Case{300, 100, true, 4, 32, 6}}) {
    const Profile p = Profile::random(c.n, c.max_height, c.envelope, c.negative_every, c.n + c.width, c.jitter);
    const Factored columns = factor(p, 0);
    const Factored panels = factor(p, 1, c.width);
    const std::string label = "n " + std::to_string(c.n) + " width " + std::to_string(c.width);
    EXPECT_EQ(panels.lost, columns.lost) << label;
    double worst = 0.0;
    for (std::size_t k = 0; k < columns.amatr.size(); ++k)
      worst = std::max(worst, std::abs(panels.amatr[k] - columns.amatr[k]) / std::max(1.0, std::abs(columns.amatr[k])));
    EXPECT_LT(worst, 1e-12) << label;
    int negatives = 0, expected_negatives = 0;
    for (int j = 0; j < p.n; ++j) {
      negatives += panels.amatr[j] < 0.0;
      expected_negatives += p.at(j, j) < 0.0;
    }
    EXPECT_EQ(negatives, expected_negatives) << label;
    EXPECT_GT(expected_negatives, c.negative_every > 0 ? 10 : -1) << label;
    // A x = b with the panel factors.
    std::vector<double> b(p.n), x(p.n);
    for (int i = 0; i < p.n; ++i) x[i] = b[i] = std::sin(1.0 + i);
    skyline_resolution(panels.amatr.data(), panels.pointers.data(), p.n, x.data());
    double r2 = 0.0, b2 = 0.0;
    for (int i = 0; i < p.n; ++i) {
      double s = -b[i];
      for (int j = 0; j < p.n; ++j) s += p.at(i, j) * x[j];
      r2 += s * s;
      b2 += b[i] * b[i];
    }
    EXPECT_LT(std::sqrt(r2 / b2), 1e-13) << label;
  }
}

// The block updates give each entry the same operations whatever the share of the
// threads: the factors of one, two and three threads are the same bits. The panels
// are large enough to be shared out.
TEST_F(SkylinePanels, FactorsDoNotDependOnTheNumberOfThreads) {
  for (const bool envelope : {true, false}) {
    const Profile p = Profile::random(700, 260, envelope, 4, envelope ? 21u : 22u);
    const Factored one = factor(p, 1);
    for (const int threads : {2, 3}) {
      const Factored more = factor(p, threads);
      ASSERT_EQ(more.amatr.size(), one.amatr.size());
      std::size_t differing = 0;
      for (std::size_t k = 0; k < one.amatr.size(); ++k) differing += more.amatr[k] != one.amatr[k];
      EXPECT_EQ(differing, 0u) << threads << " threads, envelope " << envelope;
    }
  }
}

// An equation that depends on the ones before it, far below the first panel, stops
// the panel factorisation with the stop of the column factorisation: a zero diagonal
// whose reduced value is round-off stops as a rank failure, a copy of an earlier
// equation as a pivot without digits.
TEST_F(SkylinePanels, SingularEquationsStopAsByColumns) {
  // Equation k (0-based) with a zero diagonal and the column A x of an x = e_p + t e_q
  // for which x^T A x = 0 (p with a positive pivot, q with a negative one): its pivot
  // 0 - x^T A x is zero but for round-off.
  Profile singular = Profile::random(160, 60, true, 3, 31);
  const int k = 130, p = 100, q = 101;
  ASSERT_LT(singular.at(q, q), 0.0);
  const double app = singular.at(p, p), apq = singular.at(p, q), aqq = singular.at(q, q);
  const double t = (-apq - std::sqrt(apq * apq - app * aqq)) / aqq;  // app + 2 t apq + t^2 aqq = 0
  for (int r = 0; r < singular.n; ++r) singular.at(r, k) = singular.at(k, r) = 0.0;
  int first = k;
  for (int r = 0; r < k; ++r) {
    singular.at(r, k) = singular.at(k, r) = singular.at(r, p) + t * singular.at(r, q);
    if (singular.at(r, k) != 0.0) first = std::min(first, r);
  }
  singular.height[k] = k - first;
  for (int c = k + 1; c < singular.n; ++c)
    if (c - singular.height[c] <= k) singular.at(k, c) = singular.at(c, k) = 0.0;

  // Equation k a copy of equation k - 1.
  Profile copy = Profile::random(160, 60, true, 0, 32);
  for (int r = 0; r < copy.n; ++r)
    if (r != k && r != k - 1) copy.at(r, k) = copy.at(k, r) = copy.at(r, k - 1);
  copy.at(k - 1, k) = copy.at(k, k - 1) = copy.at(k, k) = copy.at(k - 1, k - 1);
  copy.height[k] = copy.height[k - 1] + 1;

  const std::string equation = std::to_string(k + 1);
  for (const int threads : {0, 1, 2}) {
    const std::string label = std::to_string(threads) + " threads";
    EXPECT_EQ(test::stop_message_of([&] { factor(singular, threads, 16); }), "SKYTRI:MATRIZ SINGULAR") << label;
    EXPECT_NE(listing().find(" *** singular matrix. rank failure for zero unreduced diagonal in eq.   " + equation + "\n"),
              std::string::npos)
        << label;
    EXPECT_EQ(test::stop_message_of([&] { factor(copy, threads, 16); }), "SKYTRI: MECANISMO EN ECUACION " + equation)
        << label;
  }
}

// One progress line per equation, as the column factorisation writes them.
TEST_F(SkylinePanels, ProgressLinesAsByColumns) {
  const Profile p = Profile::random(60, 30, false, 0, 41);
  std::string console[2];
  for (const int threads : {0, 2}) {
    testing::internal::CaptureStdout();
    factor(p, threads, 8);
    flush_units();
    console[threads / 2] = testing::internal::GetCapturedStdout();
  }
  EXPECT_EQ(console[1], console[0]);
  EXPECT_NE(console[1].find("+ FACTORIZANDO ECUACION NUM:      60 CPU :      0: 0: 0    TOTAL EQ.=      60\n"),
            std::string::npos);
}

// Work shared out on the team is done once, item by item, by at most the threads
// asked for; an exception of any thread comes back to the caller, and the team goes
// on working after it. The count comes from VORTAN_THREADS when it is a whole number
// in range.
TEST(WorkerThreads, SharedWorkIsDoneOnceAndFailuresComeBack) {
  for (const int count : {1, 2, 3, 2}) {
    std::vector<std::atomic<int>> done(1000);
    std::atomic<int> next{0}, calls{0};
    share_on_threads(count, [&] {
      ++calls;
      for (int item = next++; item < 1000; item = next++) ++done[item];
    });
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(done[i].load(), 1) << count << " " << i;
    EXPECT_GE(calls.load(), 1);
    EXPECT_LE(calls.load(), count);
  }
  std::atomic<int> next{0};
  EXPECT_THROW(share_on_threads(2, [&] {
                 if (next++ == 0) throw std::runtime_error("worker");
               }),
               std::runtime_error);
  std::atomic<int> items{0};
  share_on_threads(2, [&] {
    while (items.load() < 100) ++items;
  });
  EXPECT_GE(items.load(), 100);

  const char* saved = std::getenv("VORTAN_THREADS");
  const std::string kept = saved != nullptr ? saved : "";
  unsetenv("VORTAN_THREADS");
  const int machine = worker_thread_count();
  EXPECT_GE(machine, 1);
  setenv("VORTAN_THREADS", "3", 1);
  EXPECT_EQ(worker_thread_count(), 3);
  for (const char* wrong : {"0", "-2", "2x", "65", ""}) {
    setenv("VORTAN_THREADS", wrong, 1);
    EXPECT_EQ(worker_thread_count(), machine) << wrong;
  }
  if (saved != nullptr) setenv("VORTAN_THREADS", kept.c_str(), 1);
  else unsetenv("VORTAN_THREADS");
}

}  // namespace
}  // namespace vortan
