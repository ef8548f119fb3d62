// Beam finite elements (LI2, LI3) run end to end against beam theory with shear
// deformation (the section's shear stiffness is E b h / (2 + 2 nu), without a shear
// factor): cantilevers and clamped beams under point and line loads, thick and
// slender, straight and inclined; the stop of an element without length.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "listing_tables.h"

namespace vortan {
namespace {

using test::displacements;
using test::reactions;

constexpr double E = 1000.0, NU = 0.25, B = 0.1, L = 1.0;
double EI(double h) { return E * B * h * h * h / 12.0; }
double GA(double h) { return E * B * h / (2.0 + 2.0 * NU); }
double printed(double value) { return 5e-6 * std::fabs(value) + 1e-12; }

struct Beam {
  std::string element = "LI3";
  int n = 4;                // elements
  double h = 0.2;           // section height
  double angle = 0.0;       // degrees from x
  bool clamped_end = false; // the far end clamped too
  bool line_load = false;   // q = 1 downwards along the beam (normal to it when inclined)
  int per() const { return element == "LI3" ? 2 : 1; }
  int nodes() const { return per() * n + 1; }
  std::string text() const {
    const double c = std::cos(angle * M_PI / 180), s = std::sin(angle * M_PI / 180);
    std::string d = "VORTAN\nANALISIS ESTATICO\nTITULO VIGA\nGENERAL LINEAL\nMATERIAL LINEAL\nNUMERO_DE_NODOS NPNODS=" +
                    std::to_string(nodes()) + "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO KELDAR\n"
                    "SET_NUMERO 1\nTIPO ELEMENTO_FINITO_VIGA\nELEMENTO " + element + " NELEM=" + std::to_string(n) +
                    "\nMATERIAL YOUNG=1000.0 POISSON=0.25 ANCHO=0.1 ALTO=" + std::to_string(h) + "\nFIN_SET\nGEOMETRIA\n";
    for (int e = 0; e < n; ++e) {
      d += std::to_string(e + 1) + " 1";
      for (int k = 0; k <= per(); ++k) d += " " + std::to_string(per() * e + 1 + k);
      d += "\n";
    }
    for (int k = 0; k < nodes(); ++k) {
      const double x = L * k / (nodes() - 1);
      char line[100];
      std::snprintf(line, sizeof line, "%d %.17g %.17g\n", k + 1, x * c, x * s);
      d += line;
    }
    d += "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n1 1 1 1\n";
    if (clamped_end) d += std::to_string(nodes()) + " 1 1 1\n";
    d += "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS\nSET_NUMERO 1\nCARGAS\n";
    if (line_load) {
      d += "CARGAS_DE_LINEA\n";
      for (int e = 1; e <= n; ++e) d += std::to_string(e) + " -1.0\n";
      return d + "FIN_CARGAS_DE_LINEA\nKELDAR VIGA\n";
    }
    char load[100];  // a unit load normal to the beam at its free end
    std::snprintf(load, sizeof load, "PUNTUALES\n%d %.17g %.17g 0.0\nFIN_PUNTUALES\n", nodes(), s, -c);
    return d + load + "FIN_FUERZAS\nKELDAR VIGA\n";
  }
};

std::string run(const test::TempDir& dir, const Beam& beam) {
  int status = 0;
  const std::string sal = test::run_deck_text(dir, "viga", beam.text(), &status);
  EXPECT_EQ(status, 0);
  return sal;
}

// Deflection normal to the beam (downwards when horizontal) at a node.
double deflection(const std::string& sal, const Beam& beam, int node) {
  const std::vector<double> u = displacements(sal).at(node);
  const double c = std::cos(beam.angle * M_PI / 180), s = std::sin(beam.angle * M_PI / 180);
  return -(-s * u[0] + c * u[1]);
}

// Cantilever with a unit end load: PL^3/(3EI) + PL/(GA) = 5.125 (h = 0.2) or
// 40002.5 (h = 0.01, within 1e-4 of the bending value 40000). The three-node element
// gives it at every mesh and the moment -P (L - x) at its points; the two-node
// element converges to it with the error P L^3 / (12 EI n^2).
TEST(BeamElementDecks, CantileverUnderAnEndLoad) {
  test::TempDir dir;
  for (double h : {0.2, 0.01}) {
    const double timoshenko = L * L * L / (3 * EI(h)) + L / GA(h);
    for (int n : {1, 2, 4}) {
      Beam beam;
      beam.n = n;
      beam.h = h;
      const std::string sal = run(dir, beam);
      EXPECT_NEAR(deflection(sal, beam, beam.nodes()), timoshenko, printed(timoshenko)) << h << " " << n;
      for (const auto& e : test::gauss_stresses(sal, 1))
        for (const auto& p : e.points) {
          EXPECT_NEAR(p[4], -(L - p[0]), 1e-4) << e.element;  // M
          EXPECT_NEAR(p[3], -1.0, 1e-4) << e.element;         // Q
        }
    }
    EXPECT_NEAR(timoshenko, L * L * L / (3 * EI(h)), h < 0.1 ? 1e-4 * timoshenko : 0.03 * timoshenko);
    double previous = 0.0;
    for (int n : {4, 8, 16}) {
      Beam beam;
      beam.element = "LI2";
      beam.n = n;
      beam.h = h;
      const double error = timoshenko - deflection(run(dir, beam), beam, beam.nodes());
      EXPECT_NEAR(error, L * L * L / (12 * EI(h) * n * n), printed(timoshenko)) << h << " " << n;
      if (previous != 0.0) {
        EXPECT_NEAR(previous / error, 4.0, 0.01);
      }
      previous = error;
    }
  }
}

// Clamped at both ends under a line load q = 1: mid-span deflection
// q L^4 / (384 EI) + q L^2 / (8 GA), end moments q L^2 / 12, and the moment
// q (6 L x - 6 x^2 - L^2) / 12 at the points of the three-node element; the two-node
// element converges to them.
TEST(BeamElementDecks, ClampedBeamUnderALineLoad) {
  test::TempDir dir;
  const double h = 0.2;
  const double middle = L * L * L * L / (384 * EI(h)) + L * L / (8 * GA(h));
  for (int n : {2, 4}) {
    Beam beam;
    beam.n = n;
    beam.clamped_end = beam.line_load = true;
    const std::string sal = run(dir, beam);
    EXPECT_NEAR(deflection(sal, beam, (beam.nodes() + 1) / 2), middle, printed(middle)) << n;
    EXPECT_NEAR(reactions(sal).at(1)[2], L * L / 12, printed(L * L / 12)) << n;
    EXPECT_NEAR(reactions(sal).at(1)[1], L / 2, printed(L / 2)) << n;
    for (const auto& e : test::gauss_stresses(sal, 1))
      for (const auto& p : e.points) EXPECT_NEAR(p[4], (6 * p[0] - 6 * p[0] * p[0] - 1) / 12, 2e-5) << e.element;
  }
  double previous = 0.0;
  for (int n : {4, 8, 16}) {
    Beam beam;
    beam.element = "LI2";
    beam.n = n;
    beam.clamped_end = beam.line_load = true;
    const double error = middle - deflection(run(dir, beam), beam, (beam.nodes() + 1) / 2);
    EXPECT_GT(error, 0.0);
    if (previous != 0.0) {
      EXPECT_NEAR(previous / error, 4.0, 0.1) << n;
    }
    previous = error;
  }
  EXPECT_LT(previous, 0.015 * middle);  // 16 elements: 1.1 %
}

// The same cantilever turned by 30 degrees, loaded normal to itself, deflects by the
// same amount normal to itself; its line load acts normal to it as well.
TEST(BeamElementDecks, InclinedBeamsDeflectAsHorizontalOnes) {
  test::TempDir dir;
  for (bool line_load : {false, true}) {
    Beam beam;
    beam.angle = 30.0;
    beam.line_load = line_load;
    const std::string sal = run(dir, beam);
    const double h = beam.h;
    const double expected = line_load ? L * L * L * L / (8 * EI(h)) + L * L / (2 * GA(h))
                                      : L * L * L / (3 * EI(h)) + L / GA(h);
    EXPECT_NEAR(deflection(sal, beam, beam.nodes()), expected, printed(expected)) << line_load;
    const std::vector<double> tip = displacements(sal).at(beam.nodes());
    EXPECT_NEAR(std::cos(M_PI / 6) * tip[0] + std::sin(M_PI / 6) * tip[1], 0.0, 1e-5) << line_load;
  }
}

// A beam of two LI3 elements on a pin and a roller turned by 30 degrees, loaded by 12
// at mid-span: the roller pushes along its normal with 6 / cos 30, the pin takes
// 6 tan 30 horizontally, and the roller's displacement along its normal is nil.
TEST(BeamElementDecks, InclinedRoller) {
  test::TempDir dir;
  Beam beam;
  beam.n = 2;
  std::string text = beam.text();
  text.replace(text.find("NUMERO_DE_NODOS NPNODS=5"), 24, "NUMERO_DE_NODOS NPNODS=5 MAPOY=1");
  text.replace(text.find("1 1 1 1\nFIN_COND"), 16, "1 1 1 0\n5 0 1 0\nFIN_COND");
  text.replace(text.find("FUERZAS\nSET"), 8, "APOYOS_INCLINADOS\n5 30.0\nFIN_APOYOS_INCLINADOS\nFUERZAS\n");
  text.replace(text.find("PUNTUALES\n5 "), std::string::npos, "PUNTUALES\n3 0.0 -12.0 0.0\nFIN_PUNTUALES\nFIN_FUERZAS\nKELDAR VIGA\n");
  int status = 0;
  const std::string sal = test::run_deck_text(dir, "viga", text, &status);
  ASSERT_EQ(status, 0);
  const auto r = reactions(sal);
  EXPECT_NEAR(r.at(5)[1], 6.0 / std::cos(M_PI / 6), printed(6.0 / std::cos(M_PI / 6)));
  EXPECT_NEAR(r.at(1)[0], 6.0 * std::tan(M_PI / 6), printed(6.0 * std::tan(M_PI / 6)));
  EXPECT_NEAR(r.at(1)[1], 6.0, printed(6.0));
  EXPECT_EQ(displacements(sal).at(5)[1], 0.0);
}

// An element whose nodes coincide has no tangent: the console names it and the run
// stops. A line-load card for an element outside the set stops the reader.
TEST(BeamElementDecks, DegenerateElementsAndWrongLineLoadsStop) {
  test::TempDir dir;
  Beam beam;
  beam.n = 1;
  beam.element = "LI2";
  std::string text = beam.text();
  text.replace(text.find("2 1 0\n"), 6, "2 0 0\n");
  test::write_file(dir.file("viga.vtn"), text);
  std::string console;
  EXPECT_NE(test::run_program(dir, "viga.vtn", &console), 0);
  EXPECT_NE(console.find(" AREA CERO O NEGATIVA "), std::string::npos);
  EXPECT_NE(console.find(" ELEMENTO NUMER       1"), std::string::npos);
  EXPECT_NE(console.find("BVIGAS:ERROR AREA CERO O NEGATIVA"), std::string::npos);
  beam.line_load = true;
  text = beam.text();
  text.replace(text.find("1 -1.0\nFIN_CARGAS"), 7, "2 -1.0\n");
  int status = 0;
  const std::string sal = test::run_deck_text(dir, "viga", text, &status);
  EXPECT_NE(status, 0);
  EXPECT_NE(sal.find("FUERLIN : ERROR EN NUMERO DE ELMENETO"), std::string::npos);
}

}  // namespace
}  // namespace vortan
