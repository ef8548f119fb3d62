#include "run/timing.h"

#include <gtest/gtest.h>

#include "../test_support.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan {
namespace {

LocalTime fake_now{10, 0, 0, 0, 1, 3, 2024};
LocalTime fake_clock() { return fake_now; }

class TimingTest : public ::testing::Test {
 protected:
  void SetUp() override { set_clock_source(fake_clock); }
  void TearDown() override {
    set_clock_source(nullptr);
    reset_run_state();
  }
};

TEST_F(TimingTest, ClockReadingCountsDaysOfTheYearWithTheLeapRule) {
  EXPECT_EQ(clock_reading({0, 0, 0, 0, 1, 1, 2023}), 86400.0);
  EXPECT_EQ(clock_reading({0, 0, 0, 0, 1, 3, 2023}), (1 + 59) * 86400.0);
  EXPECT_EQ(clock_reading({0, 0, 0, 0, 1, 3, 2024}), (1 + 59 + 1) * 86400.0);
  EXPECT_EQ(clock_reading({0, 0, 0, 0, 29, 2, 2024}), (29 + 31) * 86400.0);
  EXPECT_DOUBLE_EQ(clock_reading({1, 2, 3, 456, 31, 12, 2023}),
                   (31 + 334) * 86400.0 + 3600 + 120 + 3.456);
}

TEST_F(TimingTest, ActionsAccumulateFromTheirLastStart) {
  double table[40] = {};
  fake_now = {10, 0, 0, 0, 1, 3, 2024};
  TIMACC(3, table, 1);
  fake_now.second = 2;
  TIMACC(3, table, 2);
  EXPECT_DOUBLE_EQ(table[2], 2.0);
  fake_now.second = 5;
  TIMACC(3, table, 2);  // a second stop counts again from the same start
  EXPECT_DOUBLE_EQ(table[2], 7.0);
  EXPECT_EQ(table[3], 0.0);
}

TEST_F(TimingTest, ElapsedTimeSplitsIntoHoursMinutesSecondsMilliseconds) {
  fake_now = {10, 0, 0, 0, 1, 3, 2024};
  SECNOW(TIMING.program_start);
  fake_now = {11, 1, 2, 250, 1, 3, 2024};
  ELAPSE();
  EXPECT_EQ(RUN.elapsed[0], 1);
  EXPECT_EQ(RUN.elapsed[1], 1);
  EXPECT_EQ(RUN.elapsed[2], 2);
  EXPECT_EQ(RUN.elapsed[3], 250);
}

TEST_F(TimingTest, ReportRowsByAnalysisCode) {
  test::TempDir dir;
  test::write_file(dir.file("T.vtn"), "VORTAN\n");
  test::open_deck(dir.file("T.vtn"));
  set_clock_source(fake_clock);
  RUN.KANALI = 4;
  TIMING.slot(10) = 0.0;  // a run of less than a second: total taken as 1
  TIMING.slot(1) = 0.25;
  TIMREP();
  flush_units();
  const auto lines = test::lines_of(test::read_file(dir.file("T.tim")));
  ASSERT_EQ(lines.size(), 3u + 4 + 12 + 3);
  EXPECT_EQ(lines[3], "I N F O R M A C I O N    DE    T I E M P O S");
  EXPECT_EQ(lines[5], "     ACCION                           CPU(SEC)         %");
  EXPECT_EQ(lines[7], "     INICIO DEL CALCULO............    0.2500E+00   25.00 %");
  EXPECT_EQ(lines[15], "     SOLUCION DE AUTOVALORES.......    0.0000E+00    0.00 %");
  EXPECT_EQ(lines[19], "               OTROS........................    0.7500E+00   75.00 %");
  EXPECT_EQ(test::read_file(dir.file("T.tim")),
            test::read_file(dir.file("T.sal")));

  RUN.KANALI = 101;
  const std::string before = test::read_file(dir.file("T.tim"));
  TIMREP();
  flush_units();
  EXPECT_EQ(test::read_file(dir.file("T.tim")), before);
}

TEST_F(TimingTest, ProgressLinesCarryTheirTextAndElapsedTime) {
  fake_now = {10, 0, 0, 0, 1, 3, 2024};
  double start = 0;
  SECNOW(start);
  fake_now = {11, 2, 3, 900, 1, 3, 2024};
  testing::internal::CaptureStdout();
  PROGRE(start, 5);
  PROGRE(start, 18, 12, 1.5e-3);
  PROGRE(start, 20, 3, 7.9, -2.0);
  flush_units();
  const auto lines = test::lines_of(testing::internal::GetCapturedStdout());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "+ TIEMPO CONSUMIDO EN LA SOLUCION DEL SISTEMA DE ECUACIONES  :        1: 2: 3");
  EXPECT_EQ(lines[1], "+ AUTOVALORES EN ITERACION :   12 ERROR: 0.15000E-02    CONS :        1: 2: 3");
  EXPECT_EQ(lines[2], "+ INCREM.:     3  ITERAC.:     7  ERROR:-0.20000E+01 TIEMPO :        1: 2: 3");
}

}  // namespace
}  // namespace vortan
