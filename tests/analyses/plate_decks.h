// Decks of square plates for the plate and flat-shell tests: a quarter of a square of
// side 1 (the symmetry lines x = 0.5 and y = 0.5 restrain the slope across them),
// simply supported (w and the slope along the edge) or clamped on x = 0 and y = 0,
// under a uniform load of 1 on every element or a load of 1 at the centre (a quarter
// of it on the quarter), meshed n x n: squares (CLLL) or squares cut along their
// diagonal (DKT, TLCL; the TLCL's mid-side nodes on a finer grid).
#pragma once

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vortan::test {

struct PlateDeck {
  std::string element = "DKT";
  int n = 4;
  bool clamped = false;
  bool point_load = false;
  bool flat_shell = false;
  double height = 0.0;  // z of a flat shell's plane
  double specific_weight = 0.0;  // with self_weight, the load is "PESO_PROPIO"
  bool self_weight = false;
  double thickness = 0.01;
  double young = 1.092e7;  // with nu 0.3 and t 0.01: D = 1
  double poisson = 0.3;
  std::string material;  // replaces the one-layer material card (laminates)
  std::string storage;   // storage cards of the set
  std::string title = "PLACA CUADRADA";
};

// The deck text; centre receives the centre node's number.
inline std::string plate_deck(const PlateDeck& p, int* centre = nullptr) {
  const bool fine = p.element == "TLCL";
  const int m = fine ? 2 * p.n : p.n, s = fine ? 2 : 1;
  const double h = 0.5 / m;
  auto id = [m](int i, int j) { return j * (m + 1) + i + 1; };
  std::vector<std::vector<int>> elements;
  for (int j = 0; j < p.n; ++j)
    for (int i = 0; i < p.n; ++i) {
      const int a = id(s * i, s * j), b = id(s * i + s, s * j), c = id(s * i + s, s * j + s), d = id(s * i, s * j + s);
      if (p.element == "CLLL") {
        elements.push_back({a, b, c, d});
      } else if (p.element == "DKT") {
        elements.push_back({a, b, c});
        elements.push_back({a, c, d});
      } else {
        const int ab = id(2 * i + 1, 2 * j), bc = id(2 * i + 2, 2 * j + 1), cd = id(2 * i + 1, 2 * j + 2);
        const int da = id(2 * i, 2 * j + 1), ce = id(2 * i + 1, 2 * j + 1);
        elements.push_back({a, b, c, ab, bc, ce});
        elements.push_back({a, c, d, ce, cd, da});
      }
    }
  std::set<int> used;
  for (const auto& e : elements) used.insert(e.begin(), e.end());
  std::ostringstream d;
  d.precision(12);
  d << "VORTAN\nANALISIS ESTATICO\nTITULO " << p.title << "\nGENERAL LINEAL\nMATERIAL LINEAL\n"
    << "NUMERO_DE_NODOS NPNODS=" << (m + 1) * (m + 1) << "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
    << "IMPRESIONES_GLOBALES SALIDA_DATOS NO_ACTIVO\nSET_NUMERO 1\nTIPO " << (p.flat_shell ? "LAMINA_PLANA" : "PLACA")
    << "\nELEMENTO " << p.element << " NELEM=" << elements.size() << "\n";
  if (p.material.empty())
    d << "MATERIAL YOUNG=" << p.young << " POISSON=" << p.poisson << " ESPESOR=" << p.thickness
      << " PESOVOL=" << p.specific_weight << "\n";
  else
    d << p.material;
  d << p.storage << "SALIDA_TENSIONES_GAUSS NO_ACTIVO\nFIN_SET\nGEOMETRIA\n";
  for (std::size_t e = 0; e < elements.size(); ++e) {
    d << e + 1 << " 1";
    for (int node : elements[e]) d << " " << node;
    d << "\n";
  }
  for (int j = 0; j <= m; ++j)
    for (int i = 0; i <= m; ++i) d << id(i, j) << " " << i * h << " " << j * h << (p.flat_shell ? " " + std::to_string(p.height) + "\n" : "\n");
  d << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  for (int j = 0; j <= m; ++j)
    for (int i = 0; i <= m; ++i) {
      if (!used.count(id(i, j))) continue;
      const bool mid = fine && (i % 2 == 1 || j % 2 == 1);
      int c[3] = {0, 0, 0};  // w, dw/dx, dw/dy
      if (i == 0 || j == 0) {
        c[0] = 1;
        if (p.clamped) c[1] = c[2] = 1;
        if (i == 0) c[2] = 1;
        if (j == 0) c[1] = 1;
        if (mid) c[1] = 1;  // the slope along the edge
      }
      if (i == m && !mid) c[1] = 1;
      if (j == m && !mid) c[2] = 1;
      if (p.flat_shell) {
        // u, v, w, rotations about x (= dw/dy) and y (= -dw/dx); the rotation about z
        // goes with the coplanarity.
        d << id(i, j) << " 1 1 " << c[0] << " " << c[2] << " " << c[1] << " 0\n";
      } else if (c[0] + c[1] + c[2] > 0) {
        d << id(i, j) << " " << c[0] << " " << c[1] << " " << c[2] << "\n";
      }
    }
  d << "FIN_CONDICIONES_DE_CONTORNO\n";
  if (p.flat_shell) d << "COPLANARIDAD TOLCP=1\n";
  d << "FUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\n";
  if (p.self_weight) {
    d << "PESO_PROPIO\n";
  } else if (p.point_load) {
    d << "PUNTUALES\n" << id(m, m) << (p.flat_shell ? " 0 0 0.25 0 0 0\n" : " 0.25 0 0\n") << "FIN_PUNTUALES\n";
  } else {
    d << "CARGAS_REPARTIDAS NELCA=" << elements.size() << "\n";
    for (std::size_t e = 0; e < elements.size(); ++e) d << e + 1 << " 1.0\n";
    d << "FIN_CARGAS_REPARTIDAS\n";
  }
  d << "FIN_FUERZAS\nFEMV PLACA\n";
  if (centre != nullptr) *centre = id(m, m);
  return d.str();
}

}  // namespace vortan::test
