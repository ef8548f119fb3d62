// The console writer: overprint lines on a terminal and the thinning of progress
// counters when the console is a file or a pipe.
#include "run/console.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "../test_support.h"

namespace vortan {
namespace {

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override { stream_ = std::tmpfile(); }
  void TearDown() override {
    set_console_stream(nullptr, false);
    std::fclose(stream_);
  }
  std::string written() {
    flush_console();
    std::rewind(stream_);
    std::string text;
    for (int c = std::getc(stream_); c != EOF; c = std::getc(stream_)) text.push_back(static_cast<char>(c));
    return text;
  }
  std::FILE* stream_ = nullptr;
};

std::string counter_line(long long equation) { return "+ FACTORIZANDO ECUACION NUM:" + std::to_string(equation); }

TEST_F(ConsoleTest, ACounterWritesOneLinePerPercentAndItsLastLine) {
  set_console_stream(stream_, false);
  write_console_record("PHASE ONE");
  const long long total = 80400;  // the equations of a 200 x 200 QU4 model
  for (long long k = 1; k <= total; ++k) write_progress_record(counter_line(k), k, total);
  write_console_record("+ PHASE TWO");
  // A second, short counter starts afresh: each of its lines is a new percent.
  for (long long k = 1; k <= 7; ++k) write_progress_record(counter_line(k), k, 7);
  const auto lines = test::lines_of(written());
  ASSERT_EQ(lines.size(), 1u + 101u + 1u + 7u);
  EXPECT_EQ(lines[0], "PHASE ONE");
  EXPECT_EQ(lines[1], counter_line(1));
  EXPECT_EQ(lines[2], counter_line(804));     // 1 %
  EXPECT_EQ(lines[51], counter_line(40200));  // 50 %
  EXPECT_EQ(lines[101], counter_line(total));
  EXPECT_EQ(lines[102], "+ PHASE TWO");
  EXPECT_EQ(lines[103], counter_line(1));
  EXPECT_EQ(lines.back(), counter_line(7));
}

TEST_F(ConsoleTest, OverprintLinesReturnToTheStartOfTheLineOnATerminal) {
  set_console_stream(stream_, true);
  write_console_record("BANNER");
  write_console_record("+ FIRST");
  for (long long k = 1; k <= 3; ++k) write_progress_record("+ N" + std::to_string(k), k, 3);
  write_console_record("+ LAST");
  write_console_record("AFTER");
  EXPECT_EQ(written(), "BANNER\n\r\x1b[K FIRST\r\x1b[K N1\r\x1b[K N2\r\x1b[K N3\r\x1b[K LAST\nAFTER\n");
}

}  // namespace
}  // namespace vortan
