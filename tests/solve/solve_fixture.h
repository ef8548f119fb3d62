// Fixture of the solution tests: problem decks built from small plane meshes, read
// in-process by the problem-header reader, loaded through the element load vectors
// and solved by SOLUCION with a chosen solver code.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../test_support.h"
#include "elements/active_set.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "analyses/driver_phases.h"
#include "run/errstp.h"
#include "run/work_array.h"
#include "solve/profile_matrix.h"
#include "solve/solucion.h"
#include "solve/solution_record.h"

namespace vortan::test {

// A plane-stress QU4 mesh of nx x ny elements over [0, lx] x [0, ly]. Nodes are
// numbered along x row after row (node(i, j) = 1 + i + j (nx + 1)), or along y column
// after column when `along_y`; elements are numbered row after row.
struct PlaneMesh {
  int nx = 4, ny = 2;
  double lx = 4.0, ly = 1.0;
  bool along_y = false;
  double young = 1000.0, poisson = 0.25, density = 0.0;
  std::string restraints;   // restraint cards, "SIN_RESTRICCIONES" when empty
  std::string supports;     // support blocks read after the restraints
  int springs = 0, links = 0;
  std::string solver = "LDLT";
  std::string header_cards; // extra header cards
  std::string set_cards;    // extra cards of the set (storage)
  std::function<void(int i, int j, double& x, double& y)> shape;  // moves nodes

  int node(int i, int j) const { return along_y ? 1 + j + i * (ny + 1) : 1 + i + j * (nx + 1); }
  int nodes() const { return (nx + 1) * (ny + 1); }

  std::string deck() const {
    std::ostringstream d;
    d.precision(17);
    d << "NUMERO_DE_NODOS NPNODS=" << nodes() << " MRESO=" << springs << " MGDLL=" << links << "\n"
      << "NUMERO_DE_SETS NSETS=1\nSOLVER " << solver << "\nPOSTPROCESO FEMVIEW\n" << header_cards
      << "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=" << nx * ny << "\n"
      << "MATERIAL YOUNG=" << young << " POISSON=" << poisson << " DENSIDAD=" << density << " ESPESOR=1.0\n"
      << set_cards << "FIN_SET\nGEOMETRIA\n";
    int e = 0;
    for (int j = 0; j < ny; ++j)
      for (int i = 0; i < nx; ++i)
        d << ++e << " 1 " << node(i, j) << " " << node(i + 1, j) << " " << node(i + 1, j + 1) << " "
          << node(i, j + 1) << "\n";
    for (int j = 0; j <= ny; ++j)
      for (int i = 0; i <= nx; ++i) {
        double x = lx * i / nx, y = ly * j / ny;
        if (shape) shape(i, j, x, y);
        d << node(i, j) << " " << x << " " << y << "\n";
      }
    d << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n"
      << (restraints.empty() ? "SIN_RESTRICCIONES\n" : restraints) << "FIN_CONDICIONES_DE_CONTORNO\n"
      << supports << "FIN\n";
    return d.str();
  }
};

struct Solution {
  std::vector<double> despl, react;
};

class SolveTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SOLUTION.reset();
    PROFILE.reset();
    reset_active_set();
    reset_run_state();
  }

  void read(const std::string& deck) {
    ensure_work_array();
    SOLUTION.reset();
    reset_active_set();
    write_file(dir.file("S.vtn"), deck);
    open_deck(dir.file("S.vtn"));
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    RUN.KANALI = 1;
    INPEST(ProblemVariant::static_linear);
  }

  // Adds a nodal load to the element load vector of the first element of set 1 that
  // holds the node.
  static void load(int node, int dof, double value) {
    ElementSet& s = SETS(1);
    for (int e = 1; e <= s.NELEM; ++e)
      for (int k = 1; k <= s.NNODE; ++k)
        if (element_node(1, e, k) == node) {
          WORK.reals(s.CARGA)[(e - 1) + static_cast<std::int64_t>((k - 1) * s.NDOFN + dof - 1) * s.NELEM] += value;
          return;
        }
    FAIL() << "node " << node << " is in no element";
  }

  static Solution solve(int solver) {
    PROBLEM.solver = solver;
    SOLUCION(SolveOptions{PROBLEM.printing(PRINT_DISPLACEMENTS)});
    Solution out;
    const double* d = WORK.reals(SOLUTION.DESPL);
    const double* r = WORK.reals(SOLUTION.REACT);
    out.despl.assign(d, d + PROBLEM.NTOTV);
    out.react.assign(r, r + PROBLEM.NTOTV);
    return out;
  }

  static std::string stop_of(const std::function<void()>& call) { return stop_message_of(call); }

  std::string listing() {
    flush_units();
    return read_file(dir.file("S.sal"));
  }

  // Global position (0-based) of degree of freedom dof of a node.
  static int at(int node, int dof) { return adres(node, 2) + dof - 1; }

  TempDir dir;
};

inline double largest_magnitude(const std::vector<double>& v) {
  double m = 0.0;
  for (double x : v) m = std::max(m, std::abs(x));
  return m;
}

// Expects two vectors to agree within a tolerance relative to the larger's magnitude.
inline void expect_close(const std::vector<double>& a, const std::vector<double>& b, double relative,
                         const char* what) {
  ASSERT_EQ(a.size(), b.size());
  const double scale = std::max(largest_magnitude(a), 1e-300);
  for (std::size_t i = 0; i < a.size(); ++i)
    EXPECT_NEAR(a[i], b[i], relative * scale) << what << " at position " << i + 1;
}

}  // namespace vortan::test
