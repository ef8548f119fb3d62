// Shells of revolution on truncated cones (TRC2) run end to end against membrane
// theory: an open and a closed cylinder and a cone under internal pressure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "listing_tables.h"

namespace vortan {
namespace {

using test::displacements;

constexpr double E = 200000.0, NU = 0.3, P = 1.0;

// n elements on the generator from (r1, 0) to (r2, h), thickness t, internal pressure
// P on every element; node 1 held along the axis, or, on an inclined support turned
// along the generator, held along it.
std::string shell(int n, double r1, double r2, double h, double t, bool along_generator,
                  const std::string& top_load = "") {
  std::string d = "VORTAN\nANALISIS ESTATICO\nTITULO LAMINA\nGENERAL LINEAL\nMATERIAL LINEAL\n"
                  "NUMERO_DE_NODOS NPNODS=" + std::to_string(n + 1) + (along_generator ? " MAPOY=1" : "") +
                  "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\nSET_NUMERO 1\n"
                  "TIPO LAMINA_DE_REVOLUCION\nELEMENTO TRC2 NELEM=" + std::to_string(n) +
                  "\nMATERIAL YOUNG=200000.0 POISSON=0.3 ESPESOR=" + std::to_string(t) + "\nFIN_SET\nGEOMETRIA\n";
  for (int e = 1; e <= n; ++e) d += std::to_string(e) + " 1 " + std::to_string(e) + " " + std::to_string(e + 1) + "\n";
  for (int k = 0; k <= n; ++k) {
    char line[100];
    std::snprintf(line, sizeof line, "%d %.17g %.17g\n", k + 1, r1 + (r2 - r1) * k / n, h * k / n);
    d += line;
  }
  d += "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  d += along_generator ? "1 1 0 0\n" : "1 0 1 0\n";
  d += "FIN_CONDICIONES_DE_CONTORNO\n";
  if (along_generator) {
    char support[80];
    std::snprintf(support, sizeof support, "APOYOS_INCLINADOS\n1 %.17g\nFIN_APOYOS_INCLINADOS\n",
                  std::atan2(h, r2 - r1) * 180 / M_PI);
    d += support;
  }
  d += "FUERZAS\nSET_NUMERO 1\nCARGAS\n" + top_load + "CARGAS_DE_LINEA\n";
  // Elements run upwards: their left is the axis, so the internal pressure is -P.
  for (int e = 1; e <= n; ++e) d += std::to_string(e) + " -1.0\n";
  return d + "FIN_CARGAS_DE_LINEA\nFEMV LAMINA\n";
}

std::map<int, std::vector<double>> smoothed(const std::string& sal) {
  return test::node_table(sal, "          TENSIONES ALISADAS NODALES EN SET NUMERO:    1");
}

// A cylinder of radius R = 1 and thickness t = 0.02: hoop force P R, no meridional
// force or moment, radial displacement P R^2 / (E t) and axial strain -nu times the
// hoop strain; closed by an axial ring load P R / 2 at its top, the meridional force
// is P R / 2 and the radial displacement P R^2 (1 - nu / 2) / (E t).
TEST(ShellOfRevolutionDecks, CylinderUnderInternalPressure) {
  test::TempDir dir;
  const double t = 0.02, hoop_strain = P / (E * t);
  for (bool closed : {false, true}) {
    int status = 0;
    const std::string sal = test::run_deck_text(
        dir, "cilindro", shell(10, 1.0, 1.0, 1.0, t, false, closed ? "PUNTUALES\n11 0.0 0.5 0.0\nFIN_PUNTUALES\n" : ""),
        &status);
    ASSERT_EQ(status, 0);
    const double u = closed ? hoop_strain * (1 - NU / 2) : hoop_strain;
    const double axial = closed ? 0.5 / (E * t) * (1 - 2 * NU) : -NU * hoop_strain;
    const auto d = displacements(sal);
    for (int node = 1; node <= 11; ++node) {
      EXPECT_NEAR(d.at(node)[0], u, 5e-6 * u) << node;
      EXPECT_NEAR(d.at(node)[1], axial * (node - 1) / 10.0, 5e-6 * std::fabs(axial) + 1e-12) << node;
    }
    for (const auto& [node, s] : smoothed(sal)) {
      if (node == 0) continue;
      EXPECT_NEAR(s[0], closed ? 0.5 : 0.0, 1e-7) << node;
      EXPECT_NEAR(s[1], P * 1.0, 1e-7) << node;
      EXPECT_NEAR(s[2], 0.0, 1e-9) << node;
    }
  }
}

// A cone from r = 1 to r = 2 whose generator makes 60 degrees with the radius (sine
// s = 0.866), thickness 0.01, free at its top and held along its generator at its
// foot: membrane theory gives the hoop force P r / s and the meridional force
// -P (r2^2 - r^2) / (2 r s); the support takes the axial resultant of the pressure,
// P pi (r2^2 - r1^2), along the generator. Held only along the axis instead, the foot
// bends: far from it the membrane forces still hold.
TEST(ShellOfRevolutionDecks, ConeUnderInternalPressure) {
  test::TempDir dir;
  const double s = std::sqrt(3.0) / 2, n = 40;
  for (bool along_generator : {true, false}) {
    int status = 0;
    const std::string sal =
        test::run_deck_text(dir, "cono", shell(40, 1.0, 2.0, std::sqrt(3.0), 0.01, along_generator), &status);
    ASSERT_EQ(status, 0);
    int checked = 0;
    for (const auto& [node, f] : smoothed(sal)) {
      if (node < 2 || node > n) continue;  // the ends average one element only
      const double r = 1.0 + (node - 1) / n;
      if (!along_generator && r < 1.5) continue;  // the foot's bending
      EXPECT_NEAR(f[1], P * r / s, 2e-3 * r / s) << node << " " << along_generator;
      EXPECT_NEAR(f[0], -P * (4 - r * r) / (2 * r * s), 2e-3) << node << " " << along_generator;
      EXPECT_NEAR(f[2], 0.0, 1e-4) << node << " " << along_generator;
      ++checked;
    }
    EXPECT_GE(checked, along_generator ? 39 : 20);
    if (along_generator) {
      const auto reaction = test::reactions(sal).at(1);
      EXPECT_NEAR(reaction[0], P * M_PI * 3 / s, 1e-5 * P * M_PI * 3 / s);
      EXPECT_NEAR(reaction[1], 0.0, 1e-9);
    }
  }
}

}  // namespace
}  // namespace vortan
