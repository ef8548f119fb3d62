// The load block of heat conduction: nodal heat, internal generation, side fluxes and
// the ambient heat of the convection boundaries in the element heat loads, the nodal
// table of a set, and the stops of a wrong block.
#include <string>

#include "load_fixture.h"
#include "loads/thermal_loads.h"

namespace vortan {
namespace {

using test::FREE;
using test::geometry;

class ThermalLoads : public test::LoadTest {
 protected:
  void read_thermal(const std::string& deck) {
    test::ensure_work_array();
    test::write_file(dir.file("L.vtn"), deck);
    test::open_deck(dir.file("L.vtn"));
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    reset_active_set();
    INPEST(ProblemVariant::thermal);
    read_thermal_loads();
  }
  std::string thermal_stop_of(const std::string& deck) {
    try {
      read_thermal(deck);
    } catch (const FatalStop& stop) {
      return stop.message();
    }
    return "no stop";
  }
};

std::string thermal_header(int nodes, int sets, int nfron) {
  return "NUMERO_DE_NODOS NPNODS=" + std::to_string(nodes) + "\nNUMERO_DE_SETS NSETS=" + std::to_string(sets) +
         "\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\nCONDICIONES_DE_CONTORNO NFRON=" + std::to_string(nfron) + "\n";
}

// Two unit squares side by side, thickness 0.5, internal heat 4; the side x = 2 of
// element 2 convects to an ambient 10 with h = 3.
std::string two_squares(const std::string& loads) {
  return thermal_header(6, 1, 1) +
         "SET_NUMERO 1\nTIPO DOSDIMENSIONES\nELEMENTO QU4 NELEM=2\n"
         "MATERIAL CONDX=1 CONDY=1 CONDZ=1 ESPESOR=0.5 CALESP=4\nFIN_SET\n" +
         geometry("1 1 1 2 5 4\n2 1 2 3 6 5\n1 0 0\n2 1 0\n3 2 0\n4 0 1\n5 1 1\n6 2 1\n") + FREE +
         "CONVECCION_RADIACION\n1 2 1 2 2 3 6 10 3\nFIN_CONVECCION_RADIACION\n" + loads;
}

// Heat 2 at node 1; generation Q t A / 4 = 0.5 at every element node; a flux of 6 on the
// side x = 0 (length 1, thickness 0.5) gives 1.5 to nodes 1 and 4; the convection side
// gives h T L t / 2 = 7.5 to nodes 3 and 6.
TEST_F(ThermalLoads, EveryHeatEndsInTheElementRows) {
  read_thermal(two_squares("CARGAS\nSET_NUMERO 1\nFUERZAS\nPUNTUALES\n1 2.0\nFIN_PUNTUALES\nGENERACION_INTERNA\n"
                           "DISTRIBUIDAS\nLADOS NODGE=2\n1 4 1\n6 6\nFIN_DISTRIBUIDAS\nFIN_FUERZAS\n"));
  const double first[4] = {4.0, 0.5, 0.5, 2.0};   // nodes 1 2 5 4
  const double second[4] = {0.5, 8.0, 8.0, 0.5};  // nodes 2 3 6 5
  for (int k = 1; k <= 4; ++k) {
    EXPECT_NEAR(load(1, 1, k), first[k - 1], 1e-12) << k;
    EXPECT_NEAR(load(1, 2, k), second[k - 1], 1e-6) << k;
  }
  const std::string sal = listing();
  EXPECT_NE(sal.find(" CARGAS PUNTUALES\n NODO    CALOR\n"), std::string::npos);
  // The set's nodal table: every node of the problem, the heats of its elements summed.
  EXPECT_NE(sal.find(" FUERZAS TOTALES NODALES EQUIVALENTES ELEMENTALES\n"
                     "         1       0.4000E+01\n         2       0.1000E+01\n         3       0.8000E+01\n"),
            std::string::npos);
}

// A bar of two LI3 elements of length 1 and cross-section 2: a flux 5 on its end node
// 1 puts in 5 x 2; a flux 3 along element 1 is per unit length: 1/6, 2/3, 1/6 of 3.
TEST_F(ThermalLoads, FluxesOnTheEndAndAlongABar) {
  const std::string deck = thermal_header(5, 1, 0) +
                           "SET_NUMERO 1\nTIPO UNADIMENSION\nELEMENTO LI3 NELEM=2\n"
                           "MATERIAL CONDX=1 CONDY=0 CONDZ=0 ESPESOR=2\nFIN_SET\n" +
                           geometry("1 1 1 2 3\n2 1 3 4 5\n1 0\n2 0.5\n3 1\n4 1.5\n5 2\n") + FREE +
                           "CONVECCION_RADIACION\nFIN_CONVECCION_RADIACION\n"
                           "CARGAS\nSET_NUMERO 1\nFUERZAS\nDISTRIBUIDAS\nEXTREMO NODGE=1\n1 1\n5\n"
                           "FIN_DISTRIBUIDAS\nDISTRIBUIDAS\nTRAMO NODGE=3\n1 1 2 3\n3 3 3\nFIN_DISTRIBUIDAS\n"
                           "FIN_FUERZAS\n";
  read_thermal(deck);
  EXPECT_NEAR(load(1, 1, 1), 10.0 + 0.5, 1e-6);
  EXPECT_NEAR(load(1, 1, 2), 2.0, 1e-6);
  EXPECT_NEAR(load(1, 1, 3), 0.5, 1e-6);
  EXPECT_EQ(load(1, 2, 1), 0.0);
}

TEST_F(ThermalLoads, WrongBlocksStop) {
  const std::pair<std::string, std::string> cases[] = {
      {"FUERZAS\n", "CARGAS : TARJETA EQUIVOCADA EN FUERZAS"},
      {"CARGAS\nFUERZAS\n", "CARGAS: ESPERO LEER SET_NUMERO"},
      {"CARGAS\nSET_NUMERO 2\n", "CARGAS: NUMERO DE SET EQUIVOCADO"},
      {"CARGAS\nSET_NUMERO 1\nCARGAS DEL SET\n", "FUERZAS : TARJETA EQUIVOCADA EN FUERZAS"},
      {"CARGAS\nSET_NUMERO 1\nFUERZAS\nPESO_PROPIO\n", "FUERZAS : TARJETA EQUIVOCADA EN FUERZAS"},
      {"CARGAS\nSET_NUMERO 1\nFUERZAS\nPUNTUALES\n9 1.0\n", "FUE001 : TARJETA EQUIVOCADA EN PASO 2"},
      {"CARGAS\nSET_NUMERO 1\nFUERZAS\nDISTRIBUIDAS\nLADOS NODGE=2\n1 4 3\n1 1\n",
       "FUEREP: NODO DE LADO FUERA DEL ELEMENTO"},
      {"CARGAS\nSET_NUMERO 1\nFUERZAS\nDISTRIBUIDAS\nLADOS NODGE=2\n1 4 1\n1 1 1\n", "FUEREP : PRESIONES SOBRE LADO"},
      {"CARGAS\nSET_NUMERO 1\nFUERZAS\nDISTRIBUIDAS\nLADOS NODGE=1\n", "FUEREP: NODGE EQUIVOCADO"},
  };
  for (const auto& [block, message] : cases) {
    EXPECT_EQ(thermal_stop_of(two_squares(block)), message) << block;
    reset_active_set();
    reset_run_state();
  }
}

}  // namespace
}  // namespace vortan
