// The general static analysis run end to end: the damped iteration whatever the
// header says, the answer of the static linear analysis, its ".opt" file, the
// smoothed tables and the post-processing files; and the run that does not converge.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "listing_tables.h"
#include "run/fortran_format.h"

namespace vortan {
namespace {

const char* const DECK = "tests/cases/static/general-static-wall-qu4.vtn";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The blocks of a KELDAR result file: the header lines of a block, then its data
// lines (number I8 and three values E15.8).
struct ResultBlock {
  std::vector<std::string> header;
  std::vector<int> numbers;
  std::vector<std::array<double, 3>> values;
};

bool is_data_line(const std::string& line) {
  if (line.size() != 53) return false;
  const std::string number = line.substr(0, 8);
  char* end = nullptr;
  std::strtol(number.c_str(), &end, 10);
  return *end == '\0' && line.find('E') != std::string::npos;
}

std::vector<ResultBlock> result_blocks(const std::string& text) {
  std::vector<ResultBlock> blocks(1);
  for (const std::string& line : test::lines_of(text)) {
    if (!is_data_line(line)) {
      if (!blocks.back().numbers.empty()) blocks.emplace_back();
      blocks.back().header.push_back(line);
      continue;
    }
    blocks.back().numbers.push_back(std::atoi(line.substr(0, 8).c_str()));
    std::array<double, 3> v{};
    for (int c = 0; c < 3; ++c) v[c] = std::strtod(line.substr(8 + 15 * c, 15).c_str(), nullptr);
    blocks.back().values.push_back(v);
  }
  return blocks;
}

double largest(const std::map<int, std::vector<double>>& table) {
  double m = 0.0;
  for (const auto& [node, values] : table)
    for (double v : values) m = std::max(m, std::abs(v));
  return m;
}

// The deck asks for LDLT, the error estimate and the internal forces. As a general
// static analysis it is solved by the damped iteration, gives what the static linear
// analysis gives (LDLT) in its tables and in the KELDAR results, and writes neither
// the error estimate nor the internal forces nor a timing table. The ".opt" file holds
// one line per cycle, the outcome and the final residual; the energy of the solution
// is -1/2 f.u.
TEST(GeneralStatic, SolvesByTheDampedIterationWhateverTheHeaderAsks) {
  const std::string deck = test::source_file(DECK);
  test::TempDir general_dir, linear_dir;
  int status = 1;
  const std::string sal = test::run_deck_text(general_dir, "M", deck, &status);
  ASSERT_EQ(status, 0);
  const std::string linear =
      test::run_deck_text(linear_dir, "M", replaced(deck, "\nOPTIMIZACION LINEAL\n", "\nGENERAL LINEAL\n"), &status);
  ASSERT_EQ(status, 0);

  for (const char* text : {"INFORMACION DE SOLUCION A SISTEMA DE ECUACIONES", "ANALISIS DE ERROR GLOBAL",
                           "\n FUERZAS INTERNAS\n", "I N F O R M A C I O N    DE    T I E M P O S"}) {
    EXPECT_NE(linear.find(text), std::string::npos) << text;
    EXPECT_EQ(sal.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(test::read_file(general_dir.file("M.tim")), "");
  EXPECT_NE(sal.find("TENSIONES ALISADAS NODALES EN SISTEMA:"), std::string::npos);

  const auto u = test::displacements(sal), u_direct = test::displacements(linear);
  const auto r = test::reactions(sal), r_direct = test::reactions(linear);
  ASSERT_EQ(u.size(), 15u);
  ASSERT_EQ(r.size(), r_direct.size());
  for (const auto& [node, values] : u_direct)
    for (std::size_t c = 0; c < values.size(); ++c) EXPECT_NEAR(u.at(node)[c], values[c], 2e-6 * largest(u_direct));
  for (const auto& [node, values] : r_direct)
    for (std::size_t c = 0; c < values.size(); ++c) EXPECT_NEAR(r.at(node)[c], values[c], 2e-6 * largest(r_direct));
  EXPECT_NEAR(test::column_sum(r, 0), -150.0, 1e-3);
  EXPECT_NEAR(test::column_sum(r, 1), 400.0, 1e-3);

  // The KELDAR results: the blocks of the static linear run up to its error blocks.
  const auto blocks = result_blocks(test::read_file(general_dir.file("M.keldar.res")));
  auto direct = result_blocks(test::read_file(linear_dir.file("M.keldar.res")));
  const auto error = std::find_if(direct.begin(), direct.end(), [](const ResultBlock& b) {
    return !b.header.empty() && b.header[0].rfind(" ERELE", 0) == 0;
  });
  ASSERT_NE(error, direct.end());
  direct.erase(error, direct.end());
  ASSERT_EQ(blocks.size(), direct.size());
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    EXPECT_EQ(blocks[b].header, direct[b].header);
    ASSERT_EQ(blocks[b].numbers, direct[b].numbers);
    double scale = 0.0;
    for (const auto& v : direct[b].values)
      for (double x : v) scale = std::max(scale, std::abs(x));
    for (std::size_t i = 0; i < blocks[b].values.size(); ++i)
      for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(blocks[b].values[i][c], direct[b].values[i][c], 1e-6 * scale) << direct[b].header[0];
  }

  // The ".opt" file.
  const std::vector<std::string> opt = test::lines_of(test::read_file(general_dir.file("M.opt")));
  ASSERT_GT(opt.size(), 8u);
  EXPECT_EQ(opt[0], " VORTAN: ITERACION AMORTIGUADA ELEMENTO A ELEMENTO");
  EXPECT_EQ(opt[1], "TITULO MURO DE HORMIGON");
  EXPECT_EQ(opt[3], " GDL=      30 LIBRES=      20");
  EXPECT_EQ(opt[4], "   CICLO         RESIDUO         ENERGIA");
  const std::size_t cycles = opt.size() - 7;
  for (std::size_t k = 1; k <= cycles; ++k) {
    const std::string& line = opt[4 + k];
    ASSERT_EQ(line.size(), 40u) << line;
    EXPECT_EQ(std::atoi(line.substr(0, 8).c_str()), static_cast<int>(k));
    const double residual = std::strtod(line.substr(8, 16).c_str(), nullptr);
    if (k < cycles) EXPECT_GT(residual, 1.0E-10) << line;
    else EXPECT_LE(residual, 1.0E-10) << line;
  }
  EXPECT_EQ(opt[5 + cycles], " CONVERGENCIA EN" + fmt::I(static_cast<long long>(cycles), 8) + " CICLOS");
  const std::string& last = opt[4 + cycles];
  EXPECT_EQ(opt[6 + cycles], " RESIDUO FINAL=" + last.substr(8, 16) + " ENERGIA FINAL=" + last.substr(24, 16));
  const double fu = 150.0 * u.at(11)[0] - 400.0 * u.at(13)[1];
  EXPECT_NEAR(std::strtod(last.substr(24, 16).c_str(), nullptr), -0.5 * fu, 1e-5 * fu);
  EXPECT_NE(sal.find(" ITERACION AMORTIGUADA: CONVERGENCIA EN" + fmt::I(static_cast<long long>(cycles), 8)),
            std::string::npos);
}

// Too soft a wall for the 1000 cycles: the run still ends normally, with the warning
// in the listing and on the console, the reactions of the last iterate, a ".opt" file
// of 1000 cycles that says so, and the post-processing file.
TEST(GeneralStatic, WithoutConvergenceTheRunGoesOnWithTheLastIterate) {
  const std::string deck = replaced(test::source_file(DECK), "YOUNG=3.0E7", "YOUNG=3.0E4");
  test::TempDir dir;
  test::write_file(dir.file("M.vtn"), deck);
  std::string console;
  ASSERT_EQ(test::run_program(dir, "M.vtn", &console), 0);
  const std::string sal = test::read_file(dir.file("M.sal"));
  const std::string warning = " WARNING: ITERACION AMORTIGUADA SIN CONVERGENCIA EN    1000 CICLOS  FUNCION:";
  const std::size_t at = sal.find(warning);
  ASSERT_NE(at, std::string::npos);
  EXPECT_NE(console.find(warning), std::string::npos);
  const double residual = std::strtod(sal.substr(at + warning.size(), 12).c_str(), nullptr);
  EXPECT_GT(residual, 1.0E-10);
  EXPECT_FALSE(test::reactions(sal).empty());
  const std::vector<std::string> opt = test::lines_of(test::read_file(dir.file("M.opt")));
  ASSERT_EQ(opt.size(), 5u + 1000u + 2u);
  EXPECT_EQ(opt[1005], " SIN CONVERGENCIA EN    1000 CICLOS");
  EXPECT_NEAR(std::strtod(opt[1006].substr(15, 16).c_str(), nullptr), residual, 1e-4 * residual);
  EXPECT_NE(test::read_file(dir.file("M.keldar.res")).find(" DISPLACEMENT"), std::string::npos);
}

}  // namespace
}  // namespace vortan
