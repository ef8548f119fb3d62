// The pieces the post-processing files are built from: the neutral file's record
// layouts, the element codes and node orders, the KELDAR pieces, the stress component
// tables and the principal stresses.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "elements/shape_functions.h"
#include "input/catalogue.h"
#include "post/element_shapes.h"
#include "post/femview_records.h"
#include "post/principal_stresses.h"
#include "post/stress_components.h"

namespace vortan {
namespace {

using Point = std::array<double, 3>;

TEST(FemviewRecords, EveryLayoutMatchesItsFields) {
  using namespace femview;
  EXPECT_EQ(block_header(-1, "VOLADI"), "   -1CVOLADI");
  EXPECT_EQ(block_header(-1, "VOL"), "   -1CVOL   ");       // a short name is padded
  EXPECT_EQ(block_header(-1, "VOLADIZO"), "   -1CVOLADI");  // a long one is cut
  EXPECT_EQ(block_header(4, "DESPLA"), "    4CDESPLA");
  EXPECT_EQ(block_header(100, "STR_RESULTANTS"), "  100CSTR_RE");
  EXPECT_EQ(end_of_block(), " -3");
  EXPECT_EQ(end_of_file(), " 9999");
  const double v[7] = {0.5, -0.027949, 0.0, 12345.678, -1.0e-12, 1.0, 2.0};
  EXPECT_EQ(values(-1, 2, v, 2), " -1    2 0.50000E+00-0.27949E-01");
  EXPECT_EQ(values(-2, 12, v + 2, 3), " -2   12 0.00000E+00 0.12346E+05-0.10000E-11");
  EXPECT_EQ(values(-1, 1, v, 7).size(), 8u + 6 * 12);  // never more than six values
  const long long header[4] = {1, 10, 7, 7};
  EXPECT_EQ(element_header(-1, header, 4), " -1    1   10    7    7");
  long long nodes[16];
  for (int k = 0; k < 16; ++k) nodes[k] = 100 + k;
  EXPECT_EQ(node_list(-2, nodes, 3), " -2  100  101  102");
  EXPECT_EQ(node_list(-2, nodes, 16).size(), 3u + 15 * 5);
  EXPECT_EQ(result_set(-4, "TENGAU", 3, 4, 1), " -4  TENGAU      3    4    1");
  EXPECT_EQ(result_set(-4, "PRCOMPSTR", 3, 4, 1), " -4  PRCOMPST    3    4    1");
  const int sxy[5] = {1, 4, 1, 2, 0};
  EXPECT_EQ(component(-5, "SXY", sxy), " -5  SXY         1    4    1    2    0" + std::string(16, ' '));
  const int positions[3] = {1, 2, 3};
  EXPECT_EQ(result_layout(-6, 1, 3, positions, 3), " -6    1    3  1  2  3");
  const long long g[7] = {12, 10, 1, 3, 4, 1, 9};
  EXPECT_EQ(element_result_header(-1, g, 7), " -1   12   10    1    3    4    1    9");
}

TEST(FemviewTypeCodes, TableAndInheritance) {
  const int table[][3] = {{3, 2, 11}, {3, 3, 7}, {3, 4, 9},  {3, 6, 8},  {3, 8, 1},  {3, 15, 5}, {3, 20, 4}, {2, 2, 11},
                          {2, 3, 7},  {2, 4, 9}, {2, 6, 8}, {2, 8, 10}, {2, 9, 10}, {1, 2, 11}, {1, 3, 12}};
  for (const auto& row : table) EXPECT_EQ(femview_type_code(row[0], row[1], 99), row[2]) << row[0] << " " << row[1];
  // A combination missing from the table keeps the previous element's code.
  EXPECT_EQ(femview_type_code(3, 10, 4), 4);
  EXPECT_EQ(femview_type_code(2, 5, 9), 9);
  EXPECT_EQ(femview_type_code(1, 4, 0), 0);
}

// Natural coordinates of the nodes of a type: the point of a fine grid where the
// node's function is 1 and every other 0.
std::vector<Point> natural_nodes(int type) {
  const int nodes = element_nodes(type);
  const ElementShape shape = element_shape(type);
  const bool simplex = shape == ElementShape::triangle || shape == ElementShape::tetrahedron;
  const std::vector<double> axis = simplex ? std::vector<double>{0.0, 0.5, 1.0}
                                           : std::vector<double>{-1.0, -0.5, 0.0, 0.5, 1.0};
  const std::vector<double> wedge_u = {-1.0, 0.0, 1.0};
  const int dim = element_natural_dimension(type);
  std::vector<Point> found(nodes, Point{9, 9, 9});
  for (double s : axis)
    for (double t : dim > 1 ? axis : std::vector<double>{0.0})
      for (double u : dim > 2 ? (shape == ElementShape::wedge ? wedge_u : axis) : std::vector<double>{0.0}) {
        double f[MAX_SHAPE_FUNCTIONS] = {}, d[3 * MAX_SHAPE_FUNCTIONS] = {};
        FUNFOR(s, t, u, type, dim, f, d);
        for (int k = 0; k < nodes; ++k) {
          double others = 0.0;
          for (int j = 0; j < nodes; ++j)
            if (j != k) others += std::fabs(f[j]);
          if (std::fabs(f[k] - 1.0) < 1e-12 && others < 1e-12) found[k] = {s, t, u};
        }
      }
  return found;
}

TEST(FemviewNodeOrders, CornersFirstAndTheFixedOrders) {
  struct Case {
    int type;
    int dimension;
    std::vector<int> order;
    int code;
  };
  const Case cases[] = {
      {ELEM_QU9, 2, {1, 3, 5, 7, 2, 4, 6, 8}, 10},  // the centre node is dropped
      {ELEM_QU8, 2, {1, 3, 5, 7, 2, 4, 6, 8}, 10},
      {ELEM_TR6, 2, {1, 3, 5, 2, 4, 6}, 8},
      {ELEM_TLCL, 2, {1, 2, 3, 4, 5, 6}, 8},  // its corners come first already
      {ELEM_QU4, 2, {1, 2, 3, 4}, 9},
      {ELEM_HE8, 3, {1, 2, 3, 4, 5, 6, 7, 8}, 1},
      {ELEM_HE20, 3, {1, 3, 5, 7, 13, 15, 17, 19, 2, 4, 6, 8, 9, 10, 11, 12, 14, 16, 18, 20}, 4},
      {ELEM_PI15, 3, {1, 2, 3, 4, 5, 6, 10, 11, 12, 7, 8, 9, 13, 14, 15}, 5},
      {ELEM_TE10, 3, {1, 2, 3, 4}, 9},
      {ELEM_LI3, 1, {1, 2, 3}, 12},
  };
  for (const Case& c : cases) {
    const WrittenElement w = femview_element(c.type, false);
    EXPECT_EQ(w.dimension, c.dimension) << c.type;
    EXPECT_EQ(std::vector<int>(w.positions, w.positions + w.count), c.order) << c.type;
    EXPECT_EQ(femview_type_code(w.dimension, w.count, 0), c.code) << c.type;
  }
  // A beam member is a line between its end nodes, whatever its reference node.
  const WrittenElement member = femview_element(0, true);
  EXPECT_EQ(member.dimension, 1);
  EXPECT_EQ(std::vector<int>(member.positions, member.positions + member.count), (std::vector<int>{1, 2}));
  // The 27-node brick is written as the 20-node brick: the same points in the same order.
  const std::vector<Point> he20 = natural_nodes(ELEM_HE20), he27 = natural_nodes(ELEM_HE27);
  const WrittenElement w20 = femview_element(ELEM_HE20, false), w27 = femview_element(ELEM_HE27, false);
  ASSERT_EQ(w27.count, 20);
  for (int k = 0; k < 20; ++k) EXPECT_EQ(he27[w27.positions[k] - 1], he20[w20.positions[k] - 1]) << k;
}

double signed_area(const Point& a, const Point& b, const Point& c) {
  return 0.5 * ((b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]));
}

TEST(KeldarPieces, TrianglesCoverEachSurfaceElementCounterClockwise) {
  const std::pair<int, int> cases[] = {{ELEM_TR3, 1}, {ELEM_QU4, 2}, {ELEM_TR6, 4}, {ELEM_QU8, 6}, {ELEM_QU9, 8}};
  for (const auto& [type, expected] : cases) {
    const std::vector<Point> x = natural_nodes(type);
    int pieces[MAX_PIECES][8];
    ASSERT_EQ(keldar_pieces(type, false, KELDAR_TRIANGLES, pieces), expected) << type;
    double area = 0.0;
    for (int p = 0; p < expected; ++p) {
      const double a = signed_area(x[pieces[p][0] - 1], x[pieces[p][1] - 1], x[pieces[p][2] - 1]);
      EXPECT_GT(a, 0.0) << type << " piece " << p;
      area += a;
    }
    EXPECT_NEAR(area, element_shape(type) == ElementShape::triangle ? 0.5 : 4.0, 1e-12) << type;
  }
  // The plate triangle: corners (0,0), (1,0), (0,1), then the mid-sides 1-2, 2-3, 3-1.
  const std::vector<Point> tlcl = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.5, 0, 0}, {0.5, 0.5, 0}, {0, 0.5, 0}};
  int pieces[MAX_PIECES][8];
  ASSERT_EQ(keldar_pieces(ELEM_TLCL, false, KELDAR_TRIANGLES, pieces), 4);
  for (int p = 0; p < 4; ++p)
    EXPECT_NEAR(signed_area(tlcl[pieces[p][0] - 1], tlcl[pieces[p][1] - 1], tlcl[pieces[p][2] - 1]), 0.125, 1e-15);
  // Shapes foreign to a mesh code have no place in it.
  EXPECT_EQ(keldar_pieces(ELEM_HE8, false, KELDAR_TRIANGLES, pieces), 0);
  EXPECT_EQ(keldar_pieces(ELEM_QU4, false, KELDAR_LINES, pieces), 0);
  EXPECT_EQ(keldar_pieces(0, true, KELDAR_TRIANGLES, pieces), 0);
  EXPECT_EQ(keldar_pieces(ELEM_HE8, false, KELDAR_TETRAHEDRA, pieces), 0);
  EXPECT_EQ(keldar_pieces(ELEM_LI3, false, KELDAR_LINES, pieces), 2);
  EXPECT_EQ(keldar_pieces(0, true, KELDAR_LINES, pieces), 1);
}

// Jacobian determinant of the linear brick whose corners sit at the given points, at
// the natural point (s, t, u) of the brick.
double brick_jacobian(const std::vector<Point>& corners, double s, double t, double u) {
  double f[MAX_SHAPE_FUNCTIONS], d[3 * MAX_SHAPE_FUNCTIONS];
  FUNFOR(s, t, u, ELEM_HE8, 3, f, d);
  double j[3][3] = {};
  for (int k = 0; k < 8; ++k)
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) j[a][b] += corners[k][a] * d[b + 3 * k];
  return j[0][0] * (j[1][1] * j[2][2] - j[1][2] * j[2][1]) - j[0][1] * (j[1][0] * j[2][2] - j[1][2] * j[2][0]) +
         j[0][2] * (j[1][0] * j[2][1] - j[1][1] * j[2][0]);
}

// A brick written with the nodes of an element, placed at the element's natural
// coordinates, is a sound brick: its Jacobian is positive inside.
void expect_sound_brick(int type, const std::vector<Point>& x) {
  int pieces[MAX_PIECES][8];
  ASSERT_EQ(keldar_pieces(type, false, KELDAR_BRICKS, pieces), 1) << type;
  std::vector<Point> corners;
  for (int k = 0; k < 8; ++k) corners.push_back(x[pieces[0][k] - 1]);
  const double g = std::sqrt(1.0 / 3.0);
  for (double s : {-g, g})
    for (double t : {-g, g})
      for (double u : {-g, g}) EXPECT_GT(brick_jacobian(corners, s, t, u), 1e-3) << type;
}

TEST(KeldarPieces, SolidsBecomeSoundBricksOrTetrahedra) {
  for (int type : {ELEM_HE8, ELEM_HE20, ELEM_HE27, ELEM_PI15, ELEM_TE4, ELEM_TE10})
    expect_sound_brick(type, natural_nodes(type));
  // The brick of a 20-node element has the same corners as the linear brick.
  const std::vector<Point> he8 = natural_nodes(ELEM_HE8), he20 = natural_nodes(ELEM_HE20);
  int pieces[MAX_PIECES][8];
  keldar_pieces(ELEM_HE20, false, KELDAR_BRICKS, pieces);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(std::fabs(he20[pieces[0][k] - 1][0]), 1.0) << k;
  EXPECT_NEAR(brick_jacobian(he8, 0, 0, 0), 1.0, 1e-15);
  ASSERT_EQ(keldar_pieces(ELEM_TE10, false, KELDAR_TETRAHEDRA, pieces), 1);
  EXPECT_EQ(std::vector<int>(pieces[0], pieces[0] + 4), (std::vector<int>{1, 2, 3, 4}));
}

TEST(StressComponents, TablesFollowTheStressRecords) {
  const ComponentTable* axisymmetric = femview_stress_components(StressLayout::axisymmetric);
  ASSERT_NE(axisymmetric, nullptr);
  ASSERT_EQ(axisymmetric->count, 4);
  // The record holds (sr, sz, trz, hoop); the names run SR, SZ, ST, SRZ.
  const int sources[4] = {0, 1, 3, 2};
  const char* names[4] = {"SR", "SZ", "ST", "SRZ"};
  for (int c = 0; c < 4; ++c) {
    EXPECT_STREQ(axisymmetric->component[c].name, names[c]);
    EXPECT_EQ(axisymmetric->component[c].source, sources[c]);
  }
  const ComponentTable* solid = femview_stress_components(StressLayout::solid);
  ASSERT_NE(solid, nullptr);
  EXPECT_STREQ(solid->component[5].name, "SYZ");
  EXPECT_EQ(solid->component[5].i * 10 + solid->component[5].j, 23);
  EXPECT_EQ(femview_stress_components(StressLayout::flat_shell), nullptr);
  EXPECT_EQ(resultant_components(StressLayout::flat_shell, 8)->count, 8);
  EXPECT_EQ(resultant_components(StressLayout::flat_shell, 6)->count, 6);
  EXPECT_EQ(resultant_components(StressLayout::solid, 6), nullptr);
  // Smoothed records to tensors: plane (sx, sy, txy, sz), axisymmetric (sr, sz, trz, hoop).
  const double plane[4] = {1, 2, 3, 4};
  double t[6];
  continuum_tensor(StressLayout::plane, plane, t);
  EXPECT_EQ(std::vector<double>(t, t + 6), (std::vector<double>{1, 2, 4, 3, 0, 0}));
  continuum_tensor(StressLayout::axisymmetric, plane, t);
  EXPECT_EQ(std::vector<double>(t, t + 6), (std::vector<double>{1, 2, 4, 3, 0, 0}));
}

TEST(PrincipalStresses, EigenpairsOfASymmetricTensor) {
  const double tensor[6] = {3.0, -2.0, 1.0, 1.5, -0.5, 0.75};
  double values[3], vectors[3][3];
  principal_stresses(tensor, values, vectors);
  const double a[3][3] = {{3.0, 1.5, -0.5}, {1.5, -2.0, 0.75}, {-0.5, 0.75, 1.0}};
  EXPECT_LE(values[0], values[1]);
  EXPECT_LE(values[1], values[2]);
  EXPECT_NEAR(values[0] + values[1] + values[2], 2.0, 1e-12);  // the trace
  for (int k = 0; k < 3; ++k) {
    double norm = 0.0;
    for (int i = 0; i < 3; ++i) {
      double av = 0.0;
      for (int j = 0; j < 3; ++j) av += a[i][j] * vectors[j][k];
      EXPECT_NEAR(av, values[k] * vectors[i][k], 1e-12) << k;
      norm += vectors[i][k] * vectors[i][k];
    }
    EXPECT_NEAR(norm, 1.0, 1e-12);
  }
}

TEST(PrincipalStresses, TractionAndCompressionVectors) {
  // Pure shear in the plane: traction 1 along 45 degrees, compression 1 across it.
  const double shear[6] = {0, 0, 0, 1, 0, 0};
  PrincipalVectors p = principal_vectors(shear, true);
  const double r = std::sqrt(0.5);
  EXPECT_NEAR(p.traction[0], r, 1e-15);
  EXPECT_NEAR(p.traction[1], r, 1e-15);
  EXPECT_NEAR(std::hypot(p.compression[0], p.compression[1]), 1.0, 1e-15);
  EXPECT_NEAR(p.compression[0] * p.traction[0] + p.compression[1] * p.traction[1], 0.0, 1e-15);
  // Uniaxial tension has no compression; the in-plane form ignores zz.
  const double tension[6] = {2, 0, -7, 0, 0, 0};
  p = principal_vectors(tension, true);
  EXPECT_NEAR(p.traction[0], 2.0, 1e-15);
  EXPECT_EQ(p.compression[0], 0.0);
  EXPECT_EQ(p.compression[1], 0.0);
  // In three dimensions the same tensor compresses along z.
  p = principal_vectors(tension, false);
  EXPECT_NEAR(std::fabs(p.compression[2]), 7.0, 1e-12);
  EXPECT_NEAR(p.traction[0] * p.traction[0], 4.0, 1e-12);
  // Von Mises: uniaxial stress and pure shear.
  const double uniaxial[6] = {-5, 0, 0, 0, 0, 0};
  EXPECT_NEAR(von_mises(uniaxial), 5.0, 1e-14);
  const double shear3[6] = {0, 0, 0, 0, 0, 2};
  EXPECT_NEAR(von_mises(shear3), 2.0 * std::sqrt(3.0), 1e-14);
}

}  // namespace
}  // namespace vortan
