#include "run/fortran_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace vortan::fmt {
namespace {

// The reference listing: rows of '|'-separated fields under the "value", "integer" and
// "list-directed" headings, written by the compiler whose output we reproduce.
struct Samples {
  std::vector<std::vector<std::string>> reals, integers;
  std::vector<std::string> list_lines;
};

Samples read_samples() {
  std::ifstream in(std::string(VORTAN_SHARED_DIR) + "/fortran-format-samples.txt", std::ios::binary);
  Samples s;
  std::vector<std::vector<std::string>>* rows = nullptr;
  bool list = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("value |", 0) == 0) rows = &s.reals;
    else if (line.rfind("integer |", 0) == 0) rows = &s.integers;
    else if (line.rfind("list-directed", 0) == 0) {
      rows = nullptr;
      list = true;
    }
    else if (list && !line.empty()) s.list_lines.push_back(line);
    else if (rows && !line.empty()) {
      std::vector<std::string> fields(1);
      for (char c : line) {
        if (c == '|') fields.emplace_back();
        else fields.back().push_back(c);
      }
      rows->push_back(fields);
    }
  }
  return s;
}

TEST(FortranFormatReference, EveryColumnOfTheSampleListing) {
  const Samples s = read_samples();
  ASSERT_EQ(s.reals.size(), 22u);
  ASSERT_EQ(s.integers.size(), 8u);
  ASSERT_EQ(s.list_lines.size(), 2u);

  const struct { char kind; int w, d; } columns[] = {
      {'E', 14, 6}, {'E', 12, 5}, {'E', 15, 8}, {'E', 20, 6}, {'E', 18, 5},
      {'E', 12, 4}, {'F', 15, 5}, {'F', 13, 5}, {'F', 6, 2}};
  for (const auto& row : s.reals) {
    ASSERT_EQ(row.size(), 11u) << row[0];
    const double v = std::strtod(row[0].c_str(), nullptr);
    for (int c = 0; c < 9; ++c) {
      const auto& col = columns[c];
      EXPECT_EQ(col.kind == 'E' ? E(v, col.w, col.d) : F(v, col.w, col.d), row[c + 1])
          << col.kind << col.w << '.' << col.d << " of" << row[0];
    }
  }
  const int widths[] = {5, 8, 10, 3};
  for (const auto& row : s.integers) {
    ASSERT_EQ(row.size(), 6u) << row[0];
    const long long v = std::strtoll(row[0].c_str(), nullptr, 10);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(I(v, widths[c]), row[c + 1]) << 'I' << widths[c];
  }
  // Each record holds one integer and two reals; the printed reals keep 17 digits,
  // enough to read back the exact double.
  for (const auto& line : s.list_lines) {
    std::istringstream items(line);
    long long n;
    std::string a, b;
    items >> n >> a >> b;
    EXPECT_EQ(" " + list_integer(n) + " " + list_real(std::strtod(a.c_str(), nullptr)) + " " +
                  list_real(std::strtod(b.c_str(), nullptr)),
              line);
  }
}

const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(FortranFormatE, RoundingCarriesAndExponentWidth) {
  EXPECT_EQ(E(9.9999996, 12, 5), " 0.10000E+02");
  EXPECT_EQ(E(9.999996e99, 12, 5), " 0.10000+101");
  EXPECT_EQ(E(9.999996e-100, 12, 5), " 0.10000E-98");
  EXPECT_EQ(E(4.9406564584124654e-323, 12, 5), " 0.49407-322");
  EXPECT_EQ(E(0.125, 10, 2), "  0.12E+00");  // exact ties go to the even digit
  EXPECT_EQ(E(0.375, 10, 2), "  0.38E+00");
}

TEST(FortranFormatE, NarrowFieldsDropTheLeadingZeroThenOverflow) {
  EXPECT_EQ(E(0.5, 10, 4), "0.5000E+00");
  EXPECT_EQ(E(0.5, 9, 4), ".5000E+00");
  EXPECT_EQ(E(0.5, 8, 4), "********");
  EXPECT_EQ(E(-0.5, 10, 4), "-.5000E+00");
  EXPECT_EQ(E(-0.5, 9, 4), "*********");
  EXPECT_EQ(E(-1e100, 11, 5), "-.10000+101");
  EXPECT_EQ(E(-0.0, 11, 5), "-.00000E+00");
}

TEST(FortranFormatF, MarginsOfTheField) {
  EXPECT_EQ(F(0.5, 4, 2), "0.50");
  EXPECT_EQ(F(0.5, 3, 2), ".50");
  EXPECT_EQ(F(0.5, 2, 2), "**");
  EXPECT_EQ(F(-0.5, 4, 2), "-.50");
  EXPECT_EQ(F(-0.5, 3, 2), "***");
  EXPECT_EQ(F(-0.001, 4, 2), "-.00");
  EXPECT_EQ(F(0.4, 2, 0), "0.");  // without decimals the zero must stay
  EXPECT_EQ(F(0.4, 1, 0), "*");
  EXPECT_EQ(F(-0.4, 2, 0), "**");
  EXPECT_EQ(F(2.5, 4, 0), "  2.");
  EXPECT_EQ(F(3.5, 4, 0), "  4.");
  EXPECT_EQ(F(99.995, 6, 2), "100.00");
  EXPECT_EQ(F(999.996, 6, 2), "******");
}

TEST(FortranFormatF, InfinityAndNaN) {
  EXPECT_EQ(F(INF, 8, 2), "Infinity");
  EXPECT_EQ(F(INF, 7, 2), "    Inf");
  EXPECT_EQ(F(INF, 2, 2), "**");
  EXPECT_EQ(F(-INF, 9, 2), "-Infinity");
  EXPECT_EQ(F(-INF, 8, 2), "    -Inf");
  EXPECT_EQ(F(-INF, 3, 2), "***");
  EXPECT_EQ(F(NaN, 3, 2), "NaN");
  EXPECT_EQ(F(NaN, 2, 2), "**");
  EXPECT_EQ(E(-INF, 14, 6), "     -Infinity");
  EXPECT_EQ(E(NaN, 14, 6), "           NaN");
}

TEST(FortranFormatIAX, WidthsCutsAndPadding) {
  EXPECT_EQ(I(0, 1), "0");
  EXPECT_EQ(I(-1, 1), "*");
  EXPECT_EQ(I(-1, 2), "-1");
  EXPECT_EQ(A("abcdef", 3), "abc");
  EXPECT_EQ(A("abcdef", 8), "  abcdef");
  EXPECT_EQ(A("\xC9\xCD\xBB", 4), " \xC9\xCD\xBB");  // bytes pass through untouched
  EXPECT_EQ(X(3) + A("\xB3x", 1), "   \xB3");
}

TEST(FortranFormatList, RecordsCheckedAgainstTheCompiler) {
  EXPECT_EQ(" " + list_integer(-2147483648LL) + " " + list_integer(2147483647),
            " -2147483648  2147483647");
  EXPECT_EQ(" " + list_integer(9000000000LL), "           9000000000");
  EXPECT_EQ(" " + list_real(1e15) + " " + list_real(1e16) + " " + list_real(1e17) + " " +
                list_real(99999999999999984.0),
            "   1000000000000000.0        10000000000000000.        1.0000000000000000E+017"
            "   99999999999999984.     ");
  EXPECT_EQ(" " + list_real(0.1) + " " + list_real(0.09999999) + " " + list_real(-1e-5),
            "  0.10000000000000001        9.9999989999999997E-002  -1.0000000000000001E-005");
  EXPECT_EQ(" " + list_real(1234567890123456.25) + " " + list_real(-0.0),
            "   1234567890123456.2       -0.0000000000000000     ");
  EXPECT_EQ(" " + list_real(4.9406564584124654e-323) + " " + list_real(INF) + " " +
                list_real(-INF) + " " + list_real(NaN),
            "   4.9406564584124654E-323                  Infinity                 -Infinity"
            "                       NaN");
}

}  // namespace
}  // namespace vortan::fmt
