#include "input/set_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../test_support.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan {
namespace {

// One set block: its "SETNUMERO" card, the body, the end card.
std::string block(int set, const std::string& body, const std::string& end = "FIN_SET") {
  return "SET_NUMERO " + std::to_string(set) + "\n" + body + end + "\n";
}

const std::string PLANE_MATERIAL = "MATERIAL YOUNG=2.1E5 POISSON=0.3 DENSIDAD=7.8 ESPESOR=0.5\n";
const std::string THERMAL_MATERIAL = "MATERIAL CONDX=1 CONDY=1 CONDZ=1\n";

// The fatal stop shows the first 40 characters of a message; some of the documented
// ones are longer.
std::string as_shown(const std::string& message) { return message.substr(0, 40); }

std::vector<int> kinds_of(const int (&pattern)[DOF_KINDS]) {
  std::vector<int> kinds;
  for (int k = 0; k < DOF_KINDS; ++k)
    if (pattern[k] == 1) kinds.push_back(k + 1);
  return kinds;
}

class SetReaderTest : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }

  // Opens the deck and leaves its first card current, as the header reader does.
  void deck(const std::string& text, int nsets = 1, int print_data = 0) {
    test::write_file(dir.file("SETS.vtn"), text);
    test::open_deck(dir.file("SETS.vtn"));
    test::ensure_work_array();
    PROBLEM.NSETS = nsets;
    PROBLEM.print[PRINT_DATA] = print_data;
    LISTEN("INPSET");
  }
  // Reads a deck with the given reader and returns its stop message.
  std::string stop_of(const std::string& text, void (*reader)() = INPSET, int nsets = 1) {
    deck(text, nsets);
    try {
      reader();
    } catch (const FatalStop& stop) {
      return stop.message();
    }
    return "no stop";
  }
  std::vector<std::string> listing() {
    flush_units();
    return test::lines_of(test::read_file(dir.file("SETS.sal")));
  }
  bool listing_has(const std::string& text) {
    const auto lines = listing();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
  }
  double prop(int set, int position) { return WORK.real_at(SETS(set).PROPS + 2 * (position - 1)); }
  test::TempDir dir;
};

TEST_F(SetReaderTest, PlaneStressQuadrilateralOfEightNodes) {
  deck(block(1, "TIPO TENSIONPLANA\nELEMENTO QU8 NELEM=12\n" + PLANE_MATERIAL));
  INPSET();
  const ElementSet& s = SETS(1);
  EXPECT_EQ(s.problem_type, 1);
  EXPECT_EQ(s.element_type, 4);
  EXPECT_EQ(s.NNODE, 8);
  EXPECT_EQ(s.NGAUS, 9);
  EXPECT_EQ(s.NELEM, 12);
  EXPECT_EQ(s.NDOFN, 2);
  EXPECT_EQ(s.NSTRE, 3);
  EXPECT_EQ(s.NSTR1, 4);
  EXPECT_EQ(s.NSTNL, 0);
  EXPECT_EQ(s.dimension, 2);
  EXPECT_EQ(kinds_of(s.pattern), (std::vector<int>{1, 2}));
  EXPECT_EQ(PROBLEM.NDIME, 2);
  EXPECT_EQ(PROBLEM.NDOFG, 2);
  // Five properties in input order (the specific weight last), then CARGA of
  // 2 dof x 8 nodes x 12 elements.
  EXPECT_EQ(s.nprops, 5);
  EXPECT_EQ(s.PROPS, 1);
  EXPECT_DOUBLE_EQ(prop(1, 1), 2.1e5);
  EXPECT_DOUBLE_EQ(prop(1, 2), 0.3);
  EXPECT_DOUBLE_EQ(prop(1, 3), 7.8);
  EXPECT_DOUBLE_EQ(prop(1, 4), 0.5);
  EXPECT_DOUBLE_EQ(prop(1, 5), 0.0);
  EXPECT_EQ(s.CARGA, s.PROPS + 2 * 5);
  EXPECT_EQ(RUN.NXTPOS, s.CARGA + 2 * 192);
  EXPECT_EQ(s.CARGI, 0);
  EXPECT_TRUE(CARD.word_is(1, "FINSET"));  // the end card stays current
}

TEST_F(SetReaderTest, ValidCombinationsGiveTheirCounts) {
  struct Case {
    std::string type, element;
    int nnode, ngaus, dofn, nstre, nstr1, dimension;
    std::vector<int> kinds;
  };
  const Case cases[] = {
      {"SOLIDODEREVOLUCION", "QU4", 4, 4, 2, 4, 4, 2, {1, 3}},
      {"DEFORMACIONPLANA", "TR6", 6, 3, 2, 3, 4, 2, {1, 2}},
      {"SOLIDO", "HE20", 20, 27, 3, 6, 6, 3, {1, 2, 3}},
      {"SOLIDO", "PI15 NGAUS=3", 15, 21, 3, 6, 6, 3, {1, 2, 3}},  // the wedge rule has 21
      {"PLACA", "TLCL", 6, 3, 3, 5, 5, 2, {3, 4, 5}},
      {"PLACA", "DKT", 3, 3, 3, 3, 3, 2, {3, 4, 5}},
      {"PLACA", "QU8", 8, 9, 3, 5, 5, 2, {3, 4, 5}},
      {"LAMINADEREVOLUCION", "TRC2", 2, 1, 3, 5, 5, 2, {1, 3, 4}},
      {"LAMINAPLANA", "CLLL", 4, 4, 6, 8, 8, 3, {1, 2, 3, 4, 5, 6}},
      {"LAMINAPLANA LOCALES", "DKT", 3, 3, 6, 6, 6, 3, {1, 2, 3, 4, 5, 6}},
      {"ELEMENTOFINITOVIGA", "LI3", 3, 2, 3, 3, 3, 2, {1, 2, 4}},
      {"VIGA ARMADURA", "", 2, 2, 2, 3, 3, 2, {1, 2}},
      {"VIGA ARMADURA DIMENSION=3", "", 2, 2, 3, 3, 3, 3, {1, 2, 3}},
      {"VIGA COMBINADO", "", 2, 2, 3, 3, 3, 2, {1, 2, 4}},
  };
  for (const Case& c : cases) {
    const std::string element = c.element.empty() ? "" : "ELEMENTO " + c.element + " NELEM=2\n";
    deck(block(1, "TIPO " + c.type + "\n" + element + "MATERIAL YOUNG=1000 POISSON=0.2\n"));
    INPSET();
    const ElementSet& s = SETS(1);
    const std::string what = c.type + " " + c.element;
    EXPECT_EQ(s.NNODE, c.nnode) << what;
    EXPECT_EQ(s.NGAUS, c.ngaus) << what;
    EXPECT_EQ(s.NDOFN, c.dofn) << what;
    EXPECT_EQ(s.NSTRE, c.nstre) << what;
    EXPECT_EQ(s.NSTR1, c.nstr1) << what;
    EXPECT_EQ(s.dimension, c.dimension) << what;
    EXPECT_EQ(kinds_of(s.pattern), c.kinds) << what;
    EXPECT_EQ(s.local_axes, c.type == "LAMINAPLANA LOCALES" ? 1 : 0) << what;
    reset_run_state();
  }
}

TEST_F(SetReaderTest, RejectsWhatTheTableDoesNotHold) {
  const std::string material = "MATERIAL YOUNG=1000\n";
  const std::pair<std::string, std::string> cases[] = {
      {"TIPO SOLIDO\nELEMENTO QU4 NELEM=1\n", "INPSET: ELEMENTO INCOMPATIBLE CON ANALISIS"},
      {"TIPO TENSIONPLANA\nELEMENTO HE8 NELEM=1\n", "INPSET: ELEMENTO INCOMPATIBLE CON ANALISIS"},
      {"TIPO PLACA\nELEMENTO LI2 NELEM=1\n", "INPSET: ELEMENTO INCOMPATIBLE CON ANALISIS"},
      {"TIPO LAMINADEREVOLUCION\nELEMENTO QU4 NELEM=1\n",
       "INPSET: ELEMENTO INCOMPATIBLE CON ANALISIS"},
      {"TIPO LAMINAPLANA\nELEMENTO LI2 NELEM=1\n", "INPSET: COMBINACION NO IMPLEMENTADA"},
      {"TIPO VIGA ARMADURA DIMENSION=4\n", "INPSET: COMBINACION NO IMPLEMENTADA"},
      {"ELEMENTO QU4 NELEM=1\n", "INPSET: COMBINACION NO IMPLEMENTADA"},  // no "TIPO" card
      {"TIPO ELEMENTOFINITOVIGA\nELEMENTO QU4 NELEM=1\n", "INPSET: ESTA PARIDA NO EXISTE"},
      {"TIPO CASCARA\n", "INPSET: TIPO DE ANALISIS NO IMPLEMENTADO"},
      {"ELEMENTO QU5 NELEM=1\n", "INPSET: TIPO DE ELEMENTO NO CONOCIDO"},
      {"TIPO VIGA PORTICO\n", "INPSET: NO ESTA BIEN DEFINIDO ELEMENTO VIGA"},
      {"MATRIZK CINTA\n", "INPEST: ALMACENAMIENTO NO CONOCIDO"},
      {"SALIDADATOS SI\n", "INPEST: ACTIVACION DESCONOCIDA"},
      {"1 2 3\n", "INPSET: TARJETA EQUIVOCADA EN INPSET"},
  };
  for (const auto& [body, message] : cases)
    EXPECT_EQ(stop_of(block(1, body + material)), as_shown(message)) << body;
}

TEST_F(SetReaderTest, ChecksTheSetBlockFrame) {
  const std::string body = "TIPO TENSIONPLANA\nELEMENTO QU4 NELEM=1\n" + PLANE_MATERIAL;
  EXPECT_EQ(stop_of(block(1, body, "FIN_SETS")), "INPSET: NO EXISTE TARJETA FIN_SET");
  EXPECT_EQ(stop_of(block(1, "TIPO TENSIONPLANA\n" + PLANE_MATERIAL)),
            "INPSET: NO EXISTE TARJETA DE ELEMENTO");
  EXPECT_EQ(stop_of(block(1, "TIPO TENSIONPLANA\nELEMENTO QU4 NELEM=1\n")),
            "INPSET: NO EXISTE TARJETA DE MATERIAL");
  EXPECT_EQ(stop_of("SETS 1\n" + body + "FIN_SET\n"), "INPSET: ESPERO LEER SET_NUMERO");
  EXPECT_EQ(stop_of(block(0, body)), "INPSET: NUMERO DE SET EQUIVOCADO");
  EXPECT_EQ(stop_of(block(2, body)), "INPSET: NUMERO DE SET EQUIVOCADO");  // NSETS = 1
  EXPECT_EQ(stop_of("SET_NUMERO 1E30\n" + body + "FIN_SET\n"), "INPSET: NUMERO DE SET EQUIVOCADO");
  EXPECT_EQ(stop_of(block(1001, body), INPSET, 2000), "INPSET: NUMERO DE SET EQUIVOCADO");
  EXPECT_EQ(stop_of(block(1, body) + block(1, body), INPSET, 2), "INPSET: NUMERO DE SET REPETIDO");

  EXPECT_EQ(stop_of(block(1, "TIPO TENSIONPLANA\nELEMENTO QU4\n" + PLANE_MATERIAL)),
            "GETINT: NO ENCUENTRA PARAMETRO INISP.");
  const auto lines = listing();
  const auto error = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("    *** ERROR: NELEM = ", 0) == 0;
  });
  ASSERT_NE(error, lines.end());
  EXPECT_EQ(error[0], "    *** ERROR: NELEM =  NUMERO DE ELEMENTOS EN EL SET    ");
  EXPECT_EQ(error[1], "               ES UN PARAMETRO NECESARIO, ESPECIFIQUELO !");
}

TEST_F(SetReaderTest, FrameInThreeDimensions) {
  deck(block(1, "TIPO VIGA RETICULA DIMENSION=3 NELEM=4\n"
                "MATERIAL YOUNG=2E8 AREA=0.01 XINER=1E-4 YINER=2E-4 XJNER=3E-4 GCORT=8E7 "
                "INDCONE=1 ESPVIGA=0.2 ESPLAM=0.1 PESOVOL=77\n"));
  INPSET();
  const ElementSet& s = SETS(1);
  EXPECT_EQ(s.problem_type, 7);
  EXPECT_EQ(s.beam_subtype, 2);
  EXPECT_EQ(s.beam_dimension, 3);
  EXPECT_EQ(s.NNODE, 3);  // two member nodes and the reference node
  EXPECT_EQ(s.NDOFN, 6);
  EXPECT_EQ(s.NGAUS, 2);
  EXPECT_EQ(s.NELEM, 4);
  EXPECT_EQ(s.dimension, 3);
  EXPECT_EQ(kinds_of(s.pattern), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(PROBLEM.NDIME, 3);
  EXPECT_EQ(PROBLEM.NDOFG, 6);
  EXPECT_EQ(s.nprops, 10);
  const double expected[10] = {2e8, 0.01, 1e-4, 2e-4, 3e-4, 8e7, 1, 0.2, 0.1, 0};
  for (int i = 1; i <= 10; ++i) EXPECT_DOUBLE_EQ(prop(1, i), expected[i - 1]) << i;
  // CARGA of a frame set is doubled: 2 x 6 dof x 3 nodes x 4 members.
  EXPECT_EQ(RUN.NXTPOS, s.CARGA + 2 * 144);
}

TEST_F(SetReaderTest, SetsInAnyOrderUniteTheirKinds) {
  deck(block(2, "TIPO PLACA\nELEMENTO CLLL NELEM=3\nMATERIAL YOUNG=3E4 POISSON=0.2 ESPESOR=0.2\n") +
           block(1, "TIPO TENSIONPLANA\nELEMENTO QU4 NELEM=5\n" + PLANE_MATERIAL),
       2);
  INPSET();
  EXPECT_EQ(SETS(1).problem_type, 1);
  EXPECT_EQ(SETS(2).problem_type, 5);
  EXPECT_EQ(SETS(2).NELEM, 3);
  EXPECT_EQ(PROBLEM.NDOFG, 5);
  EXPECT_EQ(kinds_of(PROBLEM.union_pattern), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(PROBLEM.NDIME, 2);
  EXPECT_GT(SETS(1).PROPS, SETS(2).CARGA);  // arrays are created in reading order
}

TEST_F(SetReaderTest, CarriesTypeOverButNotElementMaterialOrDimension) {
  const std::string plane = "TIPO TENSIONPLANA NOLINEAL\nELEMENTO QU4 NELEM=2\n" + PLANE_MATERIAL;
  // The second set inherits the type and its nonlinearity; it gets four load arrays.
  deck(block(1, plane) + block(2, "ELEMENTO TR3 NELEM=7\n" + PLANE_MATERIAL), 2);
  INPSET();
  EXPECT_EQ(SETS(2).problem_type, 1);
  EXPECT_EQ(SETS(2).nonlinear, 1);
  EXPECT_EQ(SETS(2).NSTNL, 4);
  const ElementSet& s = SETS(2);
  const std::int32_t loads = 2 * (2 * 3 * 7);  // words per load array
  EXPECT_EQ(s.CARGI, s.CARGA + loads);
  EXPECT_EQ(s.CARG1, s.CARGI + loads);
  EXPECT_EQ(s.CARGT, s.CARG1 + loads);
  EXPECT_EQ(RUN.NXTPOS, s.CARGT + loads);
  reset_run_state();

  EXPECT_EQ(stop_of(block(1, plane) + block(2, PLANE_MATERIAL), INPSET, 2),
            "INPSET: NO EXISTE TARJETA DE ELEMENTO");
  EXPECT_EQ(stop_of(block(1, plane) + block(2, "ELEMENTO QU4 NELEM=1\n"), INPSET, 2),
            "INPSET: NO EXISTE TARJETA DE MATERIAL");
  // A three-dimensional frame before a beam-element set does not make it 3-D.
  deck(block(1, "TIPO VIGA COMBINADO DIMENSION=3\nMATERIAL YOUNG=1\n") +
           block(2, "TIPO ELEMENTOFINITOVIGA\nELEMENTO LI2 NELEM=2\n"
                    "MATERIAL YOUNG=1 ANCHO=0.3 ALTO=0.5\n"),
       2);
  INPSET();
  EXPECT_EQ(SETS(2).dimension, 2);
  EXPECT_DOUBLE_EQ(prop(2, 4), 0.3);
  EXPECT_DOUBLE_EQ(prop(2, 5), 0.5);
  EXPECT_EQ(SETS(2).beam_subtype, 0);
}

// The ninth property, read from "ANGULO=" and not used, keeps the layer's density
// ("DENSIDAD=", 0 without it; echoed only when given).
TEST_F(SetReaderTest, LaminateLayersAndTheDoubledAngle) {
  deck(block(1, "TIPO PLACA LAMINADOS=2\nELEMENTO DKT NELEM=3\nMATERIAL\n"
                "LAMINADO=2 YOUN1=20 POIS1=0.25 ESPESOR=0.1 PESOVOL=3 YOUN2=10 POIS2=0.2 "
                "CORT1=5 CORT2=4 ANGULO=90 DENSIDAD=7.5\n"
                "LAMINADO=1 YOUN1=30 POIS1=0.3 ANGULO=45\n"));
  INPSET();
  const ElementSet& s = SETS(1);
  EXPECT_EQ(s.layers, 2);
  EXPECT_EQ(s.nprops, 10);
  EXPECT_EQ(s.CARGA, s.PROPS + 2 * 20);
  const double layer1[10] = {30, 0.3, 1.0, 0, 0, 0, 0, 1.0, 0, 45};
  const double layer2[10] = {20, 0.25, 0.1, 3, 10, 0.2, 5, 4, 7.5, 90};
  for (int i = 1; i <= 10; ++i) {
    EXPECT_DOUBLE_EQ(prop(1, i), layer1[i - 1]) << i;
    EXPECT_DOUBLE_EQ(prop(1, 10 + i), layer2[i - 1]) << i;
  }
  // Both reads of "ANGULO=" are echoed, the second under its own name.
  const auto lines = listing();
  const auto shear = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("    CORTANTE EN DIRECCION 3", 0) == 0;
  });
  ASSERT_NE(shear, lines.end());
  EXPECT_NE(shear[0].find("90.00000 (ANGUL)"), std::string::npos) << shear[0];
  EXPECT_EQ(shear[1].rfind("    ANGULO ", 0), 0u) << shear[1];
  EXPECT_NE(shear[1].find("90.00000 (ANGUL)"), std::string::npos) << shear[1];
  EXPECT_EQ(shear[2].rfind("    DENSIDAD ", 0), 0u) << shear[2];
  EXPECT_NE(shear[2].find("7.50000 (DENSI)"), std::string::npos) << shear[2];
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line.rfind("    DENSIDAD ", 0) == 0; }),
            1);
  reset_run_state();

  const std::string head = "TIPO PLACA LAMINADOS=2\nELEMENTO DKT NELEM=3\nMATERIAL\n";
  for (const std::string layer : {"0", "3", "-1"})
    EXPECT_EQ(stop_of(block(1, head + "LAMINADO=1 YOUN1=1\nLAMINADO=" + layer + " YOUN1=1\n")),
              "INPSET: NUMERO ERRORNEO DE LAMINADOS")
        << layer;
  EXPECT_EQ(stop_of(block(1, "TIPO PLACA LAMINADOS=11\n")), "INPSET: NUMERO ERRORNEO DE LAMINADOS");
  EXPECT_EQ(stop_of(block(1, head + "LAMINADO=1 YOUN1=1 POIS1=2 POIS2=0.5\nLAMINADO=2 YOUN1=1\n")),
            "INPSET: MODULO DE POISSON FUERA DE RANGO");
}

TEST_F(SetReaderTest, StorageAndPrintCardsHoldForOneSet) {
  const std::string body = "TIPO TENSIONPLANA\nELEMENTO QU4 NELEM=1\n" + PLANE_MATERIAL;
  deck(block(1, body + "MATRIZK MEMORIA\nTENSIONES DISCO\nGRADIENTE_DESPLAZAMIENTO RECALCULO\n"
                       "MATRIZ_MASA DISCO\nSALIDATENSIONES NOACTIVO\n"
                       "SALIDA_FUERZAS_INTERNAS NOACTIVO\n") +
           block(2, body),
       2);
  INPSET();
  EXPECT_EQ(std::string(SETS(1).storage, RECORD_KINDS), "RRRMDRRRRDR");
  EXPECT_EQ(std::vector<int>(SETS(1).print, SETS(1).print + 5), (std::vector<int>{1, 0, 1, 1, 0}));
  // Every set block starts again from the defaults.
  EXPECT_EQ(std::string(SETS(2).storage, RECORD_KINDS), "RRRRRRRRRRM");
  EXPECT_EQ(std::vector<int>(SETS(2).print, SETS(2).print + 5), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(SetReaderTest, RejectsUnsoundPoissonRatiosAndRules) {
  const auto with = [](const std::string& type, const std::string& element, const std::string& nu) {
    return block(1, "TIPO " + type + "\nELEMENTO " + element + "\nMATERIAL YOUNG=1 POISSON=" + nu +
                        "\n");
  };
  const std::string poisson = "INPSET: MODULO DE POISSON FUERA DE RANGO";
  const std::string rule = "INPSET: NUMERO DE PUNTOS GAUSS ERRONEO";
  const std::string count = "INPSET: NUMERO DE ELEMENTOS ERRONEO";
  const std::pair<std::string, std::string> cases[] = {
      {with("DEFORMACIONPLANA", "QU4 NELEM=1", "0.5"), poisson},
      {with("DEFORMACIONPLANA", "QU4 NELEM=1", "0.49"), "no stop"},
      {with("SOLIDODEREVOLUCION", "QU4 NELEM=1", "0.5"), poisson},
      {with("SOLIDO", "HE8 NELEM=1", "-1"), poisson},
      {with("SOLIDO", "HE8 NELEM=1", "-0.99"), "no stop"},
      {with("TENSIONPLANA", "QU4 NELEM=1", "0.5"), "no stop"},
      {with("TENSIONPLANA", "QU4 NELEM=1", "1"), poisson},
      {with("TENSIONPLANA", "QU4 NELEM=1", "-1"), poisson},
      {with("PLACA", "CLLL NELEM=1", "1"), poisson},
      {with("TENSIONPLANA", "QU8 NGAUS=5 NELEM=1", "0.2"), rule},
      {with("TENSIONPLANA", "TR3 NGAUS=4 NELEM=1", "0.2"), rule},
      {with("TENSIONPLANA", "QU4 NGAUS=9 NELEM=1", "0.2"), "no stop"},
      {with("SOLIDO", "TE10 NGAUS=8 NELEM=1", "0.2"), rule},
      {with("SOLIDO", "PI15 NGAUS=0 NELEM=1", "0.2"), "no stop"},
      {with("TENSIONPLANA", "QU4 NELEM=0", "0.2"), count},
      {with("TENSIONPLANA", "QU4 NELEM=-3", "0.2"), count},
      {block(1, "TIPO VIGA ARMADURA NELEM=0\n"), count},
      {with("TENSIONPLANA", "QU8 NELEM=2000000000", "0.2"), "INPSET: NUMERO DE ELEMENTOS EXCESIVO"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(stop_of(text), message) << text;
}

// A modulus or a thickness of zero or below is refused at its "MATERIAL" card (of
// every layer of a laminate); solids and frames read no thickness.
TEST_F(SetReaderTest, RejectsModuliAndThicknessesThatAreNotPositive) {
  const std::string young = "INPSET: MODULO DE YOUNG NO POSITIVO";
  const std::string thickness = "INPSET: ESPESOR NO POSITIVO";
  const std::string plane = "TIPO TENSIONPLANA\nELEMENTO QU4 NELEM=1\n";
  const std::string laminate = "TIPO PLACA LAMINADOS=2\nELEMENTO DKT NELEM=3\nMATERIAL\n";
  const std::pair<std::string, std::string> cases[] = {
      {plane + "MATERIAL YOUNG=-2.1E5 POISSON=0.3\n", young},
      {plane + "MATERIAL YOUNG=0 POISSON=0.3\n", young},
      {plane + "MATERIAL YOUNG=2.1E5 POISSON=0.3 ESPESOR=0\n", thickness},
      {plane + "MATERIAL YOUNG=2.1E5 POISSON=0.3 ESPESOR=-0.5\n", thickness},
      {plane + "MATERIAL YOUNG=2.1E5 POISSON=0.3 ESPESOR=1E-75\n", "no stop"},
      {"TIPO SOLIDODEREVOLUCION\nELEMENTO QU4 NELEM=1\nMATERIAL YOUNG=1 ESPESOR=-1\n", thickness},
      {"TIPO SOLIDO\nELEMENTO HE8 NELEM=1\nMATERIAL YOUNG=1 ESPESOR=-1\n", "no stop"},
      {"TIPO SOLIDO\nELEMENTO HE8 NELEM=1\nMATERIAL YOUNG=-1\n", young},
      {"TIPO VIGA ARMADURA NELEM=1\nMATERIAL YOUNG=-1 AREA=1\n", young},
      {laminate + "LAMINADO=1 YOUN1=10\nLAMINADO=2 YOUN1=20 ESPESOR=0\n", thickness},
      {laminate + "LAMINADO=1 YOUN1=10\nLAMINADO=1 YOUN1=20\n", young},  // layer 2 never given
      {laminate + "LAMINADO=1 YOUN1=10\nLAMINADO=2 YOUN1=20\n", "no stop"},
  };
  for (const auto& [body, message] : cases) EXPECT_EQ(stop_of(block(1, body)), message) << body;
  EXPECT_EQ(stop_of(block(1, "TIPO DOSDIMENSIONES\nELEMENTO QU4 NELEM=1\n"
                                 "MATERIAL CONDX=1 CONDY=1 CONDZ=1 ESPESOR=-2\n"),
                    read_thermal_sets),
            "INPEST: ESPESOR NO POSITIVO");
}

TEST_F(SetReaderTest, ThermalSets) {
  deck("ECHO ON\n" +
           block(1, "TIPO UNADIMENSION\nELEMENTO LI3 NELEM=4\n"
                    "MATERIAL CONDX=5 CONDY=6 CONDZ=7 CONVC=2 CALESP=9\n") +
           block(2, "TIPO TRESDIMENSIONES\nELEMENTO PI15 NELEM=1\n" + THERMAL_MATERIAL) +
           block(3, "TIPO DOSDIMENSIONES\nELEMENTO QU8 NELEM=2\n" + THERMAL_MATERIAL),
       3);
  read_thermal_sets();
  const ElementSet& line = SETS(1);
  EXPECT_EQ(line.problem_type, 1);
  EXPECT_EQ(line.NNODE, 3);
  EXPECT_EQ(line.NGAUS, 2);
  EXPECT_EQ(line.NDOFN, 1);
  EXPECT_EQ(line.NSTRE, 1);
  EXPECT_EQ(line.dimension, 1);
  EXPECT_EQ(line.nprops, 6);
  const double props[6] = {5, 6, 7, 2, 1.0, 9};
  for (int i = 1; i <= 6; ++i) EXPECT_DOUBLE_EQ(prop(1, i), props[i - 1]) << i;
  EXPECT_EQ(SETS(2).NGAUS, 21);  // the wedge's default 7 names its single 21-point rule
  EXPECT_EQ(SETS(2).NSTRE, 3);
  EXPECT_EQ(SETS(3).NSTR1, 2);
  EXPECT_EQ(kinds_of(SETS(3).pattern), (std::vector<int>{1}));
  EXPECT_EQ(PROBLEM.NDOFG, 1);
  EXPECT_EQ(PROBLEM.NDIME, 3);
  EXPECT_TRUE(listing_has(" INPEST <-- TIPO TRESDIMENSIONES"));

  const std::string material = THERMAL_MATERIAL;
  const std::pair<std::string, std::string> cases[] = {
      {"TIPO DOSDIMENSIONES\nELEMENTO HE8 NELEM=1\n", "INPEST: ELEMENTO INCOMPATIBLE CON ANALISIS"},
      {"TIPO UNADIMENSION\nELEMENTO QU4 NELEM=1\n", "INPEST: ELEMENTO INCOMPATIBLE CON ANALISIS"},
      {"ELEMENTO QU4 NELEM=1\n", "INPEST: COMBINACION NO IMPLEMENTADA"},
      {"TIPO DOSDIMENSIONES\nELEMENTO DKT NELEM=1\n", "INPEST: TIPO DE ELEMENTO NO CONOCIDO"},
      {"TIPO TENSIONPLANA\n", "INPEST: TIPO DE ANALISIS NO IMPLEMENTADO"},
      {"TIPO DOSDIMENSIONES\nELEMENTO QU4 NGAUS=3 NELEM=1\n",
       "INPEST: NUMERO DE PUNTOS GAUSS ERRONEO"},
      {"TIPO DOSDIMENSIONES\nELEMENTO QU4 NELEM=1\n" + material + "GRADIENTEDESPLAZAMIE MEMORIA\n",
       "INPEST: NO EXISTE TARJETA FIN_SET"},
  };
  for (const auto& [body, message] : cases)
    EXPECT_EQ(stop_of(block(1, body + material), read_thermal_sets), as_shown(message)) << body;
  EXPECT_EQ(stop_of(block(1, "TIPO DOSDIMENSIONES\nELEMENTO QU4 NELEM=1\nMATERIAL CONDX=1\n"),
                    read_thermal_sets),
            "GETINT: NO ENCUENTRA PARAMETRO INISP.");
  EXPECT_EQ(stop_of(block(3, "TIPO DOSDIMENSIONES\n"), read_thermal_sets),
            "INPEST: NUMERO DE SET EQUIVOCADO");
}

TEST_F(SetReaderTest, ListsTheSetSummaryWhenDataPrintingIsOn) {
  const std::string text =
      block(1, "TIPO TENSIONPLANA\nELEMENTO QU8 NELEM=1\n" + PLANE_MATERIAL + "MATRIZK DISCO\n"
               "MATRIZ_MASA MEMORIA\nSALIDA_TENSIONES_GAUSS NOACTIVO\n");
  deck(text, 1, 1);
  INPSET();
  auto lines = listing();
  const auto heading = std::find(lines.begin(), lines.end(),
                                 "          RESUMEN DE DATOS DEL SET NUMERO    1");
  ASSERT_NE(heading, lines.end());
  EXPECT_EQ(heading[-1], "");
  const auto start = std::find(heading, lines.end(),
                               "               ALMACENAMIENTO DE MATRIZ D ...  RECALCULO");
  ASSERT_NE(start, lines.end());
  EXPECT_EQ(start[-1], "");
  ASSERT_GE(lines.end() - start, 17);
  const std::vector<std::string> summary(start, start + 17);
  const std::vector<std::string> expected = {
      "               ALMACENAMIENTO DE MATRIZ D ...  RECALCULO",
      "               ALMACENAMIENTO DE MATRIZ B ...  RECALCULO",
      "               ALMACENAMIENTO DE MATRIZ DB ..  RECALCULO",
      "               ALMACENAMIENTO DE MATRIZ K ...  DISCO",
      "               ALMACENAMIENTO DE TENSIONES ..  RECALCULO",
      "               ALMACENAMIENTO DE FUERZAS INT.  RECALCULO",
      "               ALMACENAMIENTO DE FUERZAS P.P.  RECALCULO",
      "               ALMACENAMIENTO DE SUAV. TENS..  RECALCULO",
      "               ALMACENAMIENTO DE ERROR.......  RECALCULO",
      "               ALMACENAMIENTO DE MATR. MASA..  MEMORIA",
      "               ALMACENAMIENTO DE GRAD. DESP..  MEMORIA",
      "               IMPRESION DE DATOS ...........  ACTIVO",
      "               IMPRESION DE TENSIONES .......  ACTIVO",
      "               IMPRESION DE TENSIONES GAUSS..  NOACTIVO",
      "               IMPRESION DE ERROR ELEMENTAL..  ACTIVO",
      "               IMPRESION DE FUERZAS INTERNAS.  ACTIVO",
      "               ELEM, CUADRILATERO SERENDIPITO DE 8 NODOS  QU8",
  };
  EXPECT_EQ(summary, expected);
  reset_run_state();

  deck(text, 1, 0);
  INPSET();
  EXPECT_FALSE(listing_has("RESUMEN DE DATOS"));
  EXPECT_FALSE(listing_has("ALMACENAMIENTO DE"));
}

}  // namespace
}  // namespace vortan
