// A flat-shell strip stiffened by a member connected to it ("INDCONE="): the member's
// axis lies off the shell's middle surface and the two act as one T-section.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "listing_tables.h"

namespace vortan {
namespace {

constexpr double LENGTH = 10.0, WIDTH = 1.0, THICK = 0.1, E = 1.0e4;
constexpr double BEAM_AREA = 0.05, BEAM_INERTIA = 0.1 * 0.5 * 0.5 * 0.5 / 12.0;
constexpr int NX = 20, NB = 2;

// A cantilever strip in z = 0 (x along the span, y across, CLLL 20 x 2, no Poisson
// effect), clamped at x = 0, with a space-frame member on every segment of its centre
// line; a load of 1 along -z at the centre of the free end. `connection` is the
// member set's material tail.
std::string stiffened_deck(const std::string& connection, int& tip, bool member_load = false) {
  auto id = [](int i, int j) { return i * (NB + 1) + j + 1; };
  std::ostringstream d;
  d.precision(15);
  d << "VORTAN\nANALISIS ESTATICO\nTITULO LAMINA RIGIDIZADA\nGENERAL LINEAL\nMATERIAL LINEAL\n"
    << "NUMERO_DE_NODOS NPNODS=" << (NX + 1) * (NB + 1) << "\nNUMERO_DE_SETS NSETS=2\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
    << "IMPRESIONES_GLOBALES SALIDA_TENSIONES NO_ACTIVO\n"
    << "SET_NUMERO 1\nTIPO LAMINA_PLANA\nELEMENTO CLLL NELEM=" << NX * NB << "\nMATERIAL YOUNG=" << E
    << " POISSON=0.0 ESPESOR=" << THICK << "\nSALIDA_TENSIONES_GAUSS NO_ACTIVO\nFIN_SET\n"
    << "SET_NUMERO 2\nTIPO VIGA COMBINADO DIMENSION=3 NELEM=" << NX << "\nMATERIAL YOUNG=" << E
    << " AREA=" << BEAM_AREA << " XINER=" << BEAM_INERTIA << " YINER=" << BEAM_INERTIA
    << " XJNER=0.002 GCORT=5000.0" << connection << "\nFIN_SET\nGEOMETRIA\n";
  int e = 0;
  for (int i = 0; i < NX; ++i)
    for (int j = 0; j < NB; ++j)
      d << ++e << " 1 " << id(i, j) << " " << id(i + 1, j) << " " << id(i + 1, j + 1) << " " << id(i, j + 1) << "\n";
  for (int i = 0; i < NX; ++i) d << ++e << " 2 " << id(i, NB / 2) << " " << id(i + 1, NB / 2) << "\n";
  for (int i = 0; i <= NX; ++i)
    for (int j = 0; j <= NB; ++j)
      d << id(i, j) << " " << i * LENGTH / NX << " " << -0.5 * WIDTH + j * WIDTH / NB << " 0\n";
  d << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  for (int j = 0; j <= NB; ++j) d << id(0, j) << " 1 1 1 1 1 1\n";
  tip = id(NX, NB / 2);
  d << "FIN_CONDICIONES_DE_CONTORNO\nCOPLANARIDAD\nFUERZAS\nSET_NUMERO 1\nCARGAS DEL SET 1\n";
  if (!member_load) d << "PUNTUALES\n" << tip << " 0 0 -1 0 0 0\nFIN_PUNTUALES\n";
  d << "FIN_FUERZAS\nSET_NUMERO 2\nCARGAS DEL SET 2\n";
  // A pull of 1 along the span at the free end of the last member, on its axis.
  if (member_load)
    d << "FUERZAS_VIGAS\nPUNTUALES\n" << NX << " " << LENGTH / NX << " 1 0 0\nFIN_PUNTUALES\nFIN_FUERZAS_VIGAS\n";
  d << "FIN_FUERZAS\nFEMV RIGIDIZADA\n";
  return d.str();
}

// Member on the middle surface (no connection): the strip and the member bend about
// their own axes, EI = E (b t^3/12 + I). Connected with its centroid 0.25 above the
// shell's upper face (ESPVIGA) and the face 0.05 above the middle surface (ESPLAM), the
// section is a T: the neutral axis at 0.1 above the middle surface and
// I = b t^3/12 + b t 0.1^2 + I + A 0.2^2, 3.7 times stiffer. Tip deflections
// P L^3 / (3 E I) within 2 % (the shell's shear and the flange's shear lag).
TEST(StiffenedShell, ConnectedMemberMakesATSection) {
  const double flange = WIDTH * THICK * THICK * THICK / 12.0;
  const double separate = flange + BEAM_INERTIA;
  const double composite = flange + WIDTH * THICK * 0.01 + BEAM_INERTIA + BEAM_AREA * 0.04;
  const double expected[2] = {-LENGTH * LENGTH * LENGTH / (3.0 * E * separate),
                              -LENGTH * LENGTH * LENGTH / (3.0 * E * composite)};
  const std::string tails[2] = {" INDCONE=0", " INDCONE=1 ESPVIGA=0.25 ESPLAM=0.05"};
  double w[2] = {};
  for (int k = 0; k < 2; ++k) {
    test::TempDir dir;
    int tip = 0, status = -1;
    const std::string sal = test::run_deck_text(dir, "rigidizada", stiffened_deck(tails[k], tip), &status);
    ASSERT_EQ(status, 0) << k;
    w[k] = test::displacements(sal).at(tip)[2];
    EXPECT_NEAR(w[k], expected[k], 0.02 * std::fabs(expected[k])) << k;
    if (k == 1) {
      EXPECT_NE(sal.find("ESPESOR VIGA (CG-SUP. LAMINA)"), std::string::npos);
    }
  }
  EXPECT_GT(w[1] / w[0], 0.0);
  EXPECT_LT(w[1] / w[0], 0.3);
}

// A member load reaches the nodes through the offset: a pull of 1 on the stiffener's
// axis at the free end, 0.2 above the T-section's neutral axis, bends the cantilever
// by the moment 0.2 (tip deflection -0.2 L^2 / (2 E I)); applied at the nodes it would
// act 0.1 below the axis and lift the tip.
TEST(StiffenedShell, MemberLoadActsOnTheOffsetAxis) {
  const double flange = WIDTH * THICK * THICK * THICK / 12.0;
  const double composite = flange + WIDTH * THICK * 0.01 + BEAM_INERTIA + BEAM_AREA * 0.04;
  const double expected = -0.2 * LENGTH * LENGTH / (2.0 * E * composite);
  test::TempDir dir;
  int tip = 0, status = -1;
  const std::string sal =
      test::run_deck_text(dir, "tirada", stiffened_deck(" INDCONE=1 ESPVIGA=0.25 ESPLAM=0.05", tip, true), &status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(test::displacements(sal).at(tip)[2], expected, 0.03 * std::fabs(expected));
}

// Space bars carry no rotations to hold an offset end: a bar set connected to a shell
// stops when its members are built.
TEST(StiffenedShell, ConnectedBarsStop) {
  test::TempDir dir;
  int status = -1;
  const std::string sal = test::run_deck_text(dir, "barras", R"(VORTAN
ANALISIS ESTATICO
TITULO BARRAS CONECTADAS
GENERAL LINEAL
MATERIAL LINEAL
NUMERO_DE_NODOS NPNODS=2
NUMERO_DE_SETS NSETS=1
SOLVER LDLT
POSTPROCESO FEMVIEW
SET_NUMERO 1
TIPO VIGA ARMADURA DIMENSION=3 NELEM=1
MATERIAL YOUNG=1.0 AREA=1.0 INDCONE=1 ESPVIGA=0.2 ESPLAM=0.1
FIN_SET
GEOMETRIA
1 1 1 2
1 0 0 0
2 1 0 0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1 1
2 0 1 1
FIN_CONDICIONES_DE_CONTORNO
FUERZAS
SET_NUMERO 1
CARGAS DEL SET
PUNTUALES
2 1 0 0
FIN_PUNTUALES
FIN_FUERZAS
FEMV BARRAS
)", &status);
  EXPECT_NE(status, 0);
  EXPECT_NE(sal.find("ELETR3: VIGA EXCENTRICA SIN GIROS"), std::string::npos);
}

}  // namespace
}  // namespace vortan
