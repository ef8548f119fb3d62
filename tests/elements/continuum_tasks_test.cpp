#include <gtest/gtest.h>

#include <cmath>

#include "element_model.h"
#include "run/errstp.h"

namespace vortan {
namespace {

using test::active;
using test::build_model;
using test::ElementModel;
using test::run_task;

class ContinuumTasks : public ::testing::Test {
 protected:
  void TearDown() override {
    reset_active_set();
    reset_run_state();
  }
};

ElementModel unit_square(double e, double nu, double t) {
  ElementModel m;
  m.coordinates = {0, 0, 1, 0, 1, 1, 0, 1};
  m.elements = {{1, 2, 3, 4}};
  m.props = {e, nu, 0.0, t, 0.0};
  return m;
}

// A distorted eight-node quadrilateral (curved sides) for patch properties.
ElementModel distorted_qu8(int problem_type) {
  ElementModel m;
  m.problem_type = problem_type;
  m.element_type = 4;
  m.coordinates = {1.0, 0.1, 2.1, 0.0, 3.0, 0.2, 3.1, 1.2, 2.9, 2.0, 2.0, 2.2, 1.2, 1.9, 1.1, 1.0};
  m.elements = {{1, 2, 3, 4, 5, 6, 7, 8}};
  m.props = {210.0, 0.3, 7.8, 0.5, 2.0};
  if (problem_type == 3) m.nstre = m.nstr1 = 4;
  return m;
}

TEST_F(ContinuumTasks, UnitSquareStiffnessIsSymmetricAndBalanced) {
  build_model(unit_square(1.0, 0.0, 1.0));
  run_task(1, ElementTask::stiffness);
  const double* k = active(ACTIVE.RIGID);
  EXPECT_NEAR(k[0], 0.5, 1e-8);  // single-precision Gauss points
  for (int i = 0; i < 8; ++i) {
    double row = 0.0;
    for (int j = 0; j < 8; ++j) {
      EXPECT_NEAR(k[i + 8 * j], k[j + 8 * i], 1e-14);
      row += k[i + 8 * j];
    }
    EXPECT_NEAR(row, 0.0, 1e-12) << "row " << i;
  }
}

// A linear displacement field is reproduced exactly: uniform strains, stresses D e,
// and a stiffness that gives no force for rigid-body motions.
TEST_F(ContinuumTasks, DistortedElementsPassThePatchTest) {
  for (int type : {1, 2, 3}) {
    build_model(distorted_qu8(type));
    const ActiveSetRecord& a = ACTIVE;
    const double ex = 1e-3, ey = -2e-3, gxy = 5e-4;
    gather_element(1);
    double* u = active(a.DESLO);
    const double* x = active(a.COREL);
    for (int k = 0; k < 8; ++k) {
      u[2 * k] = ex * x[2 * k] + gxy * x[2 * k + 1];
      u[2 * k + 1] = ey * x[2 * k + 1];
    }
    ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stresses);
    ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::constitutive_matrix);
    const double* d = active(a.DMATZ);
    const double* s = active(a.TENSG);
    const int n = a.NSTRE;
    for (int g = 0; g < a.NGAUS; ++g) {
      const double r = active(a.CORPG)[2 * g];
      const double strain[4] = {ex, ey, gxy, type == 3 ? (ex * r + gxy * active(a.CORPG)[2 * g + 1]) / r : 0.0};
      for (int i = 0; i < 3; ++i) {
        double expected = 0.0;
        for (int j = 0; j < n; ++j) expected += d[i + n * j] * strain[j];
        if (type == 3) continue;  // the hoop strain varies over the element
        EXPECT_NEAR(s[a.NSTR1 * g + i], expected, 1e-9) << "type " << type << " point " << g;
      }
      if (type == 1) {
        EXPECT_EQ(s[a.NSTR1 * g + 3], 0.0);
      }
      if (type == 2) {
        EXPECT_NEAR(s[a.NSTR1 * g + 3], 0.3 * (s[a.NSTR1 * g] + s[a.NSTR1 * g + 1]), 1e-12);
      }
    }
    if (type == 3) continue;
    ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stiffness);
    const double* k = active(a.RIGID);
    const double theta = 1e-3;
    for (int i = 0; i < 16; ++i) {
      double translation = 0.0, rotation = 0.0;
      for (int j = 0; j < 8; ++j) {
        translation += k[i + 16 * (2 * j)];
        rotation += k[i + 16 * (2 * j)] * (-theta * x[2 * j + 1]) + k[i + 16 * (2 * j + 1)] * (theta * x[2 * j]);
      }
      EXPECT_NEAR(translation, 0.0, 1e-9);
      EXPECT_NEAR(rotation, 0.0, 1e-9);
    }
  }
}

TEST_F(ContinuumTasks, InternalForcesEqualStiffnessTimesDisplacements) {
  ElementModel m = distorted_qu8(2);
  build_model(m);
  const ActiveSetRecord& a = ACTIVE;
  gather_element(1);
  double* u = active(a.DESLO);
  for (int i = 0; i < 16; ++i) u[i] = std::sin(1.0 + i);
  ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stiffness);
  std::vector<double> ku(16, 0.0);
  for (int i = 0; i < 16; ++i)
    for (int j = 0; j < 16; ++j) ku[i] += active(a.RIGID)[i + 16 * j] * u[j];
  ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::internal_forces);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(active(a.FUERZ)[i], ku[i], 1e-9 * (1 + std::fabs(ku[i])));
}

TEST_F(ContinuumTasks, SolidHexahedraHaveRigidBodyModes) {
  for (int type : {6, 7}) {
    ElementModel m;
    m.problem_type = 4;
    m.element_type = type;
    m.ndime = 3;
    m.nstre = m.nstr1 = 6;
    m.ndofn = 3;
    const int nodes = type == 6 ? 8 : 20;
    std::vector<double> natural(3 * nodes);
    double f[27], d[81];
    // Node positions: evaluate the shape functions at each node to find its corner.
    for (int n = 0; n < nodes; ++n) {
      for (double s : {-1.0, 0.0, 1.0})
        for (double t : {-1.0, 0.0, 1.0})
          for (double w : {-1.0, 0.0, 1.0}) {
            FUNFOR(s, t, w, type, 3, f, d);
            if (std::fabs(f[n] - 1.0) < 1e-12) natural[3 * n] = s, natural[3 * n + 1] = t, natural[3 * n + 2] = w;
          }
    }
    for (int n = 0; n < nodes; ++n) {
      const double s = natural[3 * n], t = natural[3 * n + 1], w = natural[3 * n + 2];
      m.coordinates.push_back(2.0 + s + 0.1 * t * w);
      m.coordinates.push_back(1.0 + 0.8 * t + 0.05 * s);
      m.coordinates.push_back(0.5 * w + 0.1 * s * t);
    }
    std::vector<int> connectivity(nodes);
    for (int n = 0; n < nodes; ++n) connectivity[n] = n + 1;
    m.elements = {connectivity};
    m.props = {100.0, 0.25, 1.0, 0.0, 0.0};
    build_model(m);
    run_task(1, ElementTask::stiffness);
    const int n = 3 * nodes;
    const double* k = active(ACTIVE.RIGID);
    const double* x = active(ACTIVE.COREL);
    for (int i = 0; i < n; ++i) {
      double tz = 0.0, rz = 0.0, diag = k[i + n * i];
      for (int j = 0; j < nodes; ++j) {
        tz += k[i + n * (3 * j + 2)];
        rz += -k[i + n * (3 * j)] * x[3 * j + 1] + k[i + n * (3 * j + 1)] * x[3 * j];
      }
      EXPECT_GT(k[i + n * i], 0.0);
      EXPECT_NEAR(tz, 0.0, 1e-10 * diag) << type;
      EXPECT_NEAR(rz, 0.0, 1e-9 * diag) << type;
    }
  }
}

TEST_F(ContinuumTasks, SelfWeightAndLumpedMass) {
  ElementModel m = unit_square(1.0, 0.0, 1.0);
  m.props = {1.0, 0.0, 0.0, 1.0, 1.0};
  build_model(m);
  run_task(1, ElementTask::self_weight);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(active(ACTIVE.PESOP)[2 * k], 0.0);
    EXPECT_NEAR(active(ACTIVE.PESOP)[2 * k + 1], -0.25, 1e-12);
  }
  run_task(1, ElementTask::mass_matrix);  // zero density: a zero mass matrix and no error
  for (int i = 0; i < 64; ++i) EXPECT_EQ(active(ACTIVE.XMASA)[i], 0.0);

  ElementModel q = distorted_qu8(1);
  build_model(q);
  ELEMENT_TOTALS.structure_mass = 0.0;
  run_task(1, ElementTask::mass_matrix);
  double diagonal = 0.0;
  for (int i = 0; i < 16; ++i) {
    EXPECT_GT(active(ACTIVE.XMASA)[i + 16 * i], 0.0);
    diagonal += active(ACTIVE.XMASA)[i + 16 * i];
  }
  // Area of the element times thickness times density, counted once per direction.
  double area = 0.0;
  for (int g = 0; g < ACTIVE.NGAUS; ++g) area += active(ACTIVE.DVOLU)[g];
  EXPECT_NEAR(ELEMENT_TOTALS.structure_mass, area * 7.8, 1e-12);
  EXPECT_NEAR(diagonal, 2 * area * 7.8, 1e-10);
}

TEST_F(ContinuumTasks, AxisymmetricStiffnessBalancesAxialTranslation) {
  build_model(distorted_qu8(3));
  run_task(1, ElementTask::stiffness);
  const double* k = active(ACTIVE.RIGID);
  for (int i = 0; i < 16; ++i) {
    double axial = 0.0;
    for (int j = 0; j < 8; ++j) axial += k[i + 16 * (2 * j + 1)];
    EXPECT_NEAR(axial, 0.0, 1e-9);
  }
  // A uniform radial displacement is not free: it strains the hoop direction.
  double radial = 0.0;
  for (int j = 0; j < 8; ++j) radial += k[0 + 16 * (2 * j)];
  EXPECT_GT(std::fabs(radial), 1e-3);
}

TEST_F(ContinuumTasks, InclinedSupportTurnsTheNodesPair) {
  build_model(unit_square(1.0, 0.25, 1.0));
  run_task(1, ElementTask::stiffness);
  std::vector<double> plain(active(ACTIVE.RIGID), active(ACTIVE.RIGID) + 64);
  const double alpha = 0.4;
  PROBLEM.MAPOY = 1;
  PROBLEM.APOYO = DIRECT(RUN.NXTPOS, RUN.MEMORY, 1, "APOYO", INT_WORDS);
  PROBLEM.APANG = DIRECT(RUN.NXTPOS, RUN.MEMORY, 1, "APANG", REAL_WORDS);
  WORK.int_at(PROBLEM.APOYO) = 2;
  WORK.real_at(PROBLEM.APANG) = alpha;
  run_task(1, ElementTask::stiffness);
  const double* k = active(ACTIVE.RIGID);
  // Node 2's unknowns (2, 3) become components along (c, s) and (-s, c).
  const double c = std::cos(alpha), s = std::sin(alpha);
  EXPECT_NEAR(k[2 + 8 * 2], c * c * plain[2 + 8 * 2] + 2 * c * s * plain[2 + 8 * 3] + s * s * plain[3 + 8 * 3], 1e-12);
  EXPECT_NEAR(k[0 + 8 * 3], -s * plain[0 + 8 * 2] + c * plain[0 + 8 * 3], 1e-12);
  EXPECT_NEAR(k[0], plain[0], 1e-14);
}

TEST_F(ContinuumTasks, UnknownTaskAndUnstoredRecords) {
  build_model(unit_square(1.0, 0.0, 1.0));
  try {
    run_task(1, static_cast<ElementTask>(ELEMENT_TASK_COUNT));
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "ERROR EN LA SELECCION DE TAREA EN ELETR3");
  }
  try {
    run_task(1, ElementTask::stiffness, "RRRMRRRRRRR");  // asks for a stiffness that has no storage
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "GETSER: NO MEDIA FOUND FOR THE REQUEST");
  }
}

}  // namespace
}  // namespace vortan
