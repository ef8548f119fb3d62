// Strains and stresses imposed at element nodes: closed forms on a square, agreement
// with the internal forces of the matching displacement field on distorted elements,
// the table rules of the cards, and inclined supports.
#include <cmath>
#include <cstdio>
#include <vector>

#include "elements/element_tasks.h"
#include "load_fixture.h"

namespace vortan {
namespace {

using test::FREE;
using test::geometry;
using test::header;
using test::section;
using test::set_cards;

class ImposedLoads : public test::LoadTest {
 protected:
  void restart() {
    reset_active_set();
    reset_run_state();
  }
  std::vector<double> row(int element) {
    std::vector<double> r;
    for (int i = 1; i <= SETS(1).NEVAB(); ++i) r.push_back(load(1, element, i));
    return r;
  }
};

// A plane-stress square of side 2 and thickness 0.5.
std::string square(const std::string& body, const std::string& extra_nodes = "", int elements = 1) {
  std::string mesh = "1 1 1 2 3 4\n";
  if (elements == 2) mesh += "2 1 5 6 7 8\n";
  return header(elements * 4, 1, extra_nodes.empty() ? "" : " MAPOY=1") +
         set_cards(1, "TENSION_PLANA", "QU4", elements, "YOUNG=1000 POISSON=0.25 ESPESOR=0.5") +
         geometry(mesh + "1 0 0\n2 2 0\n3 2 2\n4 0 2\n" +
                  (elements == 2 ? "5 10 0\n6 12 0\n7 12 2\n8 10 2\n" : "")) +
         FREE + extra_nodes + "FUERZAS\n" + section(1, body);
}

std::string block(const std::string& keyword, const std::string& cards) {
  return keyword + "\n" + cards + "FIN_DEFORMACIONES_IMPUESTAS\n";
}

// sigma_x = 3: the side x = 0 pulls with -s t a / 2 per node, the side x = a with
// +s t a / 2; an imposed strain e acts as the stress D e.
TEST_F(ImposedLoads, UniformFieldsOnASquareGiveTheForcesOfTheirStress) {
  read(square(block("TENSIONES_IMPUESTAS", "1\n1 3 3 3 3\n2 0 0 0 0\n3 0 0 0 0\n")));
  const double stress_x[8] = {-1.5, 0, 1.5, 0, 1.5, 0, -1.5, 0};
  for (int i = 1; i <= 8; ++i) EXPECT_NEAR(load(1, 1, i), stress_x[i - 1], 1e-12) << i;
  // sigma_x growing from 0 at x = 0 to 3 at x = a: +-s t a / 4 per node.
  restart();
  read(square(block("TENSIONES_IMPUESTAS", "1\n1 0 3 3 0\n2 0 0 0 0\n3 0 0 0 0\n")));
  const double growing_x[8] = {-0.75, 0, 0.75, 0, 0.75, 0, -0.75, 0};
  for (int i = 1; i <= 8; ++i) EXPECT_NEAR(load(1, 1, i), growing_x[i - 1], 1e-7) << i;
  restart();
  read(square(block("DEFORMACIONES_IMPUESTAS", "1\n1 0.01 0.01 0.01 0.01\n2 0 0 0 0\n3 0 0 0 0\n")));
  const double d11 = 1000.0 / (1.0 - 0.0625), d21 = 0.25 * d11;
  const double fx = d11 * 0.01 * 0.5 * 1.0, fy = d21 * 0.01 * 0.5 * 1.0;
  const double strain_x[8] = {-fx, -fy, fx, -fy, fx, fy, -fx, fy};
  for (int i = 1; i <= 8; ++i) EXPECT_NEAR(load(1, 1, i), strain_x[i - 1], 1e-9) << i;
}

// Rows named by an element's cards replace the table's rows; the others keep the
// previous element's values. Two cards for one element add up; a block of the
// closing card alone adds nothing.
TEST_F(ImposedLoads, TableRowsCarryOverAndElementCardsAdd) {
  const std::string full = "1\n1 3 3 3 3\n2 1 1 1 1\n3 0.5 0.5 0.5 0.5\n";
  read(square(block("TENSIONES_IMPUESTAS", full + full + "2\n1 3 3 3 3\n1 3 3 3 3\n1 3 3 3 3\n") +
                  block("TENSIONES_IMPUESTAS", ""),
              "", 2));
  const std::vector<double> first = row(1), second = row(2);
  double size = 0.0;
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_NEAR(first[i], 2.0 * second[i], 1e-12) << i;
    size += std::abs(second[i]);
  }
  EXPECT_GT(size, 1.0);
  restart();
  read(square(block("DEFORMACIONES_IMPUESTAS", "")));
  for (double v : row(1)) EXPECT_EQ(v, 0.0);
}

// A constant field on a distorted element gives the internal forces of the linear
// displacement field with that strain: plane strain and axisymmetric QU8, a solid HE8.
// The same forces come from the stresses D e imposed directly.
TEST_F(ImposedLoads, ConstantFieldsGiveTheInternalForcesOfTheirDisplacements) {
  struct Case {
    std::string type, element, coordinates;
    int nnode, ndime;
    std::vector<double> strain;
  };
  const std::string qu8 = "1 1.0 0.1\n2 2.1 0.0\n3 3.0 0.2\n4 3.1 1.2\n5 2.9 2.0\n6 2.0 2.2\n7 1.2 1.9\n8 1.1 1.0\n";
  const std::string he8 = "1 0 0 0\n2 2.1 0.1 0\n3 2 1.2 0.1\n4 -0.1 1 0\n5 0.1 0 2\n6 2 0.2 2.1\n7 2.2 1.1 1.9\n8 0 1.1 2\n";
  const Case cases[] = {
      {"DEFORMACION_PLANA", "QU8", qu8, 8, 2, {1e-3, -2e-3, 5e-4}},
      {"SOLIDO_DE_REVOLUCION", "QU8", qu8, 8, 2, {1e-3, -2e-3, 5e-4, 1e-3}},
      {"SOLIDO", "HE8", he8, 8, 3, {1e-3, -2e-3, 3e-4, 5e-4, -4e-4, 2e-4}},
  };
  for (const Case& c : cases) {
    auto deck = [&](const std::string& keyword, const std::vector<double>& values) {
      std::string cards = "1\n";
      for (std::size_t k = 0; k < values.size(); ++k) {
        cards += std::to_string(k + 1);
        char number[40];
        std::snprintf(number, sizeof number, " %.17g", values[k]);
        // Four values to a line, continued with "/", to stay within the card width.
        for (int n = 0; n < c.nnode; ++n) cards += std::string(number) + (n % 4 == 3 && n + 1 < c.nnode ? " /\n" : "");
        cards += "\n";
      }
      return header(c.nnode, 1) + set_cards(1, c.type, c.element, 1, "YOUNG=210 POISSON=0.3 ESPESOR=0.5") +
             geometry("1 1 1 2 3 4 5 6 7 8\n" + c.coordinates) + FREE + "FUERZAS\n" +
             section(1, block(keyword, cards));
    };
    read(deck("DEFORMACIONES_IMPUESTAS", c.strain));
    const std::vector<double> from_strains = row(1);
    // The displacements of the strain field, and their internal forces.
    const ActiveSetRecord& a = ACTIVE;
    gather_element(1);
    const double* x = a.reals(a.COREL);
    double* u = a.reals(a.DESLO);
    const std::vector<double>& e = c.strain;
    for (int k = 0; k < c.nnode; ++k) {
      const double* p = x + c.ndime * k;
      if (c.ndime == 2) {
        u[2 * k] = e[0] * p[0] + (c.strain.size() == 3 ? e[2] * p[1] : 0.0);
        u[2 * k + 1] = e[1] * p[1] + (c.strain.size() == 4 ? e[2] * p[0] : 0.0);
      } else {
        u[3 * k] = e[0] * p[0] + e[3] * p[1];
        u[3 * k + 1] = e[1] * p[1] + e[5] * p[2];
        u[3 * k + 2] = e[2] * p[2] + e[4] * p[0];
      }
    }
    ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::internal_forces);
    const double* internal = a.reals(a.FUERZ);
    ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::constitutive_matrix);
    const int n = a.NSTRE;
    std::vector<double> stress(n, 0.0);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) stress[i] += a.reals(a.DMATZ)[i + n * j] * e[j];
    double size = 0.0;
    for (std::size_t i = 0; i < from_strains.size(); ++i) {
      EXPECT_NEAR(from_strains[i], internal[i], 1e-12) << c.type << " " << i;
      size += std::abs(internal[i]);
    }
    EXPECT_GT(size, 1e-2) << c.type;
    restart();
    read(deck("TENSIONES_IMPUESTAS", stress));
    const std::vector<double> from_stresses = row(1);
    for (std::size_t i = 0; i < from_strains.size(); ++i)
      EXPECT_NEAR(from_stresses[i], from_strains[i], 1e-12) << c.type << " " << i;
    restart();
  }
}

// Element 1 has node 2 on a 30 degree support, element 2 is the same square without
// one: element 1's pair at node 2 is element 2's pair turned once into the support
// axes (cos a, sin a), (-sin a, cos a); the other nodes agree.
TEST_F(ImposedLoads, InclinedSupportPairIsTurnedOnce) {
  const std::string table = "1\n1 3 3 3 3\n2 1 1 1 1\n3 0.5 0.5 0.5 0.5\n";
  read(square(block("TENSIONES_IMPUESTAS", table + "2\n1 3 3 3 3\n2 1 1 1 1\n3 0.5 0.5 0.5 0.5\n"),
              "APOYOS_INCLINADOS\n2 30\nFIN_APOYOS_INCLINADOS\n", 2));
  const std::vector<double> turned = row(1), plain = row(2);
  const double angle = WORK.reals(PROBLEM.APANG)[0];
  const double c = std::cos(angle), s = std::sin(angle);
  for (int i : {0, 1, 4, 5, 6, 7}) EXPECT_NEAR(turned[i], plain[i], 1e-12) << i;
  EXPECT_NEAR(turned[2], c * plain[2] + s * plain[3], 1e-12);
  EXPECT_NEAR(turned[3], -s * plain[2] + c * plain[3], 1e-12);
  EXPECT_GT(std::abs(plain[2]) + std::abs(plain[3]), 0.5);
}

TEST_F(ImposedLoads, BadTableCardsStopTheRun) {
  const std::string rows = "1 3 3 3 3\n2 1 1 1 1\n3 0 0 0 0\n";
  const std::pair<std::string, std::string> cases[] = {
      {"0\n" + rows, "DEFIMPN: ELEMENTO FUERA DEL SET"},
      {"2\n" + rows, "DEFIMPN: ELEMENTO FUERA DEL SET"},
      {"1\n0 3 3 3 3\n", "DEFIMPN: COMPONENTE FUERA DE RANGO"},
      {"1\n4 3 3 3 3\n", "DEFIMPN: COMPONENTE FUERA DE RANGO"},
      {"1\n1 3 3 3\n", "FUE001 : TARJETA EQUIVOCADA EN PASO 1"},
      {"1\n1 3 3 3 3 3\n", "FUE001 : TARJETA EQUIVOCADA EN PASO 1"},
      {"1\n1 3 3 3 3 X\n", "FUE001 : TARJETA EQUIVOCADA EN PASO 1"},
  };
  for (const auto& [cards, message] : cases) {
    EXPECT_EQ(stop_of(square(block("DEFORMACIONES_IMPUESTAS", cards))), message) << cards;
    restart();
  }
}

}  // namespace
}  // namespace vortan
