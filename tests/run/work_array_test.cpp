#include "run/work_array.h"

#include <gtest/gtest.h>

#include "../test_support.h"
#include "run/errstp.h"
#include "run/file_set.h"

namespace vortan {
namespace {

int refusals_left = 0;
std::int32_t last_request = 0;
bool refuse_some(std::int32_t words) {
  last_request = words;
  return refusals_left-- <= 0;
}

TEST(WorkArraySizing, ShrinksBySinglePrecisionFactorUntilGranted) {
  const std::int32_t expected[] = {268435456, 214748368, 171798696, 137438958};
  for (int refusals = 0; refusals < 4; ++refusals) {
    RUN.MEMORY = 268435456;
    refusals_left = refusals;
    size_work_array(refuse_some);
    EXPECT_EQ(RUN.MEMORY, expected[refusals]) << refusals << " refusals";
    EXPECT_EQ(last_request, expected[refusals]);
  }
  RUN.MEMORY = 268435456;
}

class AllocatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::open_deck(dir.file("ALLOC.vtn"));
    OPENFI(UNIT_ALLOCATION);
  }
  void TearDown() override { reset_run_state(); }
  std::string table() {
    flush_units();
    return test::read_file(dir.file("ALLOC.dic"));
  }
  test::TempDir dir;
  bool created = (test::write_file(dir.file("ALLOC.vtn"), "VORTAN\n"), true);
};

TEST_F(AllocatorTest, KeepsEveryArrayOnOddPositionsAndListsIt) {
  std::int32_t cursor = 1;
  EXPECT_EQ(DIRECT(cursor, 100, 3, "LNODS", INT_WORDS), 1);
  EXPECT_EQ(cursor, 5);  // 4 is even, so the next array starts at 5
  EXPECT_EQ(DIRECT(cursor, 100, 3, "COORD", REAL_WORDS), 5);
  EXPECT_EQ(cursor, 11);
  EXPECT_EQ(DIRECT(cursor, 100, 2, "MEM-SET", REAL_WORDS), 11);
  const auto lines = test::lines_of(table());
  ASSERT_EQ(lines.size(), 11u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(lines[i], "");
  EXPECT_EQ(lines[5], "      ARREGLO    MEM. ANTER.      MEM. TOTAL   MEM. ARREG.");
  EXPECT_EQ(lines[8], "     LNODS              1              4              3");
  EXPECT_EQ(lines[9], "     COORD              5             11              6");
  EXPECT_EQ(lines[10], "     MEM-S             11             15              4");
}

TEST_F(AllocatorTest, RequestEndingAtTheLimitSucceedsOneWordMoreStops) {
  std::int32_t cursor = 1;
  EXPECT_EQ(DIRECT(cursor, 11, 5, "ADRES", REAL_WORDS), 1);
  EXPECT_EQ(cursor, 11);
  std::int32_t cursor2 = 1;
  try {
    DIRECT(cursor2, 10, 5, "ADRES", REAL_WORDS);
    FAIL() << "no stop";
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "DIRECT: MEMORIA EXCEDIDA");
  }
  const std::string dic = test::read_file(dir.file("ALLOC.dic"));
  EXPECT_NE(dic.find("          MAXIMA MEMORIA USADA               10"), std::string::npos);
  EXPECT_NE(dic.find("          MEMORIA NECESARIA AHORA            11"), std::string::npos);
  EXPECT_NE(dic.find("          ULTIMO ARREGLO DIMENSIONADO ADRES"), std::string::npos);
  const std::string sal = test::read_file(dir.file("ALLOC.sal"));
  EXPECT_NE(sal.find("          EJECUCION DE PROGRAMA DETENIDA"), std::string::npos);
  EXPECT_NE(sal.find("DIRECT: MEMORIA EXCEDIDA"), std::string::npos);
}

TEST_F(AllocatorTest, TemporaryArraysAreNotListedAndOverflowSaysSo) {
  std::int32_t cursor = 3;
  EXPECT_EQ(DIREC1(cursor, 1000, 4, "TEMPO", INT_WORDS), 3);
  EXPECT_EQ(cursor, 7);
  try {
    DIREC1(cursor, 1000, 1000, "TEMPO", REAL_WORDS);
    FAIL() << "no stop";
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "DIREC1: MEMORIA EXCEDIDA");
  }
  const std::string dic = test::read_file(dir.file("ALLOC.dic"));
  EXPECT_EQ(dic.find("MEM. ANTER."), std::string::npos);
  EXPECT_NE(dic.find("      FALLO MEMORIA EN ARREGLOS TEMPORALES"), std::string::npos);
}

TEST_F(AllocatorTest, HugeCountsNeverWrapIntoSmallPositions) {
  std::int32_t cursor = 1;
  EXPECT_THROW(DIRECT(cursor, 2000000000, std::int64_t{1} << 40, "STIFF", REAL_WORDS), FatalStop);
  EXPECT_EQ(cursor, 1);
}

TEST(WorkArrayCopies, BlockCopyMovesColumnsBetweenStrides) {
  double source[12];
  for (int i = 0; i < 12; ++i) source[i] = i + 1;
  double target[6] = {};
  COPYBL(4, 2, 3, source, target);  // two of every four values, three times
  const double expected[6] = {1, 2, 5, 6, 9, 10};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(target[i], expected[i]);
  double copy[3] = {};
  COPYR(source + 3, copy, 3);
  EXPECT_EQ(copy[2], 6.0);
  ZEROR(3, copy);
  EXPECT_EQ(copy[0] + copy[1] + copy[2], 0.0);
}

}  // namespace
}  // namespace vortan
