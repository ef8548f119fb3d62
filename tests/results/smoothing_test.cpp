// Smoothing of the stresses to the nodes and the error estimate, end to end: constant
// fields stay constant in both smoothing modes, sets are averaged over the model, the
// error of an exact field is nil and falls as a mesh is refined.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "../analyses/listing_tables.h"
#include "analyses/inpdat.h"
#include "results/smoothing.h"
#include "run/errstp.h"

namespace vortan {
namespace {

// The smoothed nodal table whose title line ends with `title`, node to components.
std::map<int, std::vector<double>> smoothed_table(const std::string& listing, const std::string& title) {
  auto rows = test::node_table(listing, "          TENSIONES ALISADAS NODALES EN " + title);
  rows.erase(0);  // the heading line
  return rows;
}

double global_error(const std::string& listing) {
  const std::string label = "ERROR COMETIDO = ";
  const std::size_t at = listing.find(label);
  return at == std::string::npos ? -1.0 : std::strtod(listing.c_str() + at + label.size(), nullptr);
}

// A deck with the error estimate switched on (after its "SOLVER" card).
std::string with_error_estimate(std::string deck) {
  const std::size_t at = deck.find("SOLVER");
  return deck.insert(at, "ERROR ACTIVO\n");
}

class PatchSmoothing : public ::testing::TestWithParam<const char*> {};

// Every patch deck has a constant stress field: the smoothed value of every node, in
// the set and in the model, is that constant (corner mode for TR6, QU8 and QU9,
// lumped for the others), and the estimated error is nil.
TEST_P(PatchSmoothing, ConstantFieldIsSmoothedExactlyAndHasNoError) {
  test::TempDir dir;
  const std::string name = GetParam();
  int status = 0;
  const std::string deck = test::source_file("tests/cases/patch/" + name + ".vtn");
  const std::string sal = test::run_deck_text(dir, name, with_error_estimate(deck), &status);
  ASSERT_EQ(status, 0);
  const auto gauss = test::gauss_stresses(sal, 1);
  ASSERT_FALSE(gauss.empty());
  const std::vector<double>& point = gauss[0].points[0];
  const int ndime = name.rfind("patch-h", 0) == 0 || name == "patch-te4" || name == "patch-te10" ||
                            name == "patch-pi15" ? 3 : 2;
  const std::vector<double> constant(point.begin() + ndime, point.end());
  for (const char* title : {"SET NUMERO:    1", "SISTEMA:"}) {
    const auto table = smoothed_table(sal, title);
    ASSERT_FALSE(table.empty()) << title;
    for (const auto& [node, values] : table) {
      ASSERT_EQ(values.size(), constant.size()) << node;
      for (std::size_t c = 0; c < values.size(); ++c)
        EXPECT_NEAR(values[c], constant[c], 1e-6 * (1.0 + std::fabs(constant[c]))) << title << " node " << node;
    }
  }
  EXPECT_GE(global_error(sal), 0.0);
  EXPECT_LT(global_error(sal), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(EveryPatch, PatchSmoothing,
                         ::testing::Values("patch-qu4", "patch-qu8", "patch-qu9", "patch-tr3", "patch-tr6",
                                           "patch-he8", "patch-he20", "patch-te4", "patch-te10", "patch-pi15"),
                         [](const auto& info) { return std::string(info.param).substr(6); });

// Two sets side by side under one stretch: sx = E * 1e-3 is 1 in the first and 2 in the
// second. The nodes they share get the mean of the two set values in the model table.
TEST(Smoothing, NodeSharedByTwoSetsGetsTheMeanOfTheSetValues) {
  const std::string deck =
      "VORTAN\nANALISIS ESTATICO\nTITULO DOS SETS\nGENERAL LINEAL\nMATERIAL LINEAL\n"
      "NUMERO_DE_NODOS NPNODS=6\nNUMERO_DE_SETS NSETS=2\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
      "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=1\nMATERIAL YOUNG=1000.0 POISSON=0.0\nFIN_SET\n"
      "SET_NUMERO 2\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=1\nMATERIAL YOUNG=2000.0 POISSON=0.0\nFIN_SET\n"
      "GEOMETRIA\n1 1 1 2 4 3\n2 2 3 4 6 5\n"
      "1 0 0\n2 1 0\n3 0 1\n4 1 1\n5 0 2\n6 1 2\nFIN_GEOMETRIA\n"
      "CONDICIONES_DE_CONTORNO\n1 1 1\n3 1 0\n5 1 0\n2 1 0 0.001 0.0\n4 1 0 0.001 0.0\n6 1 0 0.001 0.0\n"
      "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS\nSET_NUMERO 1\nCARGAS DEL SET 1\nFIN_FUERZAS\n"
      "SET_NUMERO 2\nCARGAS DEL SET 2\nFIN_FUERZAS\nFEMV DOSSET\n";
  test::TempDir dir;
  int status = 0;
  const std::string sal = test::run_deck_text(dir, "dos", deck, &status);
  ASSERT_EQ(status, 0);
  const auto first = smoothed_table(sal, "SET NUMERO:    1");
  const auto second = smoothed_table(sal, "SET NUMERO:    2");
  const auto model = smoothed_table(sal, "SISTEMA:");
  ASSERT_EQ(model.size(), 6u);
  EXPECT_NEAR(first.at(1)[0], 1.0, 1e-9);
  EXPECT_NEAR(first.at(5)[0], 0.0, 0.0);  // not a node of the set
  EXPECT_NEAR(second.at(5)[0], 2.0, 1e-9);
  for (int node : {1, 2}) EXPECT_NEAR(model.at(node)[0], 1.0, 1e-9) << node;
  for (int node : {3, 4}) EXPECT_NEAR(model.at(node)[0], 1.5, 1e-9) << node;
  for (int node : {5, 6}) EXPECT_NEAR(model.at(node)[0], 2.0, 1e-9) << node;
  // A component that is zero in both sets stays zero: sy vanishes everywhere.
  for (const auto& [node, values] : model) EXPECT_NEAR(values[1], 0.0, 1e-9) << node;
}

// A QU4 cantilever, 8 long and 1 deep, clamped at x = 0 and loaded by a unit shear
// at its free end, meshed with 4k x k elements.
std::string cantilever(int k) {
  const int nx = 4 * k, ny = k;
  const int nodes = (nx + 1) * (ny + 1);
  auto node = [&](int i, int j) { return 1 + i + (nx + 1) * j; };
  std::ostringstream d;
  d << "VORTAN\nANALISIS ESTATICO\nTITULO VOLADIZO QU4\nGENERAL LINEAL\nMATERIAL LINEAL\n"
    << "NUMERO_DE_NODOS NPNODS=" << nodes << "\nNUMERO_DE_SETS NSETS=1\nERROR ACTIVO\nSOLVER LDLT\n"
    << "POSTPROCESO FEMVIEW\nIMPRESIONES_GLOBALES SALIDA_TENSIONES NO_ACTIVO\n"
    << "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=" << nx * ny << "\n"
    << "MATERIAL YOUNG=1000.0 POISSON=0.25\nSALIDA_TENSIONES NO_ACTIVO\nSALIDA_ERROR_ELEMENTAL NO_ACTIVO\n"
    << "SALIDA_TENSIONES_GAUSS NO_ACTIVO\nFIN_SET\nGEOMETRIA\n";
  int e = 0;
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i)
      d << ++e << " 1 " << node(i, j) << ' ' << node(i + 1, j) << ' ' << node(i + 1, j + 1) << ' ' << node(i, j + 1)
        << '\n';
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) d << node(i, j) << ' ' << 8.0 * i / nx << ' ' << 1.0 * j / ny << '\n';
  d << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  for (int j = 0; j <= ny; ++j) d << node(0, j) << " 1 1\n";
  d << "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS\nSET_NUMERO 1\nCARGAS DEL SET 1\nPUNTUALES\n";
  for (int j = 0; j <= ny; ++j) d << node(nx, j) << " 0.0 " << -1.0 / ny * (j == 0 || j == ny ? 0.5 : 1.0) << '\n';
  d << "FIN_PUNTUALES\nFIN_FUERZAS\nFEMV VOLADI\n";
  return d.str();
}

// The estimated error falls with every refinement and approaches the rate of the
// bilinear element, whose squared energy-norm error goes as h^2 (a factor 4 per
// halving). Measured on the 8 x 2, 16 x 4 and 32 x 8 meshes: 25.7 %, 9.40 %, 2.63 %
// (factors 2.74 and 3.57; the 4 x 1 mesh, locked in shear, gives 40.3 %).
TEST(ErrorEstimate, FallsAsTheCantileverMeshIsRefined) {
  double errors[3] = {};
  for (int k = 0; k < 3; ++k) {
    test::TempDir dir;
    int status = 0;
    const std::string sal = test::run_deck_text(dir, "voladizo", cantilever(2 << k), &status);
    ASSERT_EQ(status, 0);
    errors[k] = global_error(sal);
    ASSERT_GT(errors[k], 0.0);
    EXPECT_EQ(sal.find("TENSIONES ALISADAS NODALES EN SISTEMA:"), std::string::npos);  // switched off
    EXPECT_EQ(sal.find("REPORTE DEL ERROR ELEMENTAL"), std::string::npos);
  }
  const double first_rate = errors[0] / errors[1], second_rate = errors[1] / errors[2];
  EXPECT_GT(first_rate, 2.5) << errors[0] << " " << errors[1];
  EXPECT_GT(second_rate, first_rate);
  EXPECT_NEAR(second_rate, 4.0, 0.6) << errors[1] << " " << errors[2];
}

// Without the error switch the smoothing tables are printed but no error report.
TEST(ErrorEstimate, InactiveSwitchPrintsNoErrorTables) {
  test::TempDir dir;
  int status = 0;
  const std::string sal =
      test::run_deck_text(dir, "p", test::source_file("tests/cases/patch/patch-qu4.vtn"), &status);
  ASSERT_EQ(status, 0);
  EXPECT_NE(sal.find("TENSIONES ALISADAS NODALES EN SISTEMA:"), std::string::npos);
  EXPECT_EQ(sal.find("REPORTE DEL ERROR ELEMENTAL"), std::string::npos);
  EXPECT_EQ(sal.find("ANALISIS DE ERROR GLOBAL"), std::string::npos);
}

// A row without weight becomes an identity row; a zero pivot elsewhere stops the run.
TEST(Smoothing, MatrixInversionRules) {
  double m[9] = {4, 1, 0, 1, 2, 0, 0, 0, 0};  // third row and column empty
  PCJENS(m, 3);
  const double det = 4 * 2 - 1;
  EXPECT_NEAR(m[0], 2 / det, 1e-15);
  EXPECT_NEAR(m[3], -1 / det, 1e-15);
  EXPECT_NEAR(m[4], 4 / det, 1e-15);
  EXPECT_EQ(m[8], 1.0);
  test::TempDir dir;
  test::ensure_work_array();
  test::write_file(dir.file("x.vtn"), "VORTAN\n");
  test::open_deck(dir.file("x.vtn"));
  double singular[4] = {1, 1, 1, 1};
  try {
    PCJENS(singular, 2);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "PCJENS:ERROR EN LA INVERION DE MATRIZ");
  }
  reset_run_state();
}

}  // namespace
}  // namespace vortan
