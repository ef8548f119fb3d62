// Fixture of the in-process tests of the problem-definition readers: a deck holding
// only the block under test, a work array, the fatal stop caught as its message, and
// the arrays the problem-header reader would have created.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "../test_support.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/work_array.h"

namespace vortan::test {

class ReaderTest : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }

  // Opens a deck of the given cards; PROBLEM and SETS start clean.
  void open(const std::string& cards) {
    ensure_work_array();
    write_file(dir.file("R.vtn"), cards);
    open_deck(dir.file("R.vtn"));
  }
  static std::string stop_of(const std::function<void()>& call) { return stop_message_of(call); }
  std::string listing() {
    flush_units();
    return read_file(dir.file("R.sal"));
  }
  static std::int32_t zeroed_ints(std::int64_t count, const char* name) {
    const std::int32_t pos = DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, INT_WORDS);
    ZEROI(count, WORK.ints(pos));
    return pos;
  }
  static std::int32_t zeroed_reals(std::int64_t count, const char* name) {
    const std::int32_t pos = DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS);
    ZEROR(count, WORK.reals(pos));
    return pos;
  }

  TempDir dir;
};

}  // namespace vortan::test
