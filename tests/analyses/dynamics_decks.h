// The one-element bar of the dynamics deck tests and the reading of the per-step
// tables of their listings.
//
// One QU4 element 1 x 1, plane stress, E = 1, Poisson 0, density 2, thickness 1, fixed
// at x = 0 and with every vertical motion restrained. The two end nodes move together
// under equal end loads or equal initial conditions: a single degree of freedom with
// stiffness E A / L = 1 and mass (half the element's) 1, so omega = 1 and T = 2 pi. The
// other mode (the end nodes against each other) is stiffer.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "listing_tables.h"

namespace vortan::test {

struct DynamicsDeck {
  std::string analysis = "DINAMICO-IMPLICITO";
  std::string times = "DTIME=0.1 ENDTM=1.0 TOUTD=0.1 TOUTP=0.1 DTEND=1000";
  std::string switches = "IFUNC=1";
  double end_load = 1.0;          // total, shared by the two end nodes
  std::string initial = "";       // blocks of the initial-conditions section
  std::string plot = "NREQD=1 NREQL=1 IENER=1";
  std::string node_lists = "2\n2\n";
  std::string method = "NEWMARK AMORT=0.0\n";
  std::string text() const {
    std::ostringstream d;
    d << "VORTAN\nANALISIS " << analysis << "\nTITULO BARRA DE UN ELEMENTO\nNUMERO_DE_NODOS NPNODS=4\n"
      << "NUMERO_DE_SETS NSETS=1\nNUMERO_NODOS_PARA_PLOTE " << plot << "\nINDICADORES_DE_LECTURA " << switches
      << "\nTIEMPOS_Y_CONSTANTES " << times << "\nSET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=1\n"
      << "MATERIAL YOUNG=1.0 POISSON=0.0 DENSIDAD=2.0 ESPESOR=1.0\nFIN_SET\nGEOMETRIA\n1 1 1 2 4 3\n1 0 0\n2 1 0\n"
      << "3 0 1\n4 1 1\nFIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n1 1 1\n2 0 1\n3 1 1\n4 0 1\n"
      << "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS GLOBALES PUNTUALES\n2 " << end_load / 2 << " 0\n4 " << end_load / 2
      << " 0\nFIN_PUNTUALES_GLOBALES\nSET_NUMERO 1\nCARGAS DEL SET 1\nFIN_FUERZAS\nMASAS_ANADIDAS\n"
      << "CONDICIONES_INICIALES\n" << node_lists << initial
      << "NO_HAY_CONDICIONES_INICIALES\nFIN_CONDICIONES_INICIALES\n" << method;
    return d.str();
  }
};

// One output instant: step, time and the x value of node 2 in the three tables.
struct StepState {
  int step = 0;
  double time = 0.0, u = 0.0, v = 0.0, a = 0.0;
};

// The x value of `node` in every table titled `title` ("DESPLAZAMIENTOS EN EL PASO DE
// TIEMPO", ...), with the step and time of each.
inline std::vector<StepState> step_values(const std::string& listing, const std::string& title, int node) {
  std::vector<StepState> out;
  const auto lines = lines_of(listing);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("     " + title, 0) != 0) continue;
    StepState s;
    s.step = std::stoi(lines[i].substr(5 + title.size()));
    s.time = std::strtod(lines[i + 1].substr(11).c_str(), nullptr);
    for (std::size_t j = i + 4; j < lines.size() && !lines[j].empty(); ++j) {
      std::istringstream in(lines[j]);
      int n = 0;
      double x = 0.0;
      in >> n >> x;
      if (n == node) s.u = x;
    }
    out.push_back(s);
  }
  return out;
}

// The states of node 2: displacement, velocity and acceleration at every output.
inline std::vector<StepState> end_history(const std::string& listing) {
  auto states = step_values(listing, "DESPLAZAMIENTOS EN EL PASO DE TIEMPO", 2);
  const auto v = step_values(listing, "VELOCIDAD EN EL PASO DE TIEMPO", 2);
  const auto a = step_values(listing, "ACELERACION EN EL PASO DE TIEMPO", 2);
  for (std::size_t i = 0; i < states.size() && i < v.size() && i < a.size(); ++i) {
    states[i].v = v[i].u;
    states[i].a = a[i].u;
  }
  return states;
}

}  // namespace vortan::test
