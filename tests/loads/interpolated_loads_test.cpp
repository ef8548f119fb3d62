// Interpolated loads: the forces of a segment equal those of the matching distributed
// side loads; parts of sides, interior lines, projected measures, revolution sets; the
// listing; the stops of the cards.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "load_fixture.h"
#include "run/fortran_format.h"

namespace vortan {
namespace {

using test::FREE;
using test::geometry;
using test::header;
using test::section;
using test::set_cards;

class InterpolatedLoads : public test::LoadTest {
 protected:
  void restart() {
    reset_active_set();
    reset_run_state();
  }
  std::vector<double> rows() {
    std::vector<double> r;
    for (int e = 1; e <= SETS(1).NELEM; ++e)
      for (int i = 1; i <= SETS(1).NEVAB(); ++i) r.push_back(load(1, e, i));
    return r;
  }
  double total(int component) {
    double sum = 0.0;
    for (int e = 1; e <= SETS(1).NELEM; ++e)
      for (int i = component; i <= SETS(1).NEVAB(); i += 2) sum += load(1, e, i);
    return sum;
  }
};

// Two QU8 elements over [0, 2] x [0, 1] (plane stress, or a ring when type says so).
std::string strip(const std::string& body, const std::string& type = "TENSION_PLANA", double shift = 0.0) {
  const double x[5] = {0.0, 0.5, 1.0, 1.5, 2.0};
  std::string nodes;
  const auto add = [&](int n, double px, double py) {
    nodes += std::to_string(n) + " " + std::to_string(px + shift) + " " + std::to_string(py) + "\n";
  };
  for (int i = 0; i < 5; ++i) add(i + 1, x[i], 0.0);
  add(6, 0.0, 0.5), add(7, 1.0, 0.5), add(8, 2.0, 0.5);
  for (int i = 0; i < 5; ++i) add(i + 9, x[i], 1.0);
  return header(13, 1) + set_cards(1, type, "QU8", 2, "YOUNG=1000 POISSON=0.25") +
         geometry("1 1 1 2 3 7 11 10 9 6\n2 1 3 4 5 8 13 12 11 7\n" + nodes) + FREE + "FUERZAS\n" +
         section(1, body);
}

std::string interpolated(const std::string& stations, const std::string& segments) {
  return "INTERPOLADAS\n" + stations + "FIN_CARGAS\n" + segments + "FIN_SEGMENTOS\nFIN_INTERPOLADAS\n";
}

// A load growing from 1 to 3 along the bottom: the same forces as the side loads of
// its values at the side nodes (the normal of a side traversed along +x is +y), for
// the normal and the tangential component, in a plane and in a revolution set.
TEST_F(InterpolatedLoads, SegmentGivesTheForcesOfTheDistributedSideLoad) {
  for (const std::string type : {"TENSION_PLANA", "SOLIDO_DE_REVOLUCION"}) {
    const double shift = type == "TENSION_PLANA" ? 0.0 : 1.0;
    const std::string a = std::to_string(shift), b = std::to_string(shift + 2.0);
    read(strip(interpolated(a + " 0 0.5 1\n" + b + " 0 -1.5 3\n", "1 2\n"), type, shift));
    const std::vector<double> segment = rows();
    restart();
    // p1 (normal, +y) = qy and p2 (along +x) = qx at the side nodes.
    read(strip("DISTRIBUIDAS\nNODGE=3\n1 1 2 3\n1 0.5 1.5 0 2 -0.5\n2 3 4 5\n2 -0.5 2.5 -1 3 -1.5\n"
               "FIN_DISTRIBUIDAS\n",
               type, shift));
    const std::vector<double> sides = rows();
    ASSERT_EQ(segment.size(), sides.size());
    double size = 0.0;
    for (std::size_t i = 0; i < sides.size(); ++i) {
      // The side-load rule carries single-precision points and weights.
      EXPECT_NEAR(segment[i], sides[i], 2e-7 * std::max(1.0, std::fabs(sides[i]))) << type << ' ' << i;
      size += std::fabs(sides[i]);
    }
    EXPECT_GT(size, 1.0);
    restart();
  }
}

// The segment (0.5, 0) to (1.5, 0) loads half of each bottom side: its total is the
// mean load times 1, and its moment about x = 1 that of the linear load. A segment
// along the interior line x = 1 loads the side the two elements share once. Reversing
// a segment (stations 2 to 1) changes nothing.
TEST_F(InterpolatedLoads, PartsOfSidesAndSharedSidesAreLoadedOnce) {
  read(strip(interpolated("0.5 0 0 2\n1.5 0 0 4\n", "1 2\n")));
  EXPECT_NEAR(total(2), 3.0, 1e-12);
  EXPECT_NEAR(total(1), 0.0, 1e-12);
  // Moment about x = 1: the integral of (2 + 2 (x - 0.5)) (x - 1) over [0.5, 1.5] = 1/6.
  const double x[13] = {0, 0.5, 1, 1.5, 2, 0, 1, 2, 0, 0.5, 1, 1.5, 2};
  const int nodes[2][8] = {{1, 2, 3, 7, 11, 10, 9, 6}, {3, 4, 5, 8, 13, 12, 11, 7}};
  double moment = 0.0;
  for (int e = 0; e < 2; ++e)
    for (int k = 0; k < 8; ++k) moment += load(1, e + 1, 2 * k + 2) * (x[nodes[e][k] - 1] - 1.0);
  EXPECT_NEAR(moment, 1.0 / 6.0, 1e-12);
  const std::vector<double> forward = rows();
  restart();
  read(strip(interpolated("0.5 0 0 2\n1.5 0 0 4\n", "2 1\n")));
  const std::vector<double> backward = rows();
  for (std::size_t i = 0; i < forward.size(); ++i) EXPECT_NEAR(forward[i], backward[i], 1e-12) << i;
  restart();
  read(strip(interpolated("1 0 5 0\n1 1 5 0\n", "1 2\n")));
  EXPECT_NEAR(total(1), 5.0, 1e-12);
}

// On the slope from (0, 0) to (2, 1) of length sqrt 5, a load of 1 per unit length
// totals sqrt 5; per unit of the x projection 2, per unit of the y projection 1. The
// mesh is a triangle pair with that slope as a side.
TEST_F(InterpolatedLoads, ProjectedMeasuresAndListing) {
  const std::string mesh = header(4, 1) + set_cards(1, "TENSION_PLANA", "TR3", 2, "YOUNG=1000") +
                           geometry("1 1 1 2 3\n2 1 1 3 4\n1 0 0\n2 2 0\n3 2 1\n4 0 1\n") + FREE + "FUERZAS\n";
  const std::pair<std::string, double> cases[] = {{"", std::sqrt(5.0)}, {" X", 2.0}, {" Y", 1.0}};
  for (const auto& [word, expected] : cases) {
    read(mesh + section(1, interpolated("0 0 0 -1\n2 1 0 -1\n", "1 2" + word + "\n")));
    EXPECT_NEAR(total(2), -expected, 1e-12) << word;
    EXPECT_NEAR(total(1), 0.0, 1e-12) << word;
    const std::string sal = listing();
    EXPECT_NE(sal.find("     NUMERO DE CARGAS:    2\n"), std::string::npos);
    EXPECT_NE(sal.find("     NUMERO DE SEGMENTOS:    1\n"), std::string::npos);
    EXPECT_NE(sal.find("     CARGAS INTERMEDIAS\n"), std::string::npos);
    EXPECT_NE(sal.find("     TOTAL DE FUERZAS INTERMEDIAS\n"), std::string::npos);
    EXPECT_NE(sal.find("     TOTAL DE FUERZAS EN DIRECCION Y" + fmt::E(-expected, 14, 5)), std::string::npos)
        << sal;
    restart();
  }
}

// The stops of the block.
TEST_F(InterpolatedLoads, WrongCardsStop) {
  const std::pair<std::string, std::string> cases[] = {
      {interpolated("0 0 1\n", ""), "INTERF : TARJETA EQUIVOCADA EN CARGA"},
      {interpolated("0 0 1 UNO\n", ""), "INTERF : TARJETA EQUIVOCADA EN CARGA"},
      {interpolated("0 0 0 1\n2 0 0 1\n", "1 3\n"), "INTERF : TARJETA EQUIVOCADA EN SEGMENTO"},
      {interpolated("0 0 0 1\n2 0 0 1\n", "1\n"), "INTERF : TARJETA EQUIVOCADA EN SEGMENTO"},
      {interpolated("0 0 0 1\n2 0 0 1\n", "1 2 Z\n"), "INTERF : TARJETA EQUIVOCADA EN SEGMENTO"},
      {interpolated("0 0 0 1\n2 0 0 1\n", "1 1\n"), "INTERF : SEGMENTO CON LONGITUD NULA"},
      {interpolated("0 0 1 0\n0 1 1 0\n", "1 2 X\n"), "INTERF : SEGMENTO CON LONG. X NULA"},
      {interpolated("0 0 0 1\n2 0 0 1\n", "1 2 Y\n"), "INTERF : SEGMENTO CON LONG. Y NULA"},
      {interpolated("0 0 0 1\n3 0 0 1\n", "1 2\n"), "INTERF: SEGMENTO NO CUBIERTO POR EL SET"},
      {interpolated("0 0.2 0 1\n2 0.2 0 1\n", "1 2\n"), "INTERF: SEGMENTO NO CUBIERTO POR EL SET"},
      {"INTERPOLADAS\n0 0 0 1\nFIN_FUERZAS\n", "INTERF : TARJETA EQUIVOCADA EN CARGA"},
  };
  for (const auto& [body, message] : cases) {
    EXPECT_EQ(stop_of(strip(body)), message) << body;
    restart();
  }
  EXPECT_EQ(stop_of(header(8, 1) + set_cards(1, "SOLIDO", "HE8", 1, "YOUNG=1000") +
                    geometry("1 1 1 2 3 4 5 6 7 8\n1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n5 0 0 1\n6 1 0 1\n"
                             "7 1 1 1\n8 0 1 1\n") +
                    FREE + "FUERZAS\n" + section(1, interpolated("", ""))),
            "INTERF: TIPO DE PROBLEMA NO DISPONIBLE");
}

}  // namespace
}  // namespace vortan
