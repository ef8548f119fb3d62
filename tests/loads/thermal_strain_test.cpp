// Temperature loads of continuum sets run end to end: free bodies heated uniformly
// expand by alpha dT L without stress in every continuum problem type, a restrained
// bar carries -E alpha dT, a temperature linear across the depth bends a free beam to
// the closed-form curvature without stress; and the material parameter leaves the
// property list of sets without it as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../analyses/listing_tables.h"
#include "load_fixture.h"

namespace vortan {
namespace {

constexpr double E = 1000.0, NU = 0.25, ALPHA = 0.001;

struct DeckRun {
  int status = -1;
  std::string sal;
};

DeckRun run(const std::string& text) {
  test::TempDir dir;
  DeckRun r;
  r.sal = test::run_deck_text(dir, "T", text, &r.status);
  return r;
}

// The stress lines of a set's stress table: per integration point its coordinates
// (ndime values) and its stresses.
std::vector<std::vector<double>> point_stresses(const std::string& sal, int ndime) {
  std::vector<std::vector<double>> points;
  const auto lines = test::lines_of(sal.substr(sal.find("TENSIONES EN SET NUMERO:")));
  for (std::size_t i = 3; i < lines.size() && !lines[i].empty(); ++i) {
    if (lines[i].find("ELEMENTO:") != std::string::npos) continue;
    std::istringstream in(lines[i]);
    std::vector<double> values;
    std::string token;
    in >> token;  // the point
    while (in >> token) values.push_back(std::strtod(token.c_str(), nullptr));
    EXPECT_GT(static_cast<int>(values.size()), ndime) << lines[i];
    points.push_back(values);
  }
  return points;
}

// A rectangle [0, L] x [0, H] of nx x ny QU9 elements of one set; node (i, j) of the
// grid of (2 nx + 1) x (2 ny + 1) nodes is j (2 nx + 1) + i + 1.
struct Rectangle {
  double L, H;
  int nx, ny;
  int columns() const { return 2 * nx + 1; }
  int node(int i, int j) const { return j * columns() + i + 1; }
  int nodes() const { return columns() * (2 * ny + 1); }
  double x(int i) const { return L * i / (2.0 * nx); }
  double y(int j) const { return H * j / (2.0 * ny); }

  // The deck: set of `type` with `material`, the restraint cards, temperatures T(x, y).
  std::string deck(const std::string& type, const std::string& material, const std::string& set_extra,
                   const std::string& restraints, const std::function<double(double, double)>& t) const {
    std::ostringstream d;
    d << "VORTAN\nANALISIS ESTATICO\nTITULO TEMPERATURA\nGENERAL LINEAL\nMATERIAL LINEAL\n"
      << "NUMERO_DE_NODOS NPNODS=" << nodes() << "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\n"
      << "POSTPROCESO FEMVIEW\nSET_NUMERO 1\nTIPO " << type << "\nELEMENTO QU9 NELEM=" << nx * ny
      << "\nMATERIAL " << material << "\n" << set_extra << "FIN_SET\nGEOMETRIA\n";
    int e = 0;
    for (int ey = 0; ey < ny; ++ey)
      for (int ex = 0; ex < nx; ++ex) {
        const int i = 2 * ex, j = 2 * ey;
        d << ++e << " 1 " << node(i, j) << ' ' << node(i + 1, j) << ' ' << node(i + 2, j) << ' '
          << node(i + 2, j + 1) << ' ' << node(i + 2, j + 2) << ' ' << node(i + 1, j + 2) << ' '
          << node(i, j + 2) << ' ' << node(i, j + 1) << ' ' << node(i + 1, j + 1) << "\n";
      }
    d.precision(17);
    for (int j = 0; j <= 2 * ny; ++j)
      for (int i = 0; i < columns(); ++i) d << node(i, j) << ' ' << x(i) << ' ' << y(j) << "\n";
    d << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n" << restraints << "FIN_CONDICIONES_DE_CONTORNO\n"
      << "FUERZAS\nTEMPERATURA\n";
    for (int j = 0; j <= 2 * ny; ++j)
      for (int i = 0; i < columns(); ++i) d << node(i, j) << ' ' << t(x(i), y(j)) << "\n";
    d << "FIN_TEMPERATURA\nSET_NUMERO 1\nCARGAS DEL SET\nTEMPERATURA\nFIN_FUERZAS\nFEMV T\n";
    return d.str();
  }
};

const std::string MATERIAL = "YOUNG=1000 POISSON=0.25 ESPESOR=0.5 DILATACION=0.001";

// Free bar 2 x 1 heated by 10: held at the origin and against vertical sliding at
// (0, 1), it grows along x and y by strain s at every node and carries no stress.
// Plane stress: s = alpha dT; plane strain: (1 + nu) alpha dT, with sz = -E alpha dT;
// solid of revolution (x is the radius): alpha dT in r and z, the hoop stress 0 too.
TEST(ThermalStrainLoads, FreePlaneAndRevolutionBodiesExpandWithoutStress) {
  const Rectangle bar{2.0, 1.0, 2, 1};
  struct Case {
    std::string type;
    double strain, sz;
  };
  const double dt = 10.0;
  const Case cases[] = {{"TENSION_PLANA", ALPHA * dt, 0.0},
                        {"DEFORMACION_PLANA", (1 + NU) * ALPHA * dt, -E * ALPHA * dt},
                        {"SOLIDO_DE_REVOLUCION", ALPHA * dt, 0.0}};
  for (const Case& c : cases) {
    // The axisymmetric ring starts at radius 1, held at its inner bottom corner axially.
    const bool ring = c.type == "SOLIDO_DE_REVOLUCION";
    Rectangle body = bar;
    std::string deck = body.deck(c.type, MATERIAL, "",
                                 ring ? "1 0 1\n" : "1 1 1\n" + std::to_string(bar.node(0, 2)) + " 1 0\n",
                                 [&](double, double) { return dt; });
    if (ring) {  // shift the radii by 1
      std::ostringstream coords;
      for (int j = 0; j <= 2; ++j)
        for (int i = 0; i < bar.columns(); ++i) {
          const std::string from = "\n" + std::to_string(bar.node(i, j)) + " ";
          std::ostringstream old_line, new_line;
          old_line.precision(17);
          new_line.precision(17);
          old_line << from << bar.x(i) << ' ' << bar.y(j) << "\n";
          new_line << from << bar.x(i) + 1.0 << ' ' << bar.y(j) << "\n";
          const std::size_t at = deck.find(old_line.str(), deck.find("FIN_SET"));
          ASSERT_NE(at, std::string::npos);
          deck.replace(at, old_line.str().size(), new_line.str());
        }
    }
    const DeckRun r = run(deck);
    ASSERT_EQ(r.status, 0) << c.type;
    const auto u = test::displacements(r.sal);
    for (int j = 0; j <= 2; ++j)
      for (int i = 0; i < bar.columns(); ++i) {
        const double radius = ring ? bar.x(i) + 1.0 : bar.x(i);
        EXPECT_NEAR(u.at(bar.node(i, j))[0], c.strain * radius, 1e-12) << c.type << i << j;
        EXPECT_NEAR(u.at(bar.node(i, j))[1], c.strain * bar.y(j), 1e-12) << c.type << i << j;
      }
    for (const auto& p : point_stresses(r.sal, 2)) {
      ASSERT_EQ(p.size(), 6u) << c.type;
      for (int k = 2; k < 5; ++k) EXPECT_NEAR(p[k], 0.0, 1e-9) << c.type;
      EXPECT_NEAR(p[5], c.sz, 1e-9) << c.type;
    }
    for (const auto& [node, f] : test::reactions(r.sal))
      for (double v : f) EXPECT_NEAR(v, 0.0, 1e-9) << c.type << node;
  }
}

// A unit brick of solid HE8 heated by -20 shrinks by alpha dT along every axis; its
// stresses, stored in memory with the D B products, stay zero.
TEST(ThermalStrainLoads, FreeSolidShrinksWithoutStressAlsoFromStoredRecords) {
  const double dt = -20.0;
  std::ostringstream d;
  d << "VORTAN\nANALISIS ESTATICO\nTITULO CUBO\nGENERAL LINEAL\nMATERIAL LINEAL\n"
       "NUMERO_DE_NODOS NPNODS=8\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
       "SET_NUMERO 1\nTIPO SOLIDO\nELEMENTO HE8 NELEM=1\nMATERIAL YOUNG=1000 POISSON=0.25 DILATACION=0.001\n"
       "MATRIZDB MEMORIA\nTENSIONES MEMORIA\nFIN_SET\nGEOMETRIA\n1 1 1 2 3 4 5 6 7 8\n"
       "1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n5 0 0 1\n6 1 0 1\n7 1 1 1\n8 0 1 1\nFIN_GEOMETRIA\n"
       "CONDICIONES_DE_CONTORNO\n1 1 1 1\n2 0 1 1\n4 0 0 1\nFIN_CONDICIONES_DE_CONTORNO\n"
       "FUERZAS\nTEMPERATURA\n";
  for (int n = 1; n <= 8; ++n) d << n << ' ' << dt << "\n";
  d << "FIN_TEMPERATURA\nSET_NUMERO 1\nCARGAS DEL SET\nTEMPERATURA\nFIN_FUERZAS\nFEMV T\n";
  const DeckRun r = run(d.str());
  ASSERT_EQ(r.status, 0);
  const double corner[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                               {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
  const auto u = test::displacements(r.sal);
  for (int n = 1; n <= 8; ++n)
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(u.at(n)[k], ALPHA * dt * corner[n - 1][k], 1e-12) << n;
  const auto points = point_stresses(r.sal, 3);
  ASSERT_EQ(points.size(), 8u);
  for (const auto& p : points) {
    ASSERT_EQ(p.size(), 9u);
    for (int k = 3; k < 9; ++k) EXPECT_NEAR(p[k], 0.0, 1e-9);
  }
}

// The bar held at both ends against axial motion: sx = -E alpha dT (plane stress),
// sy = 0, and the end walls push with E alpha dT times the section H t.
TEST(ThermalStrainLoads, RestrainedBarCarriesMinusEAlphaDeltaT) {
  const Rectangle bar{2.0, 1.0, 2, 1};
  std::string walls = "1 1 1\n";
  for (int j = 0; j <= 2; ++j) {
    if (j > 0) walls += std::to_string(bar.node(0, j)) + " 1 0\n";
    walls += std::to_string(bar.node(4, j)) + " 1 0\n";
  }
  const double dt = 15.0;
  const DeckRun r = run(bar.deck("TENSION_PLANA", MATERIAL, "", walls, [&](double, double) { return dt; }));
  ASSERT_EQ(r.status, 0);
  for (const auto& p : point_stresses(r.sal, 2)) {
    EXPECT_NEAR(p[2], -E * ALPHA * dt, 1e-9);
    EXPECT_NEAR(p[3], 0.0, 1e-9);
    EXPECT_NEAR(p[4], 0.0, 1e-9);
  }
  const auto reactions = test::reactions(r.sal);
  double left = 0.0, right = 0.0;
  for (int j = 0; j <= 2; ++j) {
    left += reactions.at(bar.node(0, j))[0];
    right += reactions.at(bar.node(4, j))[0];
  }
  EXPECT_NEAR(left, E * ALPHA * dt * 1.0 * 0.5, 1e-9);
  EXPECT_NEAR(right, -E * ALPHA * dt * 1.0 * 0.5, 1e-9);
  // The same bar without the parameter carries no load at all.
  const DeckRun cold = run(bar.deck("TENSION_PLANA", "YOUNG=1000 POISSON=0.25 ESPESOR=0.5", "", walls,
                                [&](double, double) { return dt; }));
  ASSERT_EQ(cold.status, 0);
  for (const auto& p : point_stresses(cold.sal, 2))
    for (int k = 2; k < 5; ++k) EXPECT_NEAR(p[k], 0.0, 1e-12);
}

// T = T0 + g y across a free beam of depth H: the thermal strain alpha T is linear, so
// compatible; the beam stays stress-free and bends to the curvature alpha g. On simple
// supports at (0, 0) and (L, 0): u = alpha (T0 x + g x y) - b y, v = alpha (T0 y +
// g y^2 / 2 - g x^2 / 2) + b x, with b = alpha g L / 2 (QU9 holds the field exactly).
TEST(ThermalStrainLoads, LinearTemperatureAcrossTheDepthBendsAFreeBeam) {
  const Rectangle beam{8.0, 1.0, 4, 1};
  const double t0 = 5.0, g = 40.0;
  const std::string supports = "1 1 1\n" + std::to_string(beam.node(8, 0)) + " 0 1\n";
  const DeckRun r = run(beam.deck("TENSION_PLANA", MATERIAL, "", supports,
                              [&](double, double y) { return t0 + g * y; }));
  ASSERT_EQ(r.status, 0);
  const double b = ALPHA * g * beam.L / 2;
  const auto u = test::displacements(r.sal);
  for (int j = 0; j <= 2; ++j)
    for (int i = 0; i < beam.columns(); ++i) {
      const double x = beam.x(i), y = beam.y(j);
      EXPECT_NEAR(u.at(beam.node(i, j))[0], ALPHA * (t0 * x + g * x * y) - b * y, 1e-11) << i << ' ' << j;
      EXPECT_NEAR(u.at(beam.node(i, j))[1], ALPHA * (t0 * y + g * y * y / 2 - g * x * x / 2) + b * x, 1e-11)
          << i << ' ' << j;
    }
  // Mid-span deflection of the axis: alpha g L^2 / 8.
  EXPECT_NEAR(u.at(beam.node(4, 0))[1], ALPHA * g * beam.L * beam.L / 8, 1e-11);
  for (const auto& p : point_stresses(r.sal, 2))
    for (int k = 2; k < 5; ++k) EXPECT_NEAR(p[k], 0.0, 1e-8);
}

class ThermalStrainCards : public test::LoadTest {};

// The coefficient is echoed and joins the property list only when the card gives it; a
// temperature load needs nodal temperatures, a continuum set, and one card per set.
TEST_F(ThermalStrainCards, ParameterAndStops) {
  using test::geometry;
  using test::header;
  using test::section;
  using test::set_cards;
  const std::string mesh = geometry("1 1 1 2 3 4\n1 0 0\n2 1 0\n3 1 1\n4 0 1\n") + test::FREE;
  const auto deck = [&](const std::string& material, const std::string& loads) {
    return header(4, 1) + set_cards(1, "TENSION_PLANA", "QU4", 1, material) + mesh + loads;
  };
  const std::string temperatures = "FUERZAS\nTEMPERATURA\n1 1\n2 1\n3 1\n4 1\nFIN_TEMPERATURA\n";
  read(deck("YOUNG=1000", "FUERZAS\n" + section(1, "")));
  EXPECT_EQ(SETS(1).nprops, 5);
  EXPECT_EQ(listing().find("DILATACION"), std::string::npos);
  reset_active_set();
  reset_run_state();
  read(deck("YOUNG=1000 DILATACION=2E-5", temperatures + section(1, "TEMPERATURA\n")));
  EXPECT_EQ(SETS(1).nprops, 6);
  EXPECT_NE(listing().find(" COEF. DE DILATACION TERMICA"), std::string::npos);
  // With nu = 0 the side pulls with E alpha dT t, half to each node of the side.
  EXPECT_NEAR(load(1, 1, 1), -2e-5 * 1000 * 1.0 / 2, 1e-15);
  EXPECT_NEAR(load(1, 1, 6), 2e-5 * 1000 * 1.0 / 2, 1e-15);
  reset_active_set();
  reset_run_state();
  EXPECT_EQ(stop_of(deck("YOUNG=1000 DILATACION=2E-5", temperatures + section(1, "TEMPERATURA\nTEMPERATURA\n"))),
            "FUETEM: TEMPERATURA REPETIDA EN EL SET");
  reset_active_set();
  reset_run_state();
  const std::string plate = header(3, 1) + set_cards(1, "PLACA", "DKT", 1, "YOUNG=1000 DILATACION=1E-5") +
                            geometry("1 1 1 2 3\n1 0 0\n2 1 0\n3 0 1\n") + test::FREE;
  EXPECT_EQ(stop_of(plate + "FUERZAS\nTEMPERATURA\n1 1\nFIN_TEMPERATURA\n" + section(1, "TEMPERATURA\n")),
            "FUETEM: TIPO DE PROBLEMA NO DISPONIBLE");
}

}  // namespace
}  // namespace vortan
