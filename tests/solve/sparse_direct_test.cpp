// The sparse direct path (solver code 6) on whole problems: it must give the answers of
// Gauss elimination and LDLT on every static deck of the test cases and the examples
// and on models with every kind of support, name the node of a mechanism, report its
// factor, and stop cleanly when the factor cannot fit or the library is missing.
#include <filesystem>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "solve_fixture.h"
#include "input/card_reader.h"
#include "loads/load_reader.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "solve/element_loop.h"
#include "solve/sparse/sparse_direct.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

using test::expect_close;
using test::PlaneMesh;
using test::Solution;

constexpr int GAUSS = 1;
constexpr int LDLT = 2;
constexpr int SPARSE_DIRECT = 6;

std::string restraint(int node, int cx, int cy, double vx = 0.0, double vy = 0.0) {
  return std::to_string(node) + " " + std::to_string(cx) + " " + std::to_string(cy) + " " + std::to_string(vx) +
         " " + std::to_string(vy) + "\n";
}

class SparseDirect : public test::SolveTest {
 protected:
  void TearDown() override {
    set_available_memory_query(nullptr);
    test::SolveTest::TearDown();
  }

  // Expects two answers of one model to agree within a tolerance relative to the
  // larger of their magnitude and the largest load (reactions of a balanced model are
  // round-off, which only the loads can scale).
  static void expect_agree(const Solution& a, const Solution& b, double relative, const char* what) {
    const double* aslod = WORK.reals(SOLUTION.ASLOD);
    const double loads = test::largest_magnitude(std::vector<double>(aslod, aslod + PROBLEM.NTOTV));
    const double despl_scale = std::max(test::largest_magnitude(a.despl), 1e-300);
    const double react_scale = std::max(test::largest_magnitude(a.react), loads);
    for (std::size_t i = 0; i < a.despl.size(); ++i) {
      EXPECT_NEAR(a.despl[i], b.despl[i], relative * despl_scale) << what << ": displacement at " << i + 1;
      EXPECT_NEAR(a.react[i], b.react[i], relative * react_scale) << what << ": reaction at " << i + 1;
    }
  }

  // Solves with a code and gives the work array back, so that one model can be solved
  // by every path in turn.
  static Solution solve_and_release(int solver) {
    const std::int32_t mark = RUN.NXTPOS;
    Solution s = solve(solver);
    RUN.NXTPOS = mark;
    return s;
  }

  // Reads a whole static linear deck as the driver does: the selection cards, the
  // problem, the element stiffnesses and the loads.
  void read_static_deck(const std::string& path) {
    test::ensure_work_array(1 << 24);
    SOLUTION.reset();
    reset_active_set();
    const std::string copy = dir.file("D.vtn");
    test::write_file(copy, test::read_file(path));
    test::open_deck(copy);
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    RUN.KANALI = 1;
    for (int card = 0; card < 5; ++card) LISTEN("INPDAT");  // VORTAN, analysis, title, GENERAL, MATERIAL
    INPEST(ProblemVariant::static_linear);
    compute_element_stiffnesses();
    read_loads();
  }
};

#ifdef VORTAN_HAVE_CHOLMOD

// Every static linear deck of the cases and the examples (springs, prescribed values,
// imposed strains, several sets, every element family): the three direct paths agree
// to 1e-10 of the largest displacement and reaction.
TEST_F(SparseDirect, AgreesWithGaussAndLdltOnEveryStaticDeck) {
  const fs::path root(VORTAN_SOURCE_DIR);
  int decks = 0;
  for (const fs::path& folder : {root / "tests/cases/static", root / "tests/cases/patch", root / "examples"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() != ".vtn") continue;
      const std::string text = test::read_file(entry.path().string());
      if (text.find("\nANALISIS ESTATICO") == std::string::npos || text.find("\nGENERAL LINEAL") == std::string::npos)
        continue;
      SCOPED_TRACE(entry.path().filename().string());
      read_static_deck(entry.path().string());
      const Solution gauss = solve_and_release(GAUSS);
      const Solution ldlt = solve_and_release(LDLT);
      const Solution sparse = solve_and_release(SPARSE_DIRECT);
      expect_agree(gauss, sparse, 1e-10, "against Gauss");
      expect_agree(ldlt, sparse, 1e-10, "against LDLT");
      EXPECT_GT(test::largest_magnitude(sparse.despl), 0.0);
      ++decks;
      TearDown();
    }
  }
  EXPECT_GE(decks, 17);
}

// Non-zero prescribed values on both sides of the free equations, an inclined support
// (itself moved) and two springs: the three paths agree to 1e-10.
TEST_F(SparseDirect, AgreesWithInclinedSupportsSpringsAndPrescribedValues) {
  PlaneMesh m;
  m.nx = 8;
  m.ny = 3;
  m.lx = 8.0;
  m.ly = 2.0;
  m.shape = [](int i, int j, double& x, double& y) { x += 0.07 * j * (i % 2 == 0 ? 1 : -1); y += 0.03 * i; };
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1, 0.0, j == 1 ? 0.01 : 0.0);
  m.restraints += restraint(m.node(8, 0), 0, 1, 0.0, -0.005);
  m.restraints += restraint(m.node(5, 3), 1, 0, 0.02);
  m.springs = 2;
  m.supports = "APOYOS_INCLINADOS\n" + std::to_string(m.node(8, 0)) + " 30.0\nFIN_APOYOS_INCLINADOS\n" +
               "APOYOS_ESLATICOS\n" + std::to_string(m.node(8, 3)) + " 2 50.0\n" + std::to_string(m.node(3, 3)) +
               " 1 200.0\nFIN_APOYOS_ESLATICOS\n";
  std::string deck = m.deck();
  deck.replace(deck.find(" MRESO="), 1, " MAPOY=1 ");
  read(deck);
  load(m.node(8, 3), 2, -1.0);
  load(m.node(4, 0), 1, 0.3);
  const Solution gauss = solve_and_release(GAUSS);
  const Solution ldlt = solve_and_release(LDLT);
  const Solution sparse = solve_and_release(SPARSE_DIRECT);
  expect_agree(gauss, sparse, 1e-10, "against Gauss");
  expect_agree(ldlt, sparse, 1e-10, "against LDLT");
  EXPECT_DOUBLE_EQ(sparse.despl[at(m.node(0, 1), 2)], 0.01);
  EXPECT_DOUBLE_EQ(sparse.despl[at(m.node(5, 3), 1)], 0.02);
  // The inclined roller turns the support: the node moves in both global directions.
  EXPECT_GT(std::abs(sparse.despl[at(m.node(8, 0), 1)]), 1e-6);
}

// Linked degrees of freedom: the penalty of 1e6 times the largest diagonal costs some
// six digits in every path (the paths differ by up to some 1e-9 of the answer, as
// Gauss elimination and LDLT do between themselves), so they agree to 1e-8, and the
// linked pair moves together.
TEST_F(SparseDirect, AgreesWithLinkedDegreesOfFreedom) {
  PlaneMesh m;
  m.nx = 8;
  m.ny = 3;
  m.lx = 8.0;
  m.ly = 2.0;
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1, 0.0, j == 1 ? 0.01 : 0.0);
  m.links = 1;
  m.supports = "GRADOS_DE_LIBERTAD_LIGADOS\n" + std::to_string(m.node(8, 3)) + " " + std::to_string(m.node(6, 0)) +
               " 1\nFIN_GRADOS_DE_LIBERTAD_LIGADOS\n";
  read(m.deck());
  load(m.node(8, 3), 2, -1.0);
  load(m.node(4, 0), 1, 0.3);
  const Solution gauss = solve_and_release(GAUSS);
  const Solution ldlt = solve_and_release(LDLT);
  const Solution sparse = solve_and_release(SPARSE_DIRECT);
  expect_agree(gauss, sparse, 1e-8, "against Gauss");
  expect_agree(ldlt, sparse, 1e-8, "against LDLT");
  EXPECT_GT(SOLUTION.penalty, 0.0);
  const double a = sparse.despl[at(m.node(8, 3), 1)], b = sparse.despl[at(m.node(6, 0), 1)];
  EXPECT_NEAR(a, b, 1e-5 * std::abs(a));
}

// Every degree of freedom prescribed: nothing to factor, the displacements are the
// prescribed values and the reactions those of Gauss elimination.
TEST_F(SparseDirect, ModelWithoutFreeEquations) {
  PlaneMesh m;
  m.nx = 2;
  m.ny = 1;
  for (int n = 1; n <= m.nodes(); ++n) m.restraints += restraint(n, 1, 1, 0.001 * n, -0.002 * (n % 3));
  read(m.deck());
  load(2, 1, 0.7);
  const Solution gauss = solve_and_release(GAUSS);
  const Solution sparse = solve_and_release(SPARSE_DIRECT);
  EXPECT_EQ(SOLUTION.NEQNS, 0);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  for (int g = 0; g < PROBLEM.NTOTV; ++g) EXPECT_EQ(sparse.despl[g], fixed[g]);
  expect_close(gauss.react, sparse.react, 1e-12, "reaction");
}

// Mechanisms stop the run naming the node that can move. Held horizontally and only
// by a spring of 1e-9 vertically, the model keeps a pivot of some 1e-12 of its
// diagonal: no digits left. A negative spring makes the matrix indefinite, which the
// library refuses at a zero or negative pivot.
TEST_F(SparseDirect, MechanismStopsNamingTheNode) {
  PlaneMesh m;
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 0);
  m.springs = 1;
  m.supports = "APOYOS_ESLATICOS\n" + std::to_string(m.node(0, 0)) + " 2 1.0E-9\nFIN_APOYOS_ESLATICOS\n";
  read(m.deck());
  load(m.node(4, 2), 2, -1.0);
  const std::string soft = stop_of([] { solve(SPARSE_DIRECT); });
  EXPECT_TRUE(soft.rfind("SOLDIS: MECANISMO NODO ", 0) == 0 && soft.substr(soft.size() - 6) == " GDL 2") << soft;
  std::string sal = listing();
  EXPECT_NE(sal.find("PIVOTE SIN CIFRAS SIGNIFICATIVAS="), std::string::npos);
  const int node = std::stoi(soft.substr(23));
  EXPECT_NE(sal.find(" NODO=" + fmt::I(node, 10) + " GDL=  2\n"), std::string::npos);
  TearDown();
  m.restraints = "";
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1);
  m.supports = "APOYOS_ESLATICOS\n" + std::to_string(m.node(4, 1)) + " 2 -1.0E6\nFIN_APOYOS_ESLATICOS\n";
  read(m.deck());
  const std::string negative = stop_of([] { solve(SPARSE_DIRECT); });
  EXPECT_EQ(negative.rfind("SOLDIS: MECANISMO NODO ", 0), 0u) << negative;
  sal = listing();
  EXPECT_NE(sal.find("MATRIZ NO DEFINIDA POSITIVA, DIAGONAL ORIGINAL="), std::string::npos);
  EXPECT_NE(sal.find("ECUACION No.="), std::string::npos);
}

// The listing block states the factor; the allocation table says the factor is
// outside the work array.
TEST_F(SparseDirect, ListingAndAllocationTableReportTheFactor) {
  PlaneMesh m;
  m.nx = 10;
  m.ny = 4;
  for (int j = 0; j <= m.ny; ++j) m.restraints += restraint(m.node(0, j), 1, 1);
  read(m.deck());
  load(m.node(10, 4), 2, -1.0);
  solve(SPARSE_DIRECT);
  const std::string sal = listing();
  const std::size_t block = sal.find("\n\n\n     INFORMACION DE SOLUCION DIRECTA DISPERSA:\n     =====");
  ASSERT_NE(block, std::string::npos);
  EXPECT_LT(block, sal.find("DESPLAZAMIENTOS"));
  EXPECT_NE(sal.find("               NUMERO DE ECUACIONES       =         100\n"), std::string::npos);
  // 55 nodes, 100 equations; the upper triangle of a QU4 mesh's free equations.
  EXPECT_EQ(SPARSE_REPORT.matrix_entries, (SOLUTION.entries + 100) / 2.0);
  EXPECT_NE(sal.find("ORDENACION                 = DISECCION ANIDADA (METIS)\n"), std::string::npos);
  EXPECT_GE(SPARSE_REPORT.factor_entries, SPARSE_REPORT.matrix_entries);
  EXPECT_GT(SPARSE_REPORT.peak_bytes, 0.0);
  flush_units();
  const std::string dic = test::read_file(dir.file("S.dic"));
  EXPECT_NE(dic.find("FACTOR DISPERSO FUERA DEL ARREGLO DE TRABAJO: MEMORIA MAXIMA DE LA BIBLIOTECA"), std::string::npos);
}

// A system without the memory for the factor stops before the factorisation, with
// what was needed and what there was.
TEST_F(SparseDirect, FactorLargerThanTheSystemMemoryStops) {
  PlaneMesh m;
  m.restraints = restraint(m.node(0, 0), 1, 1) + restraint(m.node(0, 2), 1, 1);
  read(m.deck());
  set_available_memory_query([] { return 4096.0; });
  EXPECT_EQ(stop_of([] { solve(SPARSE_DIRECT); }), "SOLDIS: MEMORIA DEL SISTEMA AGOTADA");
  const std::string sal = listing();
  EXPECT_NE(sal.find("MEMORIA NECESARIA PARA EL FACTOR DISPERSO ="), std::string::npos);
  EXPECT_NE(sal.find("MEMORIA DISPONIBLE EN EL SISTEMA          =         0.0 MB"), std::string::npos);
  // With room to spare it solves.
  TearDown();
  read(m.deck());
  set_available_memory_query([] { return 1.0e12; });
  EXPECT_EQ(stop_of([] { solve(SPARSE_DIRECT); }), "no stop");
}

#else

// A build without the library: the card and the path both name the package.
TEST_F(SparseDirect, MissingLibraryNamesThePackage) {
  PlaneMesh m;
  m.solver = "DIRECTO_DISPERSO";
  EXPECT_EQ(stop_of([&] { read(m.deck()); }), "INPEST: FALTA PAQUETE libsuitesparse-dev");
  TearDown();
  m.solver = "LDLT";
  m.restraints = restraint(1, 1, 1);
  read(m.deck());
  EXPECT_EQ(stop_of([] { solve(SPARSE_DIRECT); }), "SOLDIS: FALTA PAQUETE libsuitesparse-dev");
}

#endif

// The numbers in exponent form (-d.dddE+dd, the sign optional) of one line, in order.
void exponent_numbers(const std::string& line, std::vector<double>& numbers) {
  const auto digits_from = [&](std::size_t i) {
    std::size_t j = i;
    while (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j]))) ++j;
    return j;
  };
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t start = i;
    std::size_t j = line[i] == '-' ? i + 1 : i;
    const std::size_t integer_end = digits_from(j);
    if (integer_end > j && integer_end < line.size() && line[integer_end] == '.') {
      const std::size_t fraction_end = digits_from(integer_end + 1);
      if (fraction_end > integer_end + 1 && fraction_end + 1 < line.size() && line[fraction_end] == 'E' &&
          (line[fraction_end + 1] == '+' || line[fraction_end + 1] == '-')) {
        const std::size_t exponent_end = digits_from(fraction_end + 2);
        if (exponent_end > fraction_end + 2) {
          numbers.push_back(std::stod(line.substr(start, exponent_end - start)));
          i = exponent_end;
          continue;
        }
      }
    }
    i = start + 1;
  }
}

// The listing's numbers in exponent form, leaving out the lines that differ between
// the solver paths by design (the information block of each path, clocks, timing).
std::vector<double> listing_numbers(const std::string& listing) {
  static const char* const skipped[] = {"NUMERO DE", "NO NULOS", "ORDENACION", "OPERACIONES", "TIEMPO",
                                        "MEMORIA",   "MAX. ALTURA", "SEMI-ANCHO", "HORA", "FECHA", "CPU", "%"};
  std::vector<double> numbers;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    bool skip = false;
    for (const char* label : skipped) skip = skip || line.find(label) != std::string::npos;
    if (!skip) exponent_numbers(line, numbers);
  }
  return numbers;
}

// Heat conduction solves its conductivity system once as well: every heat deck of the
// cases and examples gives through the sparse path the temperatures, flows and fluxes
// of its LDLT listing.
TEST_F(SparseDirect, HeatConductionDecksAgreeWithLdlt) {
  const fs::path root(VORTAN_SOURCE_DIR);
  std::vector<fs::path> decks = {root / "examples/heat-fin.vtn"};
  for (const auto& entry : fs::directory_iterator(root / "tests/cases/heat"))
    if (entry.path().extension() == ".vtn") decks.push_back(entry.path());
  for (const fs::path& deck : decks) {
    SCOPED_TRACE(deck.filename().string());
    const std::string text = test::read_file(deck.string());
    ASSERT_NE(text.find("\nSOLVER LDLT\n"), std::string::npos);
    std::string sparse_text = text;
    sparse_text.replace(sparse_text.find("\nSOLVER LDLT\n"), 13, "\nSOLVER DIRECTO_DISPERSO\n");
    test::write_file(dir.file("L.vtn"), text);
    test::write_file(dir.file("S.vtn"), sparse_text);
    ASSERT_EQ(test::run_program_with(dir.path(), "L.vtn").status, 0);
    ASSERT_EQ(test::run_program_with(dir.path(), "S.vtn").status, 0);
    const std::string sparse_listing = test::read_file(dir.file("S.sal"));
    EXPECT_NE(sparse_listing.find("INFORMACION DE SOLUCION DIRECTA DISPERSA:"), std::string::npos);
    const std::vector<double> ldlt = listing_numbers(test::read_file(dir.file("L.sal")));
    const std::vector<double> sparse = listing_numbers(sparse_listing);
    ASSERT_EQ(ldlt.size(), sparse.size());
    ASSERT_GT(ldlt.size(), 20u);
    const double scale = test::largest_magnitude(ldlt);
    for (std::size_t i = 0; i < ldlt.size(); ++i) EXPECT_NEAR(ldlt[i], sparse[i], 1e-10 * scale) << "number " << i;
  }
}

// The analyses that solve many systems, or none, do not take the word.
TEST_F(SparseDirect, GeneralStaticAnalysisRefusesTheWord) {
  std::string deck = test::read_file(std::string(VORTAN_SOURCE_DIR) + "/tests/cases/static/general-static-wall-qu4.vtn");
  deck.replace(deck.find("\nSOLVER LDLT\n"), 13, "\nSOLVER DIRECTO_DISPERSO\n");
  test::write_file(dir.file("G.vtn"), deck);
  const test::ProgramRun run = test::run_program_with(dir.path(), "G.vtn");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(test::read_file(dir.file("G.sal")).find("INPEST: SOLVER NO IMPLEMENTADO"), std::string::npos);
}

}  // namespace
}  // namespace vortan
