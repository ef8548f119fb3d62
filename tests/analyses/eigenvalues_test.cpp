// The eigenvalue analysis run end to end: frequencies and mode shapes read back from
// the listing and checked against closed forms (the lumped axial chain, the
// Euler-Bernoulli cantilever, a hand calculation with added masses), the four
// methods against each other, and the stops of the added-mass block.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "listing_tables.h"

namespace vortan {
namespace {

constexpr double PI = 3.141592653589793;

struct Mode {
  int number = 0;
  double lambda = 0.0, omega = 0.0, frequency = 0.0, period = 0.0;
};

// The rows of the table "FRECUENCIAS NATURALES".
std::vector<Mode> mode_table(const std::string& listing) {
  std::vector<Mode> modes;
  const auto lines = test::lines_of(listing);
  std::size_t i = 0;
  while (i < lines.size() && lines[i] != "     FRECUENCIAS NATURALES") ++i;
  for (i += 3; i < lines.size() && !lines[i].empty(); ++i) {
    std::istringstream in(lines[i]);
    Mode m;
    in >> m.number >> m.lambda >> m.omega >> m.frequency >> m.period;
    modes.push_back(m);
  }
  return modes;
}

// The mode shapes: the displacement table after each "VECTOR PROPIO" line.
std::vector<std::map<int, std::vector<double>>> mode_shapes(const std::string& listing) {
  std::vector<std::map<int, std::vector<double>>> shapes;
  std::size_t at = 0;
  while ((at = listing.find("     VECTOR PROPIO", at)) != std::string::npos) {
    shapes.push_back(test::displacements(listing.substr(at)));
    ++at;
  }
  return shapes;
}

std::string run(const test::TempDir& dir, const std::string& name, const std::string& deck, int* status = nullptr) {
  return test::run_deck_text(dir, name, deck, status);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The bar of tests/cases/eigen/bar-chain-*.vtn: six QU4 plane-stress elements 1 x
// 0.25, E = 1, density 1, Poisson 0, every vertical displacement restrained, fixed at
// x = 0. With Poisson 0 and no vertical motion, the motions in which the top and
// bottom node of each section move together are exactly those of the lumped axial
// chain of six two-node elements (stiffness E A / h, section masses density A h and
// half that at the free end): lambda_k = 4 sin^2((2k - 1) pi / 24).
double chain_eigenvalue(int k) {
  const double s = std::sin((2 * k - 1) * PI / 24.0);
  return 4.0 * s * s;
}

// The motions in which the top and bottom nodes move against each other, u = w(x) (2y
// / b - 1), bend and shear each element. With the 2 x 2 Gauss rule at +-g (g = 1/sqrt(3)
// held in single precision) an element adds E b g^2 / h [1 -1; -1 1] for the bending
// and s [1 + g^2, 1 - g^2; 1 - g^2, 1 + g^2], s = E h / 2b, for the shear, to the
// chain of the w: the same pattern, t = (2k - 1) pi / 12, and
//     lambda = (2a (1 - cos t) + 2s ((1 + g^2) + (1 - g^2) cos t)) / (density b h),
// all above the axial chain, the highest at k = 1.
double shear_eigenvalue(int k) {
  const double h = 1.0, b = 0.25, g = 0.5773502588272095, t = (2 * k - 1) * PI / 12.0;
  const double a = b * g * g / h, s = h / (2 * b);
  return (2 * a * (1 - std::cos(t)) + 2 * s * ((1 + g * g) + (1 - g * g) * std::cos(t))) / (b * h);
}

TEST(Eigenvalues, LumpedChainByTheFourMethods) {
  std::map<std::string, std::vector<Mode>> found;
  for (const char* method : {"inverse", "determinant", "subspace", "power"}) {
    test::TempDir dir;
    int status = 0;
    const std::string name = std::string("bar-chain-") + method;
    const std::string sal = run(dir, name, test::source_file("tests/cases/eigen/" + name + ".vtn"), &status);
    ASSERT_EQ(status, 0) << method;
    found[method] = mode_table(sal);
    for (const char* scratch : {".SPACE.TMP", ".dt1", ".dt2"}) EXPECT_FALSE(test::file_exists(dir.file(name + scratch)));
  }
  for (const char* method : {"inverse", "determinant", "subspace"}) {
    const std::vector<Mode>& modes = found[method];
    ASSERT_EQ(modes.size(), 6u) << method;
    for (int k = 1; k <= 6; ++k) {
      const Mode& m = modes[k - 1];
      EXPECT_EQ(m.number, k);
      EXPECT_NEAR(m.lambda, chain_eigenvalue(k), 1e-8 * chain_eigenvalue(k)) << method << " mode " << k;
      EXPECT_NEAR(m.lambda, found["subspace"][k - 1].lambda, 1e-8 * m.lambda) << method << " mode " << k;
      EXPECT_NEAR(m.omega, std::sqrt(m.lambda), 1e-11 * m.omega);
      EXPECT_NEAR(m.frequency, m.omega / (2 * PI), 1e-11 * m.frequency);
      EXPECT_NEAR(m.period, 2 * PI / m.omega, 1e-11 * m.period);
    }
  }
  // The highest mode: the twelfth of twelve equations.
  ASSERT_EQ(found["power"].size(), 1u);
  EXPECT_EQ(found["power"][0].number, 12);
  EXPECT_NEAR(found["power"][0].lambda, shear_eigenvalue(1), 1e-8 * shear_eigenvalue(1));
  // The subspace iteration with every mode agrees.
  test::TempDir dir;
  const std::string all = run(dir, "all", replaced(test::source_file("tests/cases/eigen/bar-chain-subspace.vtn"),
                                                   "NUMFR=6", "NUMFR=12"));
  const std::vector<Mode> modes = mode_table(all);
  ASSERT_EQ(modes.size(), 12u);
  EXPECT_NEAR(modes[11].lambda, found["power"][0].lambda, 1e-8 * modes[11].lambda);
  for (int k = 1; k <= 6; ++k) EXPECT_NEAR(modes[12 - k].lambda, shear_eigenvalue(k), 1e-8 * shear_eigenvalue(k));
}

// The printed mode shapes (six digits) are mass-orthonormal with the lumped masses of
// the bar, 0.0625 on every node of the free end and 0.125 on the others, and move
// the top and bottom of each section together.
TEST(Eigenvalues, ModeShapesAreMassOrthonormal) {
  for (const char* method : {"inverse", "determinant", "subspace"}) {
    test::TempDir dir;
    const std::string name = std::string("bar-chain-") + method;
    const auto shapes = mode_shapes(run(dir, name, test::source_file("tests/cases/eigen/" + name + ".vtn")));
    ASSERT_EQ(shapes.size(), 6u) << method;
    auto mass = [](int node) { return node == 7 || node == 14 ? 0.0625 : (node == 1 || node == 8 ? 0.0 : 0.125); };
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j <= i; ++j) {
        double product = 0.0;
        for (const auto& [node, u] : shapes[i]) product += mass(node) * u[0] * shapes[j].at(node)[0];
        EXPECT_NEAR(product, i == j ? 1.0 : 0.0, 2e-5) << method << " modes " << i + 1 << ", " << j + 1;
      }
      for (int node = 1; node <= 7; ++node) {
        EXPECT_NEAR(shapes[i].at(node)[0], shapes[i].at(node + 7)[0], 1e-9) << method << " mode " << i + 1;
        EXPECT_EQ(shapes[i].at(node)[1], 0.0);
      }
    }
  }
}

// The plane-stress QU8 cantilever of the examples against Euler-Bernoulli: the first
// bending frequency within 0.3 %; the second and third lower than the beam values by
// the shear and rotary inertia the beam theory leaves out, less than 2 % and 4.5 % at
// this slenderness (L / depth = 20); the axial mode within 0.3 % of the bar's.
TEST(Eigenvalues, CantileverAgainstEulerBernoulli) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, "cantilever", test::source_file("examples/cantilever-frequencies.vtn"), &status);
  ASSERT_EQ(status, 0);
  const std::vector<Mode> modes = mode_table(sal);
  ASSERT_EQ(modes.size(), 4u);
  const double beta_l[] = {1.875104, 4.694091, 7.854757};
  const double beam[] = {beta_l[0] * beta_l[0] / 100, beta_l[1] * beta_l[1] / 100, beta_l[2] * beta_l[2] / 100};
  EXPECT_NEAR(modes[0].omega, beam[0], 0.003 * beam[0]);
  EXPECT_LT(modes[1].omega, beam[1]);
  EXPECT_GT(modes[1].omega, 0.98 * beam[1]);
  EXPECT_LT(modes[2].omega, beam[2]);
  EXPECT_GT(modes[2].omega, 0.955 * beam[2]);
  const double axial = PI / 20 * std::sqrt(48.0);
  EXPECT_NEAR(modes[3].omega, axial, 0.003 * axial);
  // The first mode bends: the tip moves across, not along.
  const auto shapes = mode_shapes(sal);
  ASSERT_EQ(shapes.size(), 4u);
  EXPECT_GT(std::abs(shapes[0].at(41)[1]), 10 * std::abs(shapes[0].at(41)[0]));
  EXPECT_GT(std::abs(shapes[3].at(41)[0]), 10 * std::abs(shapes[3].at(41)[1]));
  EXPECT_NE(sal.find("     CALCULO DE MATRIZ DE MASA....."), std::string::npos);
  EXPECT_NE(sal.find("     SOLUCION DE AUTOVALORES......."), std::string::npos);
}

// Masses added at the free end lower both frequencies of the two-element bar as the
// two-mass chain predicts (the comment of the deck); without them the chain gives
// 2 -/+ sqrt(2).
TEST(Eigenvalues, AddedMassesShiftTheFrequencies) {
  const std::string deck = test::source_file("tests/cases/eigen/bar-added-masses.vtn");
  const double m1 = 0.1, m2 = 1.05, k = 0.1;
  const double a = m1 * m2, b = -k * (m1 + 2 * m2), c = k * k, root = std::sqrt(b * b - 4 * a * c);
  const double expected[] = {(-b - root) / (2 * a), (-b + root) / (2 * a)};
  for (const char* method : {"BUSQUEDA_DETERMINANTE", "ITERACION_INVERSA", "INTEGRACION_EN_EL_SUBESPACIO"}) {
    test::TempDir dir;
    int status = 0;
    const std::string sal =
        run(dir, "added", replaced(deck, "SOLVER BUSQUEDA_DETERMINANTE", std::string("SOLVER ") + method), &status);
    ASSERT_EQ(status, 0) << method;
    const std::vector<Mode> modes = mode_table(sal);
    ASSERT_EQ(modes.size(), 2u);
    for (int i = 0; i < 2; ++i) EXPECT_NEAR(modes[i].lambda, expected[i], 1e-8 * expected[i]) << method;
    EXPECT_NE(sal.find("     NODO MASA\n        3    0.500000E+00\n        6    0.500000E+00\n"), std::string::npos);
    EXPECT_NE(sal.find("     SUMA DE MASA CONS.:  0.10000000E+01"), std::string::npos);
    // The summary comes before the added masses: the two elements of 0.1 x 1.
    EXPECT_NE(sal.find("     SUMA DE MASA LIBRE:  0.15000000E+00\n     SUMA DE MASA TOTAL:  0.20000000E+00"),
              std::string::npos);
  }
  test::TempDir dir;
  const std::string bare =
      run(dir, "bare", replaced(deck, "MASAS_ANADIDAS INDPM=1\n3 0.5\n6 0.5\nFIN_MASAS_ANADIDAS", "MASAS_ANADIDAS"));
  const std::vector<Mode> modes = mode_table(bare);
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_NEAR(modes[0].lambda, 2 - std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(modes[1].lambda, 2 + std::sqrt(2.0), 1e-9);
  EXPECT_EQ(bare.find("SUMA DE MASA CONS."), std::string::npos);
}

TEST(Eigenvalues, StopsOfTheMassBlockAndTheMethods) {
  const std::string deck = test::source_file("tests/cases/eigen/bar-added-masses.vtn");
  const std::string block = "MASAS_ANADIDAS INDPM=1\n3 0.5\n6 0.5\nFIN_MASAS_ANADIDAS";
  struct Case {
    std::string from, to, message;
  };
  const Case cases[] = {
      {block, "FUERZAS", "ADDMASF : TARJETA EQUIVOCADA MASAS CONC."},
      {block, "MASAS_ANADIDAS INDPM=1\n0 0.5\nFIN_MASAS_ANADIDAS", "DATOS : VERIFICAR NUMERO DE NODOS"},
      {block, "MASAS_ANADIDAS INDPM=1\n7 0.5\nFIN_MASAS_ANADIDAS", "DATOS : VERIFICAR NUMERO DE NODOS"},
      {block, "MASAS_ANADIDAS INDPM=1\n3\nFIN_MASAS_ANADIDAS", "ADDMASF : TARJETA EQUIVOCADA MASAS CONC."},
      {block, "MASAS_ANADIDAS INDPM=1\n3 -0.5\nFIN_MASAS_ANADIDAS", "ADDMASF : MASA CONCENTRADA NEGATIVA"},
      {"DENSIDAD=1.0", "DENSIDAD=-1.0", "ADDMASF : MASA NEGATIVA EN GDL LIBRE"},
      {"NUMFR=2", "NUMFR=5", "DSEARC: MAS AUTOVALORES QUE GDL CON MASA"},
      {"NUMFR=2", "NUMFR=0", "INPFREC: NUMFR DEBE SER MAYOR QUE CERO"},
      {"SOLVER BUSQUEDA_DETERMINANTE", "SOLVER LDLT", "INPFREC: SOLVER NO IMPLEMENTADO"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    int status = 0;
    const std::string sal = run(dir, "S", replaced(deck, c.from, c.to), &status);
    EXPECT_EQ(status, 1) << c.message;
    EXPECT_NE(sal.find("     " + c.message), std::string::npos) << c.message;
    EXPECT_TRUE(test::file_exists(dir.file("S.err"))) << c.message;
  }
  // Without density the power iteration has no highest frequency to find.
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, "S",
                              replaced(replaced(deck, "DENSIDAD=1.0", "DENSIDAD=0.0"), "SOLVER BUSQUEDA_DETERMINANTE",
                                       "SOLVER VON_MISES"),
                              &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(sal.find("     VONMIS: GRADO DE LIBERTAD LIBRE SIN MASA"), std::string::npos);
}

}  // namespace
}  // namespace vortan
