// Small decks for the end-to-end tests of the run layer.
#pragma once

#include <string>

namespace vortan::test {

// The selection cards of a static linear analysis.
inline const std::string STATIC_SELECTION =
    "VORTAN\nANALISIS ESTATICO\nTITULO DOS CUADRILATEROS\nGENERAL LINEAL\nMATERIAL LINEAL\n";

// The header and problem definition of a sound two-element plane-stress model, from
// "NUMERO_DE_NODOS" to the end of the restraints; header_extra is added to the header.
inline std::string two_element_problem(const std::string& header_extra = "") {
  return "NUMERO_DE_NODOS NPNODS=6\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n" + header_extra +
         "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=2\n"
         "MATERIAL YOUNG=1000 POISSON=0.3 ESPESOR=1\nFIN_SET\n"
         "GEOMETRIA\n1 1 1 2 5 4\n2 1 2 3 6 5\n"
         "1 0 0\n2 1 0\n3 2 0\n4 0 1\n5 1 1\n6 2 1\nFIN_GEOMETRIA\n"
         "CONDICIONES_DE_CONTORNO\n1 1 1\n4 1 1\nFIN_CONDICIONES_DE_CONTORNO\n";
}

inline const std::string TWO_ELEMENT_LOADS =
    "FUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\nPUNTUALES\n3 0 -1\n6 0 -1\nFIN_PUNTUALES\nFIN_FUERZAS\nFEMV PRUEBA\n";

// The whole sound deck.
inline std::string two_element_deck(const std::string& header_extra = "") {
  return STATIC_SELECTION + two_element_problem(header_extra) + TWO_ELEMENT_LOADS;
}

// A plane-stress QU4 cantilever of nx x ny unit elements clamped at x = 0 with a
// downward load at the nodes of its free end; nodes numbered x fastest.
inline std::string qu4_cantilever_deck(long nx, long ny) {
  auto node = [&](long i, long j) { return 1 + i + j * (nx + 1); };
  std::string deck = STATIC_SELECTION + "NUMERO_DE_NODOS NPNODS=" + std::to_string((nx + 1) * (ny + 1)) +
                     "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
                     "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=" + std::to_string(nx * ny) +
                     "\nMATERIAL YOUNG=1000.0 POISSON=0.25 ESPESOR=1.0\nFIN_SET\nGEOMETRIA\n";
  long e = 0;
  for (long j = 0; j < ny; ++j)
    for (long i = 0; i < nx; ++i)
      deck += std::to_string(++e) + " 1 " + std::to_string(node(i, j)) + " " + std::to_string(node(i + 1, j)) +
              " " + std::to_string(node(i + 1, j + 1)) + " " + std::to_string(node(i, j + 1)) + "\n";
  for (long j = 0; j <= ny; ++j)
    for (long i = 0; i <= nx; ++i)
      deck += std::to_string(node(i, j)) + " " + std::to_string(i) + " " + std::to_string(j) + "\n";
  deck += "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  for (long j = 0; j <= ny; ++j) deck += std::to_string(node(0, j)) + " 1 1\n";
  deck += "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\nPUNTUALES\n";
  for (long j = 0; j <= ny; ++j) deck += std::to_string(node(nx, j)) + " 0 -0.001\n";
  return deck + "FIN_PUNTUALES\nFIN_FUERZAS\nFEMV VOLADI\n";
}

}  // namespace vortan::test
