// Decks of the nonlinear static tests.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "../run/run_decks.h"

namespace vortan::test {

// The two-element plane-stress model of run_decks.h as a nonlinear analysis of a
// linear set, one increment of the whole load, the tip node 6 traced in y.
// (The nonlinear header has no post-processor card.)
inline std::string two_element_nonlinear_deck() {
  std::string problem = two_element_problem("PARA_PLOTEAR_DESPLAZAMIENTO NODO=6 DIRECCION=2\n");
  problem.erase(problem.find("POSTPROCESO FEMVIEW\n"), 20);
  return "VORTAN\nANALISIS ESTATICO\nTITULO DOS CUADRILATEROS\nGENERAL NOLINEAL\nMATERIAL LINEAL\n" + problem +
         "FUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\nPUNTUALES\n3 0 -1\n6 0 -1\nFIN_PUNTUALES\nFIN_FUERZAS\n"
         "INCREMENTO FACTOR=1.0 TOLERANCIA=1E-6 NUMERO_ITERACIONES=5\nFIN_INCREMENTOS_DE_CARGA\n";
}

// A plane-stress QU8 cantilever, one element deep, clamped at x = 0, with a dead end
// load P downwards and an end load N along x (negative: compression), both shared 1/6,
// 2/3, 1/6 by the end nodes; the middle end node traced. The axis may start with a
// lateral offset a (1 - cos(pi x / 2 L)), the first buckling mode of the column.
struct CantileverDeck {
  int elements = 20;
  double length = 10.0, depth = 1.0, young = 12000.0, poisson = 0.25;
  double load = 20.0;  // P L^2 / (E I) = 2
  double axial = 0.0;  // N
  double offset = 0.0;  // a
  double tolerance = 1e-4;
  int iterations = 20;
  std::string algorithm = "RECALCULASIEMPRE";
  std::string set_cards;  // storage cards of the set
};
inline int cantilever_bottom(const CantileverDeck&, int i) { return 1 + i; }
inline int cantilever_middle(const CantileverDeck& d, int i) { return 2 * d.elements + 2 + i; }
inline int cantilever_top(const CantileverDeck& d, int i) { return 3 * d.elements + 3 + i; }

inline std::string nonlinear_cantilever(const CantileverDeck& d, const std::vector<double>& factors) {
  const int n = d.elements;
  auto num = [](double x) { return std::to_string(x); };
  std::string deck = "VORTAN\nANALISIS ESTATICO\nTITULO VOLADIZO NO LINEAL\nGENERAL NOLINEAL\nMATERIAL LINEAL\n"
                     "NUMERO_DE_NODOS NPNODS=" + std::to_string(5 * n + 3) +
                     "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nTIPO_DE_ALGORITMO " + d.algorithm +
                     "\nPARA_PLOTEAR_DESPLAZAMIENTO NODO=" + std::to_string(cantilever_middle(d, n)) +
                     " DIRECCION=2\nSET_NUMERO 1\nTIPO TENSION_PLANA NOLINEAL\nELEMENTO QU8 NELEM=" +
                     std::to_string(n) + "\nMATERIAL YOUNG=" + num(d.young) + " POISSON=" + num(d.poisson) +
                     " ESPESOR=1.0\n" + d.set_cards + "FIN_SET\nGEOMETRIA\n";
  for (int e = 0; e < n; ++e) {
    const int i = 2 * e;
    deck += std::to_string(e + 1) + " 1";
    for (int node : {cantilever_bottom(d, i), cantilever_bottom(d, i + 1), cantilever_bottom(d, i + 2),
                     cantilever_middle(d, e + 1), cantilever_top(d, i + 2), cantilever_top(d, i + 1),
                     cantilever_top(d, i), cantilever_middle(d, e)})
      deck += " " + std::to_string(node);
    deck += "\n";
  }
  const double dx = d.length / (2 * n);
  auto y = [&](double x, double level) {
    return num(level + d.offset * (1.0 - std::cos(3.14159265358979 * x / (2 * d.length))));
  };
  for (int i = 0; i <= 2 * n; ++i) deck += std::to_string(cantilever_bottom(d, i)) + " " + num(i * dx) + " " + y(i * dx, -d.depth / 2) + "\n";
  for (int i = 0; i <= n; ++i) deck += std::to_string(cantilever_middle(d, i)) + " " + num(2 * i * dx) + " " + y(2 * i * dx, 0.0) + "\n";
  for (int i = 0; i <= 2 * n; ++i) deck += std::to_string(cantilever_top(d, i)) + " " + num(i * dx) + " " + y(i * dx, d.depth / 2) + "\n";
  deck += "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  for (int node : {cantilever_bottom(d, 0), cantilever_middle(d, 0), cantilever_top(d, 0)}) deck += std::to_string(node) + " 1 1\n";
  deck += "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\nPUNTUALES\n";
  deck += std::to_string(cantilever_bottom(d, 2 * n)) + " " + num(d.axial / 6) + " " + num(-d.load / 6) + "\n";
  deck += std::to_string(cantilever_middle(d, n)) + " " + num(d.axial * 2 / 3) + " " + num(-d.load * 2 / 3) + "\n";
  deck += std::to_string(cantilever_top(d, 2 * n)) + " " + num(d.axial / 6) + " " + num(-d.load / 6) + "\n";
  deck += "FIN_PUNTUALES\nFIN_FUERZAS\n";
  for (double f : factors)
    deck += "INCREMENTO FACTOR=" + num(f) + " TOLERANCIA=" + std::to_string(d.tolerance) +
            " NUMERO_ITERACIONES=" + std::to_string(d.iterations) + "\n";
  return deck + "FIN_INCREMENTOS_DE_CARGA\n";
}

}  // namespace vortan::test
