#include <gtest/gtest.h>

#include <cstdlib>

#include "../test_support.h"
#include "input/card_reader.h"
#include "input/problem.h"
#include "analyses/driver_phases.h"
#include "run/errstp.h"

namespace vortan {
namespace {

using V = ProblemVariant;

const std::string BASIC = "NUMERO_DE_NODOS NPNODS=12\nNUMERO_DE_SETS NSETS=2\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n";
// The nonlinear reader takes no post-processing card.
const std::string NONLINEAR = "NUMERO_DE_NODOS NPNODS=12\nNUMERO_DE_SETS NSETS=2\nSOLVER LDLT\n";

class HeaderCardsTest : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }
  // Reads the header of a deck made of the given cards and a set card after them.
  void header(const std::string& cards, V variant = V::static_linear) {
    test::write_file(dir.file("H.vtn"), cards + "SET_NUMERO 1\n");
    test::open_deck(dir.file("H.vtn"));
    read_header_cards(variant);
  }
  std::string stop(const std::string& cards, V variant = V::static_linear) {
    try {
      header(cards, variant);
    } catch (const FatalStop& stop) {
      return stop.message();
    }
    return "no stop";
  }
  std::string listing() {
    flush_units();
    return test::read_file(dir.file("H.sal"));
  }
  test::TempDir dir;
};

TEST_F(HeaderCardsTest, CountsAndSwitchesOfTheStaticReader) {
  header("NUMERO_DE_NODOS NPNODS=3 NRADS=1 MAPOY=2 MRESO=1 MGDLL=4\nNUMERODESETS\n"
         "SOLVER ELIMINACION_GAUSS\nPOSTPROCESO KELDAR\nERROR ACTIVO\nFUERZAS_INTERNAS NO ELEMENTO\n"
         "IMPRESIONES_GLOBALES SALIDA_TENSIONES NO_ACTIVO\nNUMERO_DE_NODOS NPNODS=53\n");
  EXPECT_EQ(PROBLEM.NPNODS, 53);  // the last card wins
  EXPECT_EQ(PROBLEM.NRADS, 0);
  EXPECT_EQ(PROBLEM.MAPOY, 0);
  EXPECT_EQ(PROBLEM.NSETS, 1);  // the card without its parameter gives one set
  EXPECT_EQ(PROBLEM.solver, 1);
  EXPECT_EQ(PROBLEM.postprocessor, 1);
  EXPECT_EQ(PROBLEM.error_estimation, 1);
  EXPECT_EQ(PROBLEM.internal_forces, 0);
  EXPECT_EQ(PROBLEM.internal_forces_per_element, 1);
  EXPECT_EQ(PROBLEM.print[PRINT_STRESSES], 0);
  EXPECT_EQ(PROBLEM.print[PRINT_DATA], 1);
  EXPECT_TRUE(CARD.word_is(1, "SETNUMERO"));  // the card that ended the header stays
  EXPECT_NE(listing().find(" NUMERO DE PUNTOS NODALES"), std::string::npos);
}

TEST_F(HeaderCardsTest, SolverOptions) {
  struct Case {
    const char* card;
    int solver, preconditioned, cg;
  };
  const Case cases[] = {
      {"SOLVER GRADIENTE_CONJUGADO SPARCE GMRES\n", 5, 0, 0},
      {"SOLVER GRADIENTE_CONJUGADO SPARCE\n", 5, 0, 1},
      {"SOLVER GRADIENTE_CONJUGADO SPARCE PRECONDICIONADO\n", 5, 1, 1},
      {"SOLVER GRADIENTE_CONJUGADO SPARCE PRECONDICIONADO GMRES\n", 5, 1, 0},
      {"SOLVER GRADIENTE_CONJUGADO SPARCE GMRES PRECONDICIONADO\n", 5, 1, 0},
      {"SOLVER GRADIENTE_CONJUGADO PRECONDICIONADO\n", 3, 1, 1},
      {"SOLVER GRADIENTECONJUGADO\n", 3, 0, 1},
      {"SOLVER LDLT\n", 2, 0, 1},
  };
  for (const Case& c : cases) {
    header(BASIC + c.card);
    EXPECT_EQ(PROBLEM.solver, c.solver) << c.card;
    EXPECT_EQ(PROBLEM.preconditioned, c.preconditioned) << c.card;
    EXPECT_EQ(PROBLEM.conjugate_gradient, c.cg) << c.card;
  }
  header(BASIC + "SOLVER GRADIENTECONJUGADO SPARCE GMRES\n", V::static_general);
  EXPECT_EQ(PROBLEM.solver, 3);  // the sparse options belong to the static linear reader
  header("NUMERODENODOS NPNODS=1\nNUMERODESETS\nSOLVER INTEGRACION_EN_EL_SUBESPACIO\nPOSTPROCESO X\n"
         "NUMERO_DE_AUTOVALORES\n",
         V::eigen);
  EXPECT_EQ(PROBLEM.solver, 4);
  EXPECT_EQ(PROBLEM.postprocessor, 1);
  EXPECT_EQ(PROBLEM.NUMFR, 1);  // the card without its parameter asks for one
  const char* const eigen_solvers[][2] = {{"ITERACION_INVERSA", "1"}, {"BUSQUEDA_DETERMINANTE", "2"}, {"VON_MISES", "3"}};
  for (const auto& [word, code] : eigen_solvers) {
    header(std::string("NUMERODENODOS NPNODS=1\nNUMERODESETS\nNUMERODEAUTOVALORES NUMFR=7\nSOLVER ") + word + "\n",
           V::eigen);
    EXPECT_EQ(PROBLEM.solver, std::atoi(code)) << word;
    EXPECT_EQ(PROBLEM.NUMFR, 7);
  }
}

TEST_F(HeaderCardsTest, MandatoryCardsAndWrongWords) {
  EXPECT_EQ(stop("NUMERO_DE_NODOS NPNODS=12\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"),
            "INPEST: NUMERO_SETS ES OBLIGATORIO");
  EXPECT_EQ(stop("NUMERO_DE_SETS\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"),
            "INPEST: NPNODS PTS NODALES ES OBLIGATORI");  // cut at 40
  EXPECT_EQ(stop("NUMERO_DE_SETS\nNUMERODENODOS NPNODS=2\nPOSTPROCESO FEMVIEW\n"),
            "INPEST: SOLVER ES OBLIGATORIO");
  EXPECT_EQ(stop("NUMERO_DE_SETS\nNUMERODENODOS NPNODS=2\nSOLVER LDLT\n"),
            "INPEST: POSTPROCESO ES OBLIGATORIO");
  EXPECT_EQ(stop("NUMERO_DE_SETS\nNUMERODENODOS NPNODS=2\n", V::implicit_dynamics), "no stop");
  EXPECT_EQ(stop("NUMERODESETS\n", V::eigen), "INPFREC: NPNODS PTS NODALES ES OBLIGATOR");
  EXPECT_EQ(stop("SOLVER LU\n"), "INPEST: SOLVER NO IMPLEMENTADO");
  EXPECT_EQ(stop("SOLVER LU\n", V::eigen), "INPFREC: SOLVER NO IMPLEMENTADO");
  EXPECT_EQ(stop("POSTPROCESO GID\n"), "INPEST: POSTRPOCESO NO IMPLEMENTADO");
  EXPECT_EQ(stop("ERROR QUIZAS\n"), "INPEST: ERROR SOLO ES ACTIVO O NO_ACTIVO");
  EXPECT_EQ(stop("12 13\n"), "INPEST: TARJETA EQUIVOCADA EN INPEST");
  EXPECT_EQ(stop("12 13\n", V::eigen), "INPFREC: TARJETA EQUIVOCADA EN INPFREC");
  // Without a number of modes the eigenvalue methods would have nothing to stop at.
  EXPECT_EQ(stop("NUMERODESETS\nNUMERODENODOS NPNODS=2\nSOLVER VONMISES\n", V::eigen),
            "INPFREC: NUMFR DEBE SER MAYOR QUE CERO");
  EXPECT_EQ(stop("NUMERODESETS\nNUMERODENODOS NPNODS=2\nSOLVER VONMISES\nNUMERODEAUTOVALORES NUMFR=0\n", V::eigen),
            "INPFREC: NUMFR DEBE SER MAYOR QUE CERO");
  EXPECT_EQ(stop("NUMERODESETS\nNUMERODENODOS NPNODS=2\nNUMERODEAUTOVALORES\n", V::eigen),
            "INPFREC: SOLVER ES OBLIGATORIO");
  EXPECT_EQ(stop("IMPRESIONESGLOBALES SALIDADATOS TALVEZ\n"), "INPEST: ACTIVACION DESCONOCIDA");
}

TEST_F(HeaderCardsTest, CardsOutsideAVariantEndItsHeader) {
  header(BASIC + "TITULO no es del lector estatico\nSOLVER ELIMINACIONGAUSS\n");
  EXPECT_TRUE(CARD.word_is(1, "TITULO"));
  EXPECT_EQ(PROBLEM.solver, 2);
  header(BASIC + "IMPRESIONESGLOBALES SALIDAS_RARAS ACTIVO\n");
  EXPECT_TRUE(CARD.word_is(1, "IMPRESIONESGLOBALES"));
  header(NONLINEAR + "IMPRESIONESGLOBALES SALIDATENSIONES NOACTIVO\n", V::nonlinear);
  EXPECT_TRUE(CARD.word_is(2, "SALIDATENSIONES"));
  EXPECT_EQ(PROBLEM.print[PRINT_STRESSES], 1);
}

TEST_F(HeaderCardsTest, NonlinearAlgorithmCodesAreClamped) {
  const std::pair<const char*, int> cases[] = {
      {"TIPODEALGORITMO RECALCULACADA 20\n", 10}, {"TIPODEALGORITMO RECALCULACADA -5\n", 1},
      {"TIPODEALGORITMO RECALCULACADA 3.7\n", 5}, {"TIPODEALGORITMO RECALCULASIEMPRE\n", 2},
      {"TIPODEALGORITMO INICIAL\n", 1}};
  for (const auto& [card, code] : cases) {
    header(NONLINEAR + card, V::nonlinear);
    EXPECT_EQ(PROBLEM.stiffness_update, code) << card;
  }
  header(NONLINEAR + "PARA_PLOTEAR_DESPLAZAMIENTOS NODO=7\n", V::nonlinear);
  EXPECT_EQ(PROBLEM.plot_node, 7);
  EXPECT_EQ(PROBLEM.plot_direction, 1);
}

TEST_F(HeaderCardsTest, DynamicsConstantsAndTheirSinglePrecisionDefaults) {
  header("NUMERODENODOS NPNODS=4\nNUMERODESETS\nTIEMPOS_Y_CONSTANTES DTIME=0.01\n"
         "INDICADORES_DE_LECTURA IFUNC=1\nGENERAL NOLINEAL\n",
         V::explicit_dynamics);
  EXPECT_EQ(PROBLEM.TOUTD, 9.999999747378752e-05);
  EXPECT_EQ(PROBLEM.OMEGA, 9.999999747378752e-05);
  EXPECT_EQ(PROBLEM.DTIME, 0.01);
  EXPECT_EQ(PROBLEM.ENDTM, 10.0);
  EXPECT_EQ(PROBLEM.AALFA, 1.0);
  EXPECT_EQ(PROBLEM.KSTEP, 100);
  EXPECT_EQ(PROBLEM.IFUNC, 1);
  EXPECT_NE(listing().find("WARNING: SE USARA GENERAL: LINEAL"), std::string::npos);
  header("NUMERODENODOS NPNODS=4\nNUMERODESETS\nTIEMPOS_Y_CONSTANTES\nINDICADORES_DE_LECTURA\n",
         V::implicit_dynamics);
  EXPECT_EQ(PROBLEM.AALFA, 0.0);  // explicit dynamics only
  EXPECT_EQ(PROBLEM.KSTEP, 0);
}

}  // namespace
}  // namespace vortan
