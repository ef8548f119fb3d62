// Steady heat conduction run end to end: temperatures, fluxes and heat flows against
// closed forms (the parabola of a bar with a source, the series of a square plate, the
// film laws of a wall and of a fin), the linear field of every element type, and the
// global heat balance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "analyses/inpdat.h"
#include "elements/active_set.h"
#include "elements/conduction_boundary.h"
#include "input/convection_reader.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "listing_tables.h"
#include "loads/element_loads.h"
#include "run/work_array.h"
#include "solve/solution_record.h"

namespace vortan {
namespace {

using test::displacements;
using test::reactions;

std::string deck_file(const std::string& relative) { return test::source_file(relative); }

std::string run_text(const test::TempDir& dir, const std::string& name, const std::string& text, int* status) {
  return test::run_deck_text(dir, name, text, status);
}

// Runs a deck in this process, so that the solution's arrays can be read at full
// precision afterwards; returns the exit status.
int run_here(const test::TempDir& dir, const std::string& name, const std::string& text) {
  test::ensure_work_array();
  test::write_file(dir.file(name + ".vtn"), text);
  testing::internal::CaptureStdout();
  const int status = run_vortan(dir.file(name + ".vtn"));
  testing::internal::GetCapturedStdout();
  return status;
}

double temperature(int node) { return WORK.reals(SOLUTION.DESPL)[adres(node, 2)]; }

double coordinate(int node, int i) { return WORK.reals(PROBLEM.COORD)[(node - 1) + std::int64_t{i} * PROBLEM.NPNODS]; }

// A deck with a different card: the first occurrence of `from` replaced by `to`.
std::string with(std::string deck, const std::string& from, const std::string& to) {
  const std::size_t at = deck.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) deck.replace(at, from.size(), to);
  return deck;
}

// The heat flows of the last run, in full precision: what the loads put in (sources,
// fluxes, nodal heat and the ambient heat h T of the convection boundaries), what the
// boundaries take out at the solution (h M T), and what the held nodes give (the
// reactions, K T - f at the prescribed temperatures).
struct HeatFlows {
  double loads = 0.0, convection = 0.0, reactions = 0.0, scale = 0.0;
};

HeatFlows heat_flows() {
  HeatFlows flows;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    const ElementSet& set = SETS(s);
    for (int e = 1; e <= set.NELEM; ++e)
      for (int k = 1; k <= set.NEVAB(); ++k) {
        flows.loads += load_entry(s, e, k);
        flows.scale += std::abs(load_entry(s, e, k));
      }
  }
  ConvectionTerms terms;
  for (std::int32_t card = 1; card <= PROBLEM.NFRON; ++card) {
    convection_terms(card, terms);
    const int set = convection_word(card, 1);
    const std::int32_t row = WORK.int_at(PROBLEM.GLELEM + 2 * (convection_word(card, 2) - 1) + 1);
    for (int a = 0; a < terms.nodes; ++a)
      for (int b = 0; b < terms.nodes; ++b) {
        const std::int32_t node = element_node(set, row, terms.positions[b]);
        flows.convection += terms.conductance[a + terms.nodes * b] * temperature(node);
      }
  }
  for (std::int32_t i = 0; i < PROBLEM.NTOTV; ++i) {
    flows.reactions += WORK.reals(SOLUTION.REACT)[i];
    flows.scale += std::abs(WORK.reals(SOLUTION.REACT)[i]);
  }
  return flows;
}

// A bar with a uniform source between two ends held at 0: the parabola 2 x (1 - x),
// exact at the nodes of linear elements; the source warms the bar, and the ends take
// out half of it each.
TEST(HeatConduction, BarWithInternalHeatFollowsTheParabola) {
  test::TempDir dir;
  int status = -1;
  const std::string sal =
      run_text(dir, "bar", deck_file("tests/cases/heat/bar-generation-li2.vtn"), &status);
  ASSERT_EQ(status, 0);
  const auto t = displacements(sal);
  ASSERT_EQ(t.size(), 11u);
  for (int n = 1; n <= 11; ++n) {
    const double x = (n - 1) / 10.0;
    EXPECT_NEAR(t.at(n)[0], 2 * x * (1 - x), 1e-6) << n;
  }
  EXPECT_GT(t.at(6)[0], 0.0);  // a source raises the temperature
  const auto r = reactions(sal);
  EXPECT_NEAR(r.at(1)[0], -4.0, 1e-6);
  EXPECT_NEAR(r.at(11)[0], -4.0, 1e-6);
  // The flux k dT/dx = 4 - 8x at the centre of every element.
  const auto q = test::gauss_stresses(sal, 1);
  ASSERT_EQ(q.size(), 10u);
  for (const auto& element : q) {
    ASSERT_EQ(element.points.size(), 1u);
    const double x = element.points[0][0];
    EXPECT_NEAR(x, (element.element - 0.5) / 10.0, 1e-4);
    EXPECT_NEAR(element.points[0][1], 4 - 8 * x, 1e-4) << element.element;
  }
  EXPECT_NE(sal.find(" P.G.    X-COOR.    X-TENS.\n ELEMENTO:       1\n    1    0.0500  0.3600E+01\n"),
            std::string::npos);
  EXPECT_NE(sal.find(" NODO       X-TENS.\n    1  0.36000000E+01\n"), std::string::npos);
}

// A nodal vector table of the internal forces: position and value on every line after
// the title and its two empty lines, up to the next empty line.
std::map<int, double> nodal_vector_table(const std::string& listing, const std::string& title) {
  std::map<int, double> rows;
  const auto lines = test::lines_of(listing);
  std::size_t i = std::find(lines.begin(), lines.end(), title) - lines.begin();
  for (i += 3; i < lines.size() && !lines[i].empty(); ++i)
    rows[std::atoi(lines[i].substr(0, 8).c_str())] = std::strtod(lines[i].c_str() + 8, nullptr);
  return rows;
}

// The series solution of a square plate with a source and its edges held at 20, over a
// quarter of it; both direct solution paths.
double square_series(double x, double y, double q, double k) {
  double sum = 0.0;
  for (int n = 1; n < 200; n += 2)
    sum += std::sin(n * M_PI * x) * std::cosh(n * M_PI * (y - 0.5)) / (n * n * n * std::cosh(n * M_PI / 2));
  return 20.0 + q * x * (1 - x) / (2 * k) - 4 * q / (M_PI * M_PI * M_PI * k) * sum;
}

TEST(HeatConduction, SquarePlateMatchesTheSeriesSolution) {
  const std::string deck = deck_file("tests/cases/heat/square-generation-qu8.vtn");
  const auto coords = test::deck_rows(deck, "GEOMETRIA", "FIN_GEOMETRIA");
  for (const char* solver : {"LDLT", "ELIMINACION_GAUSS"}) {
    test::TempDir dir;
    int status = -1;
    const std::string sal = run_text(dir, "square", with(deck, "SOLVER LDLT", std::string("SOLVER ") + solver), &status);
    ASSERT_EQ(status, 0) << solver;
    const auto t = displacements(sal);
    ASSERT_EQ(t.size(), 65u);
    for (std::size_t r = 16; r < coords.size(); ++r) {  // the 16 element cards come first
      const int node = static_cast<int>(coords[r][0]);
      const double x = coords[r][1], y = coords[r][2];
      // The error of the mesh: under 0.2 % of the rise of 0.59 next to the held corner,
      // where the flux is singular; away from it six printed digits of about 20.
      const double tolerance = node == 65 || node == 33 ? 1.5e-4 : 1.2e-3;
      EXPECT_NEAR(t.at(node)[0], square_series(x, y, 12.0, 1.5), tolerance) << solver << " node " << node;
    }
    EXPECT_NEAR(test::column_sum(reactions(sal), 0), -12.0 * 0.25 * 0.1, 1e-6) << solver;
    // The estimate of a smooth field on this mesh is small but not zero.
    const std::size_t error = sal.find("ERROR COMETIDO =");
    ASSERT_NE(error, std::string::npos);
    const double percent = std::atof(sal.c_str() + error + 16);
    EXPECT_GT(percent, 0.0);
    EXPECT_LT(percent, 1.0);
    // Element heat balance: the conduction of every element conserves heat, so the
    // global internal heat forces add up to 0, and at a free node they equal its share
    // of the source (-1/12 of an element's heat at a corner, 1/3 at a mid-side node, of
    // Q A t = 0.01875).
    const auto forces = nodal_vector_table(sal, "     FUERZAS INTERNAS GLOBALES");
    ASSERT_EQ(forces.size(), 65u);
    double total = 0.0, magnitude = 0.0;
    for (const auto& [position, value] : forces) {
      total += value;
      magnitude += std::abs(value);
    }
    EXPECT_GT(magnitude, 0.0);
    EXPECT_NEAR(total, 0.0, 1e-6 * magnitude);
    // With one temperature per node the positions are the node numbers: node 17 is an
    // interior corner of four elements, node 11 a mid-side node of two.
    EXPECT_NEAR(forces.at(17), -4 * 0.01875 / 12, 1e-8);
    EXPECT_NEAR(forces.at(11), 2 * 0.01875 / 3, 1e-8);
  }
}


// The fin of the examples: lateral convection per unit length and a convecting tip,
// against the closed form of a fin with a convecting tip; the conductivity matrices
// kept in memory or on disk give the same temperatures.
struct Fin {
  double m = std::sqrt(5.0 * 0.4 / (100.0 * 0.01)), r = 5.0 / (m * 100.0);
  double temperature(double x) const {
    return 20 + 80 * (std::cosh(m * (1 - x)) + r * std::sinh(m * (1 - x))) / (std::cosh(m) + r * std::sinh(m));
  }
  double base_heat() const {
    return std::sqrt(5.0 * 0.4 * 100.0 * 0.01) * 80 * (std::sinh(m) + r * std::cosh(m)) / (std::cosh(m) + r * std::sinh(m));
  }
};

TEST(HeatConduction, FinWithConvectionMatchesItsClosedForm) {
  const std::string deck = deck_file("examples/heat-fin.vtn");
  const Fin fin;
  std::string first;
  for (const char* storage : {"", "MATRIZK MEMORIA\n", "MATRIZK DISCO\nMATRIZDB MEMORIA\n"}) {
    test::TempDir dir;
    int status = -1;
    const std::string sal = run_text(dir, "fin", with(deck, "FIN_SET", std::string(storage) + "FIN_SET"), &status);
    ASSERT_EQ(status, 0) << storage;
    const auto t = displacements(sal);
    ASSERT_EQ(t.size(), 21u);
    for (int n = 1; n <= 21; ++n) EXPECT_NEAR(t.at(n)[0], fin.temperature((n - 1) / 20.0), 1e-4) << storage << n;
    EXPECT_NEAR(reactions(sal).at(1)[0], fin.base_heat(), 1e-3 * fin.base_heat()) << storage;
    const std::string table = sal.substr(sal.find("     DESPLAZAMIENTOS"), 1200);
    if (first.empty()) first = table;
    EXPECT_EQ(table, first) << storage;
  }
}

// A slab of length 2 with no held temperature: a flux q = 6 enters the face x = 0 and
// leaves through the film h = 4 to an ambient 10 on the face x = 2, so that
// T(x) = 10 + q / h + q (2 - x) / k with k = 3: linear, exact for any element. The
// flux per unit area and the film coefficient give the same answer whatever the
// thickness of a plane slice.
double slab_temperature(double x) { return 10.0 + 6.0 / 4.0 + 6.0 * (2.0 - x) / 3.0; }

std::string thermal_header(const std::string& title, int nodes, int nfron) {
  return "VORTAN\nANALISIS TERMICO-ESTACIONARIO\nTITULO " + title + "\nGENERAL LINEAL\nMATERIAL LINEAL\n"
         "NUMERO_DE_NODOS NPNODS=" + std::to_string(nodes) + "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\n"
         "POSTPROCESO FEMVIEW\nCONDICIONES_DE_CONTORNO NFRON=" + std::to_string(nfron) + "\n";
}

const std::string NO_RESTRAINTS = "CONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\n";

// Four QU4 elements along x, two nodes across (y = 0, 1): node 2i+1 at (i/2, 0), node
// 2i+2 at (i/2, 1).
std::string plane_slab(double thickness) {
  std::string deck = thermal_header("LOSA PLANA", 10, 1) +
                     "SET_NUMERO 1\nTIPO DOSDIMENSIONES\nELEMENTO QU4 NELEM=4\nMATERIAL CONDX=3 CONDY=3 CONDZ=0 ESPESOR=" +
                     std::to_string(thickness) + "\nFIN_SET\nGEOMETRIA\n";
  for (int e = 1; e <= 4; ++e)
    deck += std::to_string(e) + " 1 " + std::to_string(2 * e - 1) + " " + std::to_string(2 * e + 1) + " " +
            std::to_string(2 * e + 2) + " " + std::to_string(2 * e) + "\n";
  for (int i = 0; i <= 4; ++i)
    deck += std::to_string(2 * i + 1) + " " + std::to_string(i / 2.0) + " 0\n" + std::to_string(2 * i + 2) + " " +
            std::to_string(i / 2.0) + " 1\n";
  return deck + "FIN_GEOMETRIA\n" + NO_RESTRAINTS +
         "CONVECCION_RADIACION\n1 4 1 2 2 9 10 10.0 4.0\nFIN_CONVECCION_RADIACION\n"
         "CARGAS\nSET_NUMERO 1\nFUERZAS\nDISTRIBUIDAS\nLADO NODGE=2\n1 2 1\n6 6\nFIN_DISTRIBUIDAS\nFIN_FUERZAS\nFEMV LOSA\n";
}

// Two HE8 bricks along x over the unit square section: nodes 4i+1 .. 4i+4 at x = i
// around the section.
std::string solid_slab() {
  std::string deck = thermal_header("LOSA SOLIDA", 12, 1) +
                     "SET_NUMERO 1\nTIPO TRESDIMENSIONES\nELEMENTO HE8 NELEM=2\nMATERIAL CONDX=3 CONDY=3 CONDZ=3\n"
                     "FIN_SET\nGEOMETRIA\n";
  // Section corners (y, z) in the order (0,0), (1,0), (1,1), (0,1); the brick's bottom
  // face (u = -1) is its face z = 0: x0 y0, x1 y0, x1 y1, x0 y1, then the same at z = 1.
  auto node = [](int i, int corner) { return 4 * i + corner + 1; };
  for (int e = 0; e < 2; ++e) {
    deck += std::to_string(e + 1) + " 1";
    for (int layer : {0, 1}) {
      const int lower = layer == 0 ? 0 : 3, upper = layer == 0 ? 1 : 2;  // corners at this z
      deck += " " + std::to_string(node(e, lower)) + " " + std::to_string(node(e + 1, lower)) + " " +
              std::to_string(node(e + 1, upper)) + " " + std::to_string(node(e, upper));
    }
    deck += "\n";
  }
  const double corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i <= 2; ++i)
    for (int c = 0; c < 4; ++c)
      deck += std::to_string(node(i, c)) + " " + std::to_string(static_cast<double>(i)) + " " +
              std::to_string(corners[c][0]) + " " + std::to_string(corners[c][1]) + "\n";
  return deck + "FIN_GEOMETRIA\n" + NO_RESTRAINTS +
         "CONVECCION_RADIACION\n1 2 2 4 4 9 10 11 12 10.0 4.0\nFIN_CONVECCION_RADIACION\n"
         "CARGAS\nSET_NUMERO 1\nFUERZAS\nDISTRIBUIDAS\nCARA NODGE=4\n1 1 2 3 4\n6 6 6 6\nFIN_DISTRIBUIDAS\nFIN_FUERZAS\nFEMV LOSA\n";
}

TEST(HeatConduction, SlabWithFluxAndFilmFollowsTheWallLaw) {
  struct Case {
    std::string name, deck;
  };
  const Case cases[] = {{"plane_thin", plane_slab(0.25)}, {"plane_thick", plane_slab(2.0)}, {"solid", solid_slab()}};
  for (const Case& c : cases) {
    test::TempDir dir;
    ASSERT_EQ(run_here(dir, c.name, c.deck), 0) << c.name;
    for (int node = 1; node <= PROBLEM.NPNODS; ++node)
      EXPECT_NEAR(temperature(node), slab_temperature(coordinate(node, 0)), 1e-9) << c.name << " node " << node;
    // No held temperature: all the flux put in leaves through the film.
    const HeatFlows flows = heat_flows();
    EXPECT_EQ(flows.reactions, 0.0) << c.name;
    EXPECT_NEAR(flows.loads - flows.convection, 0.0, 1e-12 * flows.scale) << c.name;
    reset_run_state();
  }
}

// Global heat balance of the fin and of the square plate: the heat put in by the loads
// (with the ambient heat of the films), less what the films take at the solution, is
// what the held nodes take out, to round-off.
TEST(HeatConduction, GlobalHeatBalanceHoldsToRoundOff) {
  for (const char* deck : {"examples/heat-fin.vtn", "tests/cases/heat/square-generation-qu8.vtn"}) {
    test::TempDir dir;
    ASSERT_EQ(run_here(dir, "balance", deck_file(deck)), 0) << deck;
    const HeatFlows flows = heat_flows();
    EXPECT_GT(std::abs(flows.reactions), 0.0) << deck;
    EXPECT_NEAR(flows.reactions + flows.loads - flows.convection, 0.0, 1e-12 * flows.scale) << deck;
    reset_run_state();
  }
  // The fin's base gives what its films take.
  test::TempDir dir;
  ASSERT_EQ(run_here(dir, "fin", deck_file("examples/heat-fin.vtn")), 0);
  EXPECT_NEAR(WORK.reals(SOLUTION.REACT)[adres(1, 2)], Fin{}.base_heat(), 1e-5 * Fin{}.base_heat());
  reset_run_state();
}

// An element whose flux energy is exactly 0 has no relative error: the heat-conduction
// estimate stops the run there, after the element's line.
TEST(HeatConduction, ErrorOfAFieldWithoutFluxIsNotReportable) {
  const std::string deck = thermal_header("SIN FLUJO", 4, 0) +
                           "ERROR ACTIVO\nSET_NUMERO 1\nTIPO DOSDIMENSIONES\nELEMENTO TR3 NELEM=2\n"
                           "MATERIAL CONDX=1 CONDY=1 CONDZ=0\nFIN_SET\nGEOMETRIA\n1 1 1 2 3\n2 1 2 4 3\n"
                           "1 0 0\n2 1 0\n3 0 1\n4 1 1\nFIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n1 1 0\n2 1 0\n"
                           "3 1 0\n4 1 0\nFIN_CONDICIONES_DE_CONTORNO\nCONVECCION_RADIACION\nFIN_CONVECCION_RADIACION\n"
                           "CARGAS\nSET_NUMERO 1\nFUERZAS\nFIN_FUERZAS\nFEMV PLANO\n";
  test::TempDir dir;
  int status = -1;
  const std::string sal = run_text(dir, "flat", deck, &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(sal.find("                 1   ERROR NO REPORTABLE\n"), std::string::npos);
  EXPECT_EQ(sal.find("                 2   ERROR NO REPORTABLE\n"), std::string::npos);
  EXPECT_NE(test::read_file(dir.file("flat.err")).find("ANERROT:ERROR NO REPORTABLE"), std::string::npos);
  // Without the estimate the same problem ends normally.
  const std::string quiet = run_text(dir, "quiet", with(deck, "ERROR ACTIVO\n", ""), &status);
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace vortan
