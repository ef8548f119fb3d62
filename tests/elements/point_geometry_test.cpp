#include "elements/point_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../test_support.h"
#include "elements/integration_rules.h"
#include "elements/shape_functions.h"
#include "run/errstp.h"

namespace vortan {
namespace {

constexpr double TWO_PI_SINGLE = 6.2831854820251465;

// The per-set arrays of one element and the geometry of its points.
struct Element {
  int code, ndime, nnode, ngaus;
  std::vector<double> COREL, POSGT, PESGT, FFORM, DERIV, DCART, CORPG, XJACI, XJACM;

  Element(int type_code, int dim, std::vector<double> coordinates, int points = 0)
      : code(type_code), ndime(dim), nnode(element_nodes(type_code)),
        ngaus(integration_point_count(type_code, points ? points : element_default_ngaus(type_code))),
        COREL(std::move(coordinates)), POSGT(3 * ngaus), PESGT(ngaus), FFORM(27), DERIV(81),
        DCART(81), CORPG(3 * ngaus), XJACI(9), XJACM(9) {
    REGINT(code, ngaus, POSGT.data(), PESGT.data());
  }

  double point(int g, int ntype, double thick = 0.0, int ielem = 1) {
    double dvolu = -1.0;
    PREVIO(ielem, g, ngaus, ndime, nnode, ntype, code, dvolu, thick, POSGT.data(),
           PESGT.data(), FFORM.data(), DERIV.data(), DCART.data(), COREL.data(), CORPG.data(),
           XJACI.data(), XJACM.data());
    return dvolu;
  }

  double volume(int ntype, double thick = 0.0) {
    double sum = 0.0;
    for (int g = 1; g <= ngaus; ++g) sum += point(g, ntype, thick);
    return sum;
  }
};

// Natural node coordinates of a type: the scanned points where one function is 1 and
// the others 0 (the node tables themselves are checked by the shape-function tests).
std::vector<double> parent_nodes(int code) {
  const int dim = element_natural_dimension(code);
  const int n = element_nodes(code);
  const double values[] = {-1.0, 0.0, 0.5, 1.0};
  std::vector<double> nodes(dim * n, 0.0);
  double F[27], D[81];
  for (double s : values)
    for (double t : values)
      for (double u : values) {
        FUNFOR(s, dim > 1 ? t : 0.0, dim > 2 ? u : 0.0, code, dim, F, D);
        for (int a = 0; a < n; ++a) {
          bool kronecker = std::abs(F[a] - 1.0) < 1e-14;
          for (int b = 0; b < n; ++b)
            if (b != a && std::abs(F[b]) > 1e-14) kronecker = false;
          if (kronecker) {
            const double x[3] = {s, t, u};
            for (int k = 0; k < dim; ++k) nodes[k + dim * a] = x[k];
          }
        }
      }
  return nodes;
}

// x = A s + b applied to every node.
std::vector<double> affine(std::vector<double> nodes, int dim, const double* A, const double* b) {
  std::vector<double> out(nodes.size());
  for (std::size_t a = 0; a < nodes.size() / dim; ++a)
    for (int i = 0; i < dim; ++i) {
      double x = b[i];
      for (int j = 0; j < dim; ++j) x += A[i + 3 * j] * nodes[j + dim * a];
      out[i + dim * a] = x;
    }
  return out;
}

std::string fatal_message(const std::function<void()>& f) {
  try {
    f();
  } catch (const FatalStop& stop) {
    return stop.message();
  }
  return "";
}

TEST(ElementPointGeometry, UnitSquareVolumeElements) {
  Element sq(ELEM_QU4, 2, {0, 0, 1, 0, 1, 1, 0, 1}, 4);
  for (int g = 1; g <= 4; ++g) {
    const double dv = sq.point(g, PLANE_STRESS);
    EXPECT_DOUBLE_EQ(PNTGEO.DJACB, 0.25);
    EXPECT_DOUBLE_EQ(dv, 0.25);
    EXPECT_EQ(PNTGEO.DVOLU, dv);
  }
  EXPECT_NEAR(sq.CORPG[0], (1.0 - 0.5773502588272095) / 2.0, 1e-15);
  EXPECT_NEAR(sq.CORPG[7], (1.0 + 0.5773502588272095) / 2.0, 1e-15);
  EXPECT_NEAR(sq.volume(PLANE_STRESS), 1.0, 1e-15);
  EXPECT_NEAR(sq.volume(PLANE_STRESS, 0.0), 1.0, 1e-15);  // per unit thickness
  EXPECT_NEAR(sq.volume(PLANE_STRESS, 0.3), 0.3, 1e-15);
  EXPECT_NEAR(sq.volume(PLANE_STRAIN, 0.3), 0.3, 1e-15);
  EXPECT_NEAR(sq.volume(5, 0.3), 1.0, 1e-15);  // plates take the volume element as it is
}

// Solids of revolution: the volume elements sum to 2 pi times the first moment of the
// area about the axis (the radius is the first coordinate).
TEST(ElementPointGeometry, AxisymmetricVolumeIsFirstMomentTimesCircumference) {
  Element ring(ELEM_QU8, 2, {1, 0, 2, 0, 3, 0, 3, 1, 3, 2, 2, 2, 1, 2, 1, 1}, 9);
  EXPECT_NEAR(ring.volume(AXISYMMETRIC, 0.5), TWO_PI_SINGLE * 8.0, 1e-12);
  Element tri(ELEM_TR3, 2, {1, 0, 3, 0, 1, 2}, 3);
  EXPECT_NEAR(tri.volume(AXISYMMETRIC), TWO_PI_SINGLE * 2.0 * (5.0 / 3.0), 1e-12);
}

TEST(ElementPointGeometry, NonPositiveJacobianStops) {
  test::TempDir dir;
  test::write_file(dir.file("CASO.vtn"), "VORTAN\n");
  test::open_deck(dir.file("CASO.vtn"));
  Element clockwise(ELEM_QU4, 2, {0, 0, 0, 1, 1, 1, 1, 0}, 4);
  EXPECT_EQ(fatal_message([&] { clockwise.point(1, PLANE_STRESS, 0.0, 17); }),
            "JACOBM:DETER DEL JACOB CERO O NEGATIVO");
  const std::string listing = test::read_file(dir.file("CASO.sal"));
  EXPECT_NE(listing.find("PROGRAMA DETENIDO EN SUBRUTINA JACOBM\n"
                         " DETERMINANTE DEL JACOBIANO CERO O NEGATIVO\n"
                         " EN ELEMENTO NUMERO      17\n"
                         "    JACOBIANO: -0.250000E+00\n"),
            std::string::npos)
      << listing;
  reset_run_state();
  Element collapsed(ELEM_HE8, 3, std::vector<double>(24, 1.0), 8);
  EXPECT_EQ(fatal_message([&] { collapsed.point(1, 4); }),
            "JACOBM:DETER DEL JACOB CERO O NEGATIVO");
}

// Distorted and curved elements reproduce the gradient of a linear field exactly at
// every point, and the inverse Jacobian is the inverse.
TEST(ElementPointGeometry, CartesianDerivativesPassThePatchTest) {
  std::mt19937 gen(2024);
  std::uniform_real_distribution<double> shake(-0.15, 0.15);
  const double grad[3] = {0.7, -1.3, 2.1};
  for (int code : {ELEM_LI3, ELEM_TR6, ELEM_QU4, ELEM_QU8, ELEM_QU9, ELEM_HE8, ELEM_HE20,
                   ELEM_HE27, ELEM_TE10, ELEM_PI15}) {
    const int dim = element_natural_dimension(code);
    std::vector<double> nodes = parent_nodes(code);
    for (double& x : nodes) x = 1.5 * x + shake(gen);
    Element e(code, dim, nodes);
    for (int g = 1; g <= e.ngaus; ++g) {
      e.point(g, 4);
      for (int i = 0; i < dim; ++i) {
        double gi = 0.0;
        for (int a = 0; a < e.nnode; ++a) {
          double phi = 0.5;
          for (int k = 0; k < dim; ++k) phi += grad[k] * nodes[k + dim * a];
          gi += e.DCART[i + dim * a] * phi;
        }
        EXPECT_NEAR(gi, grad[i], 1e-11) << "code " << code << " point " << g;
        for (int j = 0; j < dim; ++j) {
          double p = 0.0;
          for (int k = 0; k < dim; ++k) p += e.XJACI[i + dim * k] * e.XJACM[k + dim * j];
          EXPECT_NEAR(p, i == j ? 1.0 : 0.0, 1e-12) << code;
        }
      }
    }
  }
}

// Under x = A s + b every element's volume is det(A) times the parent measure.
TEST(ElementPointGeometry, AffineElementsHaveTheMappedVolume) {
  const double A[9] = {1.2, 0.3, -0.2, 0.1, 0.9, 0.25, 0.4, -0.1, 1.1};  // column by column
  const double b[3] = {2.0, -1.0, 0.5};
  const double detA = A[0] * (A[4] * A[8] - A[7] * A[5]) - A[3] * (A[1] * A[8] - A[7] * A[2]) +
                      A[6] * (A[1] * A[5] - A[4] * A[2]);
  const double detA2 = A[0] * A[4] - A[3] * A[1];
  struct Case {
    int code;
    double parent;
  } cases[] = {{ELEM_HE20, 8.0}, {ELEM_HE27, 8.0}, {ELEM_TE4, 1.0 / 6.0}, {ELEM_TE10, 1.0 / 6.0},
               {ELEM_PI15, 1.0}, {ELEM_TR6, 0.5},  {ELEM_QU9, 4.0},      {ELEM_LI2, 2.0}};
  for (const Case& c : cases) {
    const int dim = element_natural_dimension(c.code);
    const double det = dim == 3 ? detA : (dim == 2 ? detA2 : A[0]);
    const double A2[9] = {A[0], A[1], 0, A[3], A[4], 0, 0, 0, 0};
    Element e(c.code, dim, affine(parent_nodes(c.code), dim, dim == 3 ? A : A2, b));
    // The single-precision weights of the solid rules sum to their parent within 2e-8.
    EXPECT_NEAR(e.volume(4), det * c.parent, 1e-7 * det * c.parent) << c.code;
  }
}

TEST(ElementPointGeometry, TruncatedConeAtItsCentre) {
  Element cone(ELEM_TRC2, 2, {1, 0, 2, 1});
  const double dv = cone.point(1, 6);
  EXPECT_NEAR(dv, std::sqrt(2.0) * 1.5 * TWO_PI_SINGLE, 1e-13);
  EXPECT_EQ(PNTGEO.DVOLU, dv);
  EXPECT_EQ(cone.CORPG[0], 1.5);
  EXPECT_EQ(cone.CORPG[1], 0.5);
  EXPECT_EQ(cone.FFORM[0], 0.5);
  EXPECT_EQ(cone.DERIV[1], 0.5);
  const char* failure = "PREVIO:ERROR EN LA GEOMETRIA";
  Element on_axis(ELEM_TRC2, 2, {0, 0, 0, 1});
  EXPECT_EQ(fatal_message([&] { on_axis.point(1, 6); }), failure);
  Element point_like(ELEM_TRC2, 2, {1, 1, 1, 1});
  EXPECT_EQ(fatal_message([&] { point_like.point(1, 6); }), failure);
  Element near_axis(ELEM_TRC2, 2, {5e-11, 0, 5e-11, 1});
  EXPECT_EQ(fatal_message([&] { near_axis.point(1, 6); }), failure);
}

// A beam element's points lie on its line: the volume elements add up to its length,
// the derivatives are taken along the line and the tangent is its first axis.
// Coincident nodes stop the run.
TEST(ElementPointGeometry, BeamElementAlongItsLine) {
  Element beam(ELEM_LI3, 2, {1, 1, 2.5, 3, 4, 5});  // straight, length 5, direction (0.6, 0.8)
  EXPECT_NEAR(beam.volume(BEAM_ELEMENT), 5.0, 1e-7);
  beam.point(2, BEAM_ELEMENT);
  EXPECT_NEAR(beam.XJACM[0], 0.6, 1e-15);
  EXPECT_NEAR(beam.XJACM[1], 0.8, 1e-15);
  EXPECT_NEAR(beam.XJACM[3], -0.8, 1e-15);
  EXPECT_NEAR(PNTGEO.DJACB, 2.5, 1e-14);
  // The derivatives along the line of a linear field x s, s the arc length from node 1.
  const double s[3] = {0.0, 2.5, 5.0};
  double slope = 0.0;
  for (int n = 0; n < 3; ++n) slope += beam.DCART[2 * n] * s[n];
  EXPECT_NEAR(slope, 1.0, 1e-14);
  EXPECT_NEAR(beam.CORPG[2], 1 + 0.6 * (2.5 + 2.5 * 0.5773502588272095), 1e-7);
  Element collapsed(ELEM_LI2, 2, {2, 2, 2, 2});
  EXPECT_EQ(fatal_message([&] { collapsed.point(1, BEAM_ELEMENT); }), "BVIGAS:ERROR AREA CERO O NEGATIVA");
}

TEST(ElementPointGeometry, InconsistentCallsStop) {
  Element flat(ELEM_HE8, 2, std::vector<double>(16, 0.0), 8);
  const std::string dim_stop = fatal_message([&] { flat.point(1, 4); });
  EXPECT_EQ(dim_stop.rfind("PREVIO:", 0), 0u);
  EXPECT_LE(dim_stop.size(), 40u);
}

}  // namespace
}  // namespace vortan
