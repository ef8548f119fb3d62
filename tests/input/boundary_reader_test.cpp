#include <vector>

#include "input/boundary_reader.h"
#include "reader_fixture.h"

namespace vortan {
namespace {

const std::string START = "CONDICIONES_DE_CONTORNO\n";
const std::string END = "FIN_CONDICIONES_DE_CONTORNO\n";
const std::string WRONG = "INPCCO: TARJETA EQUIVOCADA EN INPCCO";

// Twelve nodes; two degrees of freedom, or six in the flat-shell problem.
class BoundaryReaderTest : public test::ReaderTest {
 protected:
  void boundary(const std::string& cards, bool flat_shell = false, int print = 1) {
    open(START + cards);
    PROBLEM.NPNODS = 12;
    PROBLEM.NDOFG = flat_shell ? 6 : 2;
    PROBLEM.print[PRINT_DATA] = print;
    if (flat_shell) {
      PROBLEM.flat_shell_set = 1;
      PROBLEM.shell_flags = zeroed_ints(12, "ADRES");
      PROBLEM.shell_vectors = zeroed_reals(3 * 12, "ADRES");
    }
    const int count = (PROBLEM.NDOFG + 1) * 12;
    PROBLEM.boundary_codes = DIREC1(RUN.NXTPOS, RUN.MEMORY, count, "ADRES", INT_WORDS);
    ZEROI(count, WORK.ints(PROBLEM.boundary_codes));
    PROBLEM.boundary_values = DIREC1(RUN.NXTPOS, RUN.MEMORY, count, "ADRES", REAL_WORDS);
    ZEROR(count, WORK.reals(PROBLEM.boundary_values));
  }
  std::string boundary_stop(const std::string& cards, bool flat_shell = false) {
    boundary(cards, flat_shell);
    return stop_of(INPCCO);
  }
  // Column c (1-based) of NODPR and PRESC.
  static std::vector<int> nodpr(int c) {
    const int n = PROBLEM.NDOFG + 1;
    const std::int32_t* column = WORK.ints(PROBLEM.NODPR) + (c - 1) * n;
    return std::vector<int>(column, column + n);
  }
  static std::vector<double> presc(int c) {
    const int n = PROBLEM.NDOFG + 1;
    const double* column = WORK.reals(PROBLEM.PRESC) + (c - 1) * n;
    return std::vector<double>(column, column + n);
  }
  using I = std::vector<int>;
  using R = std::vector<double>;
};

TEST_F(BoundaryReaderTest, SingleNodeCardsWithAndWithoutPrescribedValues) {
  boundary("5 1 0 0.5 0.0\n3 1 0\n" + END);
  INPCCO();
  ASSERT_EQ(PROBLEM.NVFIX, 2);
  EXPECT_EQ(nodpr(1), (I{3, 1, 0}));  // increasing node order
  EXPECT_EQ(presc(1), (R{3, 0.0, 0.0}));
  EXPECT_EQ(nodpr(2), (I{5, 1, 0}));
  EXPECT_EQ(presc(2), (R{5, 0.5, 0.0}));
  const std::string text = listing();
  EXPECT_NE(text.find("     RESUMEN DE LAS CONDICIONES DE CONTORNO :\n"), std::string::npos);
  EXPECT_NE(text.find("            5   1 0  0.500000E+00  0.000000E+00\n"), std::string::npos);
}

TEST_F(BoundaryReaderTest, RangesRepeatsAndTheSingleWordCard) {
  // Nodes 1, 4, 7, 10; node 4 given again; "2 A 1 0" is node 2 with the codes 1 and 0;
  // a huge step must end the range, not wrap around.
  boundary("1 A 10 INC 3 1 1 0.25\n4 0 1 0.0 2.5\n2 A 1 0\n11 A 12 INC 2000000000 0 1\n" + END);
  INPCCO();
  ASSERT_EQ(PROBLEM.NVFIX, 6);
  const int nodes[] = {1, 2, 4, 7, 10, 11};
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(nodpr(c)[0], nodes[c - 1]) << c;
  EXPECT_EQ(nodpr(1), (I{1, 1, 1}));
  EXPECT_EQ(presc(1), (R{1, 0.25, 0.0}));
  EXPECT_EQ(nodpr(2), (I{2, 1, 0}));
  EXPECT_EQ(nodpr(3), (I{4, 0, 1}));
  EXPECT_EQ(presc(3), (R{4, 0.0, 2.5}));
  EXPECT_EQ(nodpr(5), (I{10, 1, 1}));
  EXPECT_EQ(presc(5), (R{10, 0.25, 0.0}));
}

TEST_F(BoundaryReaderTest, NoRestraints) {
  boundary("SIN_RESTRICCIONES\n" + END);
  INPCCO();
  EXPECT_EQ(PROBLEM.NVFIX, 0);
  EXPECT_GT(PROBLEM.NODPR, 0);
  EXPECT_NE(listing().find(" NO SE ESPECIFICAN CONDICIONES DE CONTORNO\n"), std::string::npos);
  EXPECT_EQ(boundary_stop("SIN_RESTRICCIONES\n3 1 0\n" + END), "INPCCO: SE ESPERA FIN DE CONDICIONES");
}

TEST_F(BoundaryReaderTest, AllZeroCodesNeedAFlatShellProblem) {
  EXPECT_EQ(boundary_stop("3 0 0\n" + END), "INPCCO: NO EXISTE PRESCRIPCION");
  boundary("3 0 0 0 0 0 0\n" + END, true);
  INPCCO();
  ASSERT_EQ(PROBLEM.NVFIX, 1);
  EXPECT_EQ(nodpr(1), (I{3, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(PROBLEM.direction_vectors, 0);
}

TEST_F(BoundaryReaderTest, DirectionVectorsOfFlatShellNodes) {
  const std::string card = "5 1 1 1 0 0 0 0 0 0 0 0 0 P 0.0 0.6 0.8\n";
  boundary(card + card + "6 1 1 1 0 0 0 0 0 0 0 0 0\n" + END, true);
  INPCCO();
  EXPECT_EQ(PROBLEM.direction_vectors, 1);  // the node given twice counts once
  EXPECT_EQ(WORK.int_at(PROBLEM.shell_flags + 4), 1);
  EXPECT_EQ(WORK.int_at(PROBLEM.shell_flags + 5), 0);
  const double* v = WORK.reals(PROBLEM.shell_vectors);
  EXPECT_EQ(v[4], 0.0);
  EXPECT_EQ(v[4 + 12], 0.6);
  EXPECT_EQ(v[4 + 24], 0.8);
  EXPECT_EQ(presc(1), (R{5, 0, 0, 0, 0, 0, 0}));  // the components are not prescribed values
  EXPECT_NE(listing().find("NODOS CON COORDENADAS PARTICULARES :"), std::string::npos);
  // Elsewhere on the card the components would be read as prescribed values.
  EXPECT_EQ(boundary_stop("5 1 1 1 0 0 0 P 0.0 0.6 0.8\n" + END, true), "INPCCO: VERIFICAR SINTAXIS");
  EXPECT_EQ(boundary_stop("5 1 1 1 0 0 0 0 0 0 0 0 0 P 0.6\n" + END, true), WRONG);
}

TEST_F(BoundaryReaderTest, WrongCardsStop) {
  open("COORDENADAS\n");
  EXPECT_EQ(stop_of(INPCCO), "INPCCO: SE ESPERAN CONDICIONES DE CONTOR");  // cut to 40
  EXPECT_EQ(boundary_stop("1 A 10 INC 3 PASO 1 1\n" + END), "INPCCO: VERIFICAR SINTAXIS");
  EXPECT_EQ(boundary_stop("1 B 10 INC 3 1 1\n" + END), "INPCCO: COMANDO DESCONOCIDO 1");
  EXPECT_EQ(boundary_stop("1 A 10 PASO 3 1 1\n" + END), "INPCCO: COMANDO DESCONOCIDO 2");
  EXPECT_EQ(boundary_stop("3 1\n" + END), WRONG);
  EXPECT_EQ(boundary_stop("1 A 10 INC 3 1\n" + END), WRONG);
  EXPECT_EQ(boundary_stop("0 1 0\n" + END), "INPCCO: NODO NO EXISTENTE");
  EXPECT_EQ(boundary_stop("13 1 0\n" + END), "INPCCO: NODO NO EXISTENTE");
  EXPECT_EQ(boundary_stop("1 A 13 INC 3 1 1\n" + END), "INPCCO: NODO FINAL NO EXISTENTE");
  EXPECT_EQ(boundary_stop("1 A 10 INC 0 1 1\n" + END), WRONG);
  EXPECT_EQ(boundary_stop("1 A 10 INC -2 1 1\n" + END), WRONG);
  EXPECT_EQ(boundary_stop("10 A 1 INC 3 1 1\n" + END), WRONG);  // would restrain nothing
  // Only 0 and 1 are codes: a 2 would leave its degree of freedom free, and "2 A 9 1"
  // (a range card without its "INC") would take the last node for a code.
  const std::string BAD_CODE = "INPCCO: CODIGO DE RESTRICCION NO VALIDO";
  EXPECT_EQ(boundary_stop("3 2 1\n" + END), BAD_CODE);
  EXPECT_EQ(boundary_stop("3 1 -1\n" + END), BAD_CODE);
  EXPECT_EQ(boundary_stop("3 0.5 1\n" + END), BAD_CODE);
  EXPECT_EQ(boundary_stop("2 A 9 1\n" + END), BAD_CODE);
  EXPECT_EQ(boundary_stop("1 A 10 INC 3 1 2\n" + END), BAD_CODE);
  // Prescribed values must stay below 1e75 in magnitude.
  EXPECT_EQ(boundary_stop("3 1 0 1E75 0\n" + END), "INPCCO: VALOR FUERA DE RANGO");
  EXPECT_EQ(boundary_stop("3 1 0 0 -1E308\n" + END), "INPCCO: VALOR FUERA DE RANGO");
}

}  // namespace
}  // namespace vortan
