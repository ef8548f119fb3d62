// Plates and flat shells run end to end: square plates against the classical series
// solutions over three meshes, the constant-curvature patch test, a flat shell lying
// in a horizontal plane against the plate, and a symmetric laminate against the one
// layer of the same stiffness.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "listing_tables.h"
#include "plate_decks.h"

namespace vortan {
namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double NU = 0.3;

// Navier's double series of the simply supported square (side 1, D = 1) at its centre,
// over odd m, n: w of a uniform load 1, its moment Mx, and w of a load 1 at the centre.
struct Navier {
  double w_uniform = 0.0, m_uniform = 0.0, w_point = 0.0;
};
Navier navier() {
  Navier s;
  for (int m = 1; m <= 1999; m += 2)
    for (int n = 1; n <= 1999; n += 2) {
      const double sign = ((m + n) / 2 - 1) % 2 == 0 ? 1.0 : -1.0;  // sin(m pi/2) sin(n pi/2)
      const double r = double(m) * m + double(n) * n, q = r * r;
      const double wmn = 16.0 / (std::pow(PI, 6) * m * n * q);
      s.w_uniform += sign * wmn;
      s.m_uniform += sign * wmn * PI * PI * (m * m + NU * n * n);
      s.w_point += 4.0 / (std::pow(PI, 4) * q);
    }
  return s;
}

// The clamped square (D = 1, side 1, nu 0.3): centre deflection under a uniform load 1,
// its centre moment, and the centre deflection under a load 1 at the centre, from the
// series of the classical plate tables.
constexpr double CLAMPED_W_UNIFORM = 0.00126532;
constexpr double CLAMPED_M_UNIFORM = 0.0229051;
constexpr double CLAMPED_W_POINT = 0.0056120;

struct Result {
  double w, m;  // centre deflection and smoothed centre moment Mx
};

Result run_plate(const test::PlateDeck& p) {
  test::TempDir dir;
  int centre = 0;
  int status = -1;
  const std::string sal = test::run_deck_text(dir, "placa", test::plate_deck(p, &centre), &status);
  EXPECT_EQ(status, 0) << p.element << " n " << p.n;
  const auto w = test::displacements(sal);
  const auto m = test::node_table(sal, "          TENSIONES ALISADAS NODALES EN SISTEMA:");
  const int wi = p.flat_shell ? 2 : 0, mi = p.flat_shell ? 3 : 0;
  if (!w.count(centre) || !m.count(centre)) return {NAN, NAN};
  return {w.at(centre)[wi], m.at(centre)[mi]};
}

struct SeriesCase {
  bool clamped, point_load;
  double w_exact, m_exact;  // m_exact 0: the moment under a point load is singular
};

// Each element type on each case: the error at the finest mesh (8 x 8 on the quarter)
// is within a few per mille to 2 % (the triangles under a uniform load on the clamped
// plate converge from above: 1.7 and 1.9 %), and smaller than on the coarsest (2 x 2)
// unless both are within 3 per mille. The load
// acts along +z, so the deflection is positive and the centre moments negative.
TEST(PlateSeries, SquarePlatesConvergeToTheSeries) {
  const Navier ss = navier();
  const SeriesCase cases[] = {{false, false, ss.w_uniform, ss.m_uniform},
                              {true, false, CLAMPED_W_UNIFORM, CLAMPED_M_UNIFORM},
                              {false, true, ss.w_point, 0.0},
                              {true, true, CLAMPED_W_POINT, 0.0}};
  EXPECT_NEAR(ss.w_uniform, 0.00406235, 1e-8);
  EXPECT_NEAR(ss.m_uniform, 0.0478864, 1e-6);
  EXPECT_NEAR(ss.w_point, 0.0116008, 1e-7);
  for (const char* element : {"DKT", "TLCL", "CLLL"})
    for (const SeriesCase& c : cases) {
      std::map<int, Result> r;
      for (int n : {2, 4, 8}) {
        test::PlateDeck p;
        p.element = element, p.n = n, p.clamped = c.clamped, p.point_load = c.point_load;
        r[n] = run_plate(p);
      }
      const std::string what = std::string(element) + (c.clamped ? " clamped" : " simply supported") +
                               (c.point_load ? " point load" : " uniform load");
      const double coarse = std::fabs(r[2].w / c.w_exact - 1.0), fine = std::fabs(r[8].w / c.w_exact - 1.0);
      EXPECT_LT(fine, 0.02) << what;
      EXPECT_LT(fine, std::max(coarse, 0.003)) << what;
      if (c.m_exact == 0.0) continue;
      const double m_coarse = std::fabs(-r[2].m / c.m_exact - 1.0), m_fine = std::fabs(-r[8].m / c.m_exact - 1.0);
      EXPECT_LT(m_fine, 0.008) << what;
      EXPECT_LT(m_fine, std::max(m_coarse, 0.003)) << what;
    }
}

// A flat shell in the plane z = 0, its membrane held, gives the plate's deflections and
// moments (the TLCL's mid-side nodes keep the one rotation their sides turn them by).
TEST(PlateSeries, HorizontalFlatShellReproducesThePlate) {
  for (const char* element : {"DKT", "TLCL", "CLLL"})
    for (bool point_load : {false, true}) {
      test::PlateDeck p;
      p.element = element, p.n = 4, p.point_load = point_load, p.clamped = point_load;
      const Result plate = run_plate(p);
      p.flat_shell = true;
      const Result shell = run_plate(p);
      EXPECT_NEAR(shell.w, plate.w, 1e-6 * std::fabs(plate.w)) << element;
      EXPECT_NEAR(shell.m, plate.m, 1e-6 * std::fabs(plate.m)) << element;
    }
}

// Two layers of half the thickness, isotropic through their own constants (the fibre
// angle changes nothing), make the one layer's plate: deflection and moment alike.
TEST(PlateSeries, SymmetricTwoLayerLaminateEqualsOneLayer) {
  const double e = 1.092e7, g = e / (2.0 * (1.0 + NU));
  for (const char* element : {"DKT", "CLLL"}) {
    test::PlateDeck p;
    p.element = element, p.n = 4, p.clamped = true;
    const Result single = run_plate(p);
    std::ostringstream layers;
    layers.precision(12);
    for (int layer = 1; layer <= 2; ++layer)
      layers << "LAMINADO=" << layer << " YOUN1=" << e << " YOUN2=" << e << " POIS1=0.3 POIS2=0.3 CORT1=" << g
             << " CORT2=" << g << " ESPESOR=0.005 ANGULO=" << (layer == 1 ? 30 : -45) << "\n";
    p.material = "MATERIAL\n" + layers.str();
    test::TempDir dir;
    int centre = 0;
    std::string text = test::plate_deck(p, &centre);
    const std::string type = "TIPO PLACA\n";
    text.replace(text.find(type), type.size(), "TIPO PLACA LAMINADOS=2\n");
    int status = -1;
    const std::string sal = test::run_deck_text(dir, "lam", text, &status);
    ASSERT_EQ(status, 0) << element;
    const Result laminate{test::displacements(sal).at(centre)[0],
                          test::node_table(sal, "          TENSIONES ALISADAS NODALES EN SISTEMA:").at(centre)[0]};
    EXPECT_NEAR(laminate.w, single.w, 1e-5 * single.w) << element;
    EXPECT_NEAR(laminate.m, single.m, 1e-5 * std::fabs(single.m)) << element;
  }
}

// The self weight of a plate is the pressure -(thickness times specific weight): a
// specific weight of -100 on a thickness of 0.01 loads like the uniform load 1 along
// +z, in the plate and in the horizontal flat shell. The error estimate runs on the
// plates' resultants.
TEST(PlateSeries, SelfWeightIsAUniformPressure) {
  for (bool shell : {false, true}) {
    test::PlateDeck p;
    p.element = "CLLL", p.n = 2, p.flat_shell = shell;
    const Result pressure = run_plate(p);
    p.self_weight = true, p.specific_weight = -100.0;
    const Result weight = run_plate(p);
    EXPECT_NEAR(weight.w, pressure.w, 1e-6 * pressure.w) << shell;
  }
  test::PlateDeck p;
  p.element = "TLCL", p.n = 2;
  std::string deck = test::plate_deck(p);
  deck.replace(deck.find("POSTPROCESO FEMVIEW\n"), 20, "POSTPROCESO FEMVIEW\nERROR ACTIVO\n");
  test::TempDir dir;
  int status = -1;
  const std::string sal = test::run_deck_text(dir, "error", deck, &status);
  ASSERT_EQ(status, 0);
  const std::size_t global = sal.find("ERROR COMETIDO = ");
  ASSERT_NE(global, std::string::npos);
  const double percent = std::strtod(sal.c_str() + global + 17, nullptr);
  EXPECT_GT(percent, 0.1);
  EXPECT_LT(percent, 50.0);
}

// Element records kept on disk or in memory and fetched by the later passes give the
// numbers of a run that computes everything again.
TEST(PlateSeries, StoredRecordsGiveTheSameResults) {
  const std::string storage =
      "MATRIZ_D MEMORIA\nMATRIZ_B DISCO\nMATRIZ_DB MEMORIA\nMATRIZ_K DISCO\nTENSIONES MEMORIA\n";
  for (const auto& [element, shell] : {std::pair{"DKT", false}, std::pair{"TLCL", false}, std::pair{"CLLL", true}}) {
    test::PlateDeck p;
    p.element = element, p.n = 2, p.flat_shell = shell;
    const Result recomputed = run_plate(p);
    p.storage = storage;
    const Result stored = run_plate(p);
    EXPECT_EQ(stored.w, recomputed.w) << element;
    EXPECT_EQ(stored.m, recomputed.m) << element;
  }
}

// The face-load cards: a card with a word or one number, an element outside the set
// or more cards than NELCA= stop the run; a later card for an element replaces its
// load (the block below loads like 1.0 on both elements).
TEST(PlateSeries, FaceLoadCards) {
  test::PlateDeck p;
  p.element = "DKT", p.n = 1;
  int centre = 0;
  const std::string deck = test::plate_deck(p, &centre);
  const std::size_t from = deck.find("CARGAS_REPARTIDAS"), to = deck.find("FIN_FUERZAS");
  auto with = [&](const std::string& block) { return deck.substr(0, from) + block + deck.substr(to); };
  const std::pair<std::string, std::string> stops[] = {
      {"CARGAS_REPARTIDAS NELCA=2\n1 UNO\n", "FUEREU : TARJETA EQUIVOCADA PASO 1"},
      {"CARGAS_REPARTIDAS NELCA=2\n1\n", "FUEREU : TARJETA EQUIVOCADA PASO 1"},
      {"CARGAS_REPARTIDAS NELCA=2\n3 1.0\n", "FUEREU : TARJETA EQUIVOCADA PASO 2"},
      {"CARGAS_REPARTIDAS NELCA=1\n1 1.0\n2 1.0\n", "FUEREU : TARJETA EQUIVOCADA PASO 2"},
  };
  test::TempDir dir;
  for (const auto& [block, message] : stops) {
    int status = -1;
    const std::string sal = test::run_deck_text(dir, "cargas", with(block), &status);
    EXPECT_EQ(status, 1) << block;
    EXPECT_NE(sal.find(message), std::string::npos) << block;
  }
  int status = -1;
  const std::string replaced = test::run_deck_text(
      dir, "cargas", with("CARGAS_REPARTIDAS NELCA=3\n1 5.0\n2 1.0\n1 1.0\nFIN_CARGAS_REPARTIDAS\n"), &status);
  ASSERT_EQ(status, 0);
  const Result uniform = run_plate(p);
  EXPECT_EQ(test::displacements(replaced).at(centre)[0], uniform.w);
}

// An inclined support turns a plate node's slopes: node 6 of the 2 x 2 quarter lies on
// the symmetry line x = 0.5 where dw/dx = 0; turned by 90 degrees its first slope is
// dw/dy and its second -dw/dx, so restraining the second instead gives the same plate.
TEST(PlateSeries, InclinedSupportTurnsTheSlopes) {
  for (const char* element : {"DKT", "CLLL"}) {
    test::PlateDeck p;
    p.element = element, p.n = 2;
    int centre = 0;
    std::string deck = test::plate_deck(p, &centre);
    const Result plain = run_plate(p);
    auto replace = [&](const std::string& from, const std::string& to) {
      const std::size_t at = deck.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      deck.replace(at, from.size(), to);
    };
    replace("NPNODS=9", "NPNODS=9 MAPOY=1");
    replace("\n6 0 1 0\n", "\n6 0 0 1\n");
    replace("FIN_CONDICIONES_DE_CONTORNO\n", "FIN_CONDICIONES_DE_CONTORNO\nAPOYOS_INCLINADOS\n6 90\nFIN_APOYOS_INCLINADOS\n");
    test::TempDir dir;
    int status = -1;
    const std::string sal = test::run_deck_text(dir, "apoyo", deck, &status);
    ASSERT_EQ(status, 0) << element;
    const auto u = test::displacements(sal);
    const auto plain_u = [&] {
      test::TempDir d2;
      return test::displacements(test::run_deck_text(d2, "llano", test::plate_deck(p), &status));
    }();
    EXPECT_NEAR(u.at(centre)[0], plain.w, 1e-6 * plain.w) << element;
    EXPECT_NEAR(u.at(6)[0], plain_u.at(6)[0], 1e-6 * plain.w) << element;
    EXPECT_NEAR(u.at(6)[1], plain_u.at(6)[2], 1e-6 * std::fabs(plain_u.at(6)[2])) << element;
    EXPECT_EQ(u.at(6)[2], 0.0) << element;
  }
}

// The flat-shell model is moved to its smallest coordinates while it is solved: the
// same shell at z = 3 gives the same answer, and the neutral file holds the input's
// coordinates.
TEST(PlateSeries, RaisedFlatShellKeepsItsCoordinatesInTheFiles) {
  test::PlateDeck p;
  p.element = "CLLL", p.n = 2, p.flat_shell = true;
  const Result low = run_plate(p);
  p.height = 3.0;
  test::TempDir dir;
  int centre = 0, status = -1;
  const std::string sal = test::run_deck_text(dir, "alta", test::plate_deck(p, &centre), &status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(test::displacements(sal).at(centre)[2], low.w, 1e-6 * low.w);
  const std::string fem = test::read_file(dir.file("alta.fem"));
  EXPECT_NE(fem.find(" -1    1 0.00000E+00 0.00000E+00 0.30000E+01\n"), std::string::npos);
  EXPECT_NE(fem.find(" -1    9 0.50000E+00 0.50000E+00 0.30000E+01\n"), std::string::npos);
}

// The constant-curvature patch test: the distorted patch of five quadrilaterals (cut
// into triangles for DKT and TLCL) with the deflection w = x^2 + 0.6 xy - 0.4 y^2 and
// its slopes prescribed on the boundary. The free interior nodes take the same field,
// the TLCL's mid-side rotations stay 0 (the slopes are linear along every side), and
// every node gets the moments D k of the constant curvatures (2, -0.8, 1.2) and no
// shear: Mx = 1.76, My = -0.2, Mxy = 0.42 with D = 1, nu = 0.3.
std::string patch_deck(const std::string& element, std::vector<std::array<double, 2>>& xy, int& corner_nodes) {
  xy = {{0.0, 0.0}, {0.24, 0.0}, {0.24, 0.12}, {0.0, 0.12}, {0.04, 0.02}, {0.18, 0.03}, {0.16, 0.08}, {0.08, 0.08}};
  corner_nodes = 8;
  const int quads[5][4] = {{1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}, {5, 6, 7, 8}};
  std::vector<std::vector<int>> elements;
  std::map<std::pair<int, int>, int> mids;
  auto mid = [&](int a, int b) {
    const auto key = std::minmax(a, b);
    auto found = mids.find(key);
    if (found != mids.end()) return found->second;
    xy.push_back({0.5 * (xy[a - 1][0] + xy[b - 1][0]), 0.5 * (xy[a - 1][1] + xy[b - 1][1])});
    return mids[key] = static_cast<int>(xy.size());
  };
  for (const auto& q : quads) {
    if (element == "CLLL") {
      elements.push_back({q[0], q[1], q[2], q[3]});
      continue;
    }
    for (const auto& t : {std::array<int, 3>{q[0], q[1], q[2]}, std::array<int, 3>{q[0], q[2], q[3]}}) {
      std::vector<int> e(t.begin(), t.end());
      if (element == "TLCL") e.insert(e.end(), {mid(t[0], t[1]), mid(t[1], t[2]), mid(t[2], t[0])});
      elements.push_back(e);
    }
  }
  // Mid-side nodes on the boundary lie on the sides of the corners 1 to 4.
  auto on_boundary = [&](int node) {
    const double x = xy[node - 1][0], y = xy[node - 1][1];
    return std::fabs(x) < 1e-12 || std::fabs(x - 0.24) < 1e-12 || std::fabs(y) < 1e-12 || std::fabs(y - 0.12) < 1e-12;
  };
  std::ostringstream d;
  d.precision(15);
  d << "VORTAN\nANALISIS ESTATICO\nTITULO PARCHE DE CURVATURA CONSTANTE " << element
    << "\nGENERAL LINEAL\nMATERIAL LINEAL\nNUMERO_DE_NODOS NPNODS=" << xy.size()
    << "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\nSET_NUMERO 1\nTIPO PLACA\nELEMENTO " << element
    << " NELEM=" << elements.size() << "\nMATERIAL YOUNG=1.092E7 POISSON=0.3 ESPESOR=0.01\nFIN_SET\nGEOMETRIA\n";
  for (std::size_t e = 0; e < elements.size(); ++e) {
    d << e + 1 << " 1";
    for (int node : elements[e]) d << " " << node;
    d << "\n";
  }
  for (std::size_t n = 0; n < xy.size(); ++n) d << n + 1 << " " << xy[n][0] << " " << xy[n][1] << "\n";
  d << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  for (int node = 1; node <= static_cast<int>(xy.size()); ++node) {
    if (!on_boundary(node)) continue;
    const double x = xy[node - 1][0], y = xy[node - 1][1];
    if (node <= corner_nodes)
      d << node << " 1 1 1 " << x * x + 0.6 * x * y - 0.4 * y * y << " " << 2 * x + 0.6 * y << " " << 0.6 * x - 0.8 * y
        << "\n";
    else
      d << node << " 1 1 1 0 0 0\n";
  }
  d << "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\nFIN_FUERZAS\nFEMV PARCHE\n";
  return d.str();
}

TEST(PlatePatch, ConstantCurvatureIsReproduced) {
  for (const char* element : {"DKT", "TLCL", "CLLL"}) {
    std::vector<std::array<double, 2>> xy;
    int corners = 0;
    const std::string deck = patch_deck(element, xy, corners);
    test::TempDir dir;
    int status = -1;
    const std::string sal = test::run_deck_text(dir, "parche", deck, &status);
    ASSERT_EQ(status, 0) << element;
    const auto u = test::displacements(sal);
    const auto m = test::node_table(sal, "          TENSIONES ALISADAS NODALES EN SISTEMA:");
    for (int node = 5; node <= corners; ++node) {
      const double x = xy[node - 1][0], y = xy[node - 1][1];
      const std::vector<double>& v = u.at(node);
      EXPECT_NEAR(v[0], x * x + 0.6 * x * y - 0.4 * y * y, 1e-7) << element << " " << node;
      EXPECT_NEAR(v[1], 2 * x + 0.6 * y, 1e-6) << element << " " << node;
      EXPECT_NEAR(v[2], 0.6 * x - 0.8 * y, 1e-6) << element << " " << node;
    }
    for (int node = corners + 1; node <= static_cast<int>(xy.size()); ++node)
      EXPECT_NEAR(u.at(node)[1], 0.0, 1e-9) << element << " mid-side rotation " << node;
    const double expected[5] = {1.76, -0.2, 0.42, 0.0, 0.0};
    for (int node = 1; node <= corners; ++node) {
      const std::vector<double>& v = m.at(node);
      ASSERT_EQ(v.size(), std::string(element) == "DKT" ? 3u : 5u) << element;
      for (std::size_t c = 0; c < v.size(); ++c) EXPECT_NEAR(v[c], expected[c], 1e-7) << element << " " << node << " " << c;
    }
  }
}

}  // namespace
}  // namespace vortan
