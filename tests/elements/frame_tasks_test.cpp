// Bar and frame members: member axes, the closed-form stiffness of each member model
// and the member end forces of the frame tasks.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "element_model.h"
#include "elements/frame/frame_tasks.h"
#include "elements/frame/member_geometry.h"
#include "elements/vector_helpers.h"
#include "run/errstp.h"

namespace vortan {
namespace {

std::string stop_of(const std::function<void()>& call) {
  try {
    call();
  } catch (const FatalStop& stop) {
    return stop.message();
  }
  return "no stop";
}

class FrameMembers : public ::testing::Test {
 protected:
  void TearDown() override {
    reset_active_set();
    reset_run_state();
  }
  // One member (or several) of a frame set; props YOUNG AREA XINER [PESOVOL|YINER XJNER GCORT ...].
  void build(int ndime, int subtype, std::vector<double> coordinates, std::vector<std::vector<int>> elements,
             std::vector<double> props) {
    test::ElementModel m;
    m.problem_type = FRAME;
    m.element_type = 0;
    m.ndime = ndime;
    m.beam_subtype = subtype;
    const bool rotations = subtype != 1;
    m.ndofn = ndime == 2 ? (rotations ? 3 : 2) : (rotations ? 6 : 3);
    m.nstre = m.nstr1 = ndime == 3 && rotations ? 6 : 3;
    m.nnode = static_cast<int>(elements[0].size());
    m.coordinates = std::move(coordinates);
    m.elements = std::move(elements);
    props.resize(10, 0.0);
    m.props = props;
    test::build_model(m);
  }
  double K(int i, int j) const { return test::active(ACTIVE.RIGID)[(i - 1) + ACTIVE.NEVAB * (j - 1)]; }
};

// A horizontal plane bar of length 2 with EA = 4: EA/L = 2 on the axial terms and
// nothing on the transverse displacements.
TEST_F(FrameMembers, HorizontalPlaneBar) {
  build(2, 1, {1, 0, 3, 0}, {{1, 2}}, {2.0, 2.0});
  test::run_task(1, ElementTask::stiffness);
  EXPECT_DOUBLE_EQ(K(1, 1), 2.0);
  EXPECT_DOUBLE_EQ(K(1, 3), -2.0);
  EXPECT_DOUBLE_EQ(K(3, 3), 2.0);
  for (int j = 1; j <= 4; ++j) {
    EXPECT_EQ(K(2, j), 0.0);
    EXPECT_EQ(K(4, j), 0.0);
  }
}

// An inclined plane frame member: turned back into its axes the stiffness holds EA/L,
// 12EI/L^3, 6EI/L^2, 4EI/L and 2EI/L; a member hinged at its first node has
// 3EI/L^3, 3EI/L^2, 3EI/L and no stiffness against the rotation of that node.
TEST_F(FrameMembers, PlaneFrameAndHingedMemberConstants) {
  const double E = 1000, A = 0.5, I = 0.02;
  build(2, 3, {0, 0, 3, 4}, {{1, 2}}, {E, A, I, 0, 2});  // L = 5, rigid ("CONEXION=" 2)
  test::run_task(1, ElementTask::stiffness);
  const double c = 0.6, s = 0.8, L = 5;
  // Local stiffness k = T K T^T with T rotating (x, y) into the member axes.
  auto local = [&](int i, int j) {
    auto row = [&](int a, int m) {  // row a of T (1-based within the 6 variables), column m
      const int node = (a - 1) / 3, d = (a - 1) % 3, mn = (m - 1) / 3, md = (m - 1) % 3;
      if (node != mn) return 0.0;
      if (d == 2 || md == 2) return d == md ? 1.0 : 0.0;
      const double R[2][2] = {{c, s}, {-s, c}};
      return R[d][md];
    };
    double sum = 0.0;
    for (int m = 1; m <= 6; ++m)
      for (int n = 1; n <= 6; ++n) sum += row(i, m) * K(m, n) * row(j, n);
    return sum;
  };
  EXPECT_NEAR(local(1, 1), E * A / L, 1e-10);
  EXPECT_NEAR(local(1, 4), -E * A / L, 1e-10);
  EXPECT_NEAR(local(2, 2), 12 * E * I / (L * L * L), 1e-12);
  EXPECT_NEAR(local(2, 3), 6 * E * I / (L * L), 1e-12);
  EXPECT_NEAR(local(3, 3), 4 * E * I / L, 1e-12);
  EXPECT_NEAR(local(3, 6), 2 * E * I / L, 1e-12);
  EXPECT_NEAR(local(3, 5), -6 * E * I / (L * L), 1e-12);
  EXPECT_NEAR(local(1, 2), 0.0, 1e-12);
  reset_active_set();
  reset_run_state();
  build(2, 3, {0, 0, 5, 0}, {{1, 2}}, {E, A, I, 0, 3});  // hinged at node 1 ("CONEXION=" 3)
  test::run_task(1, ElementTask::stiffness);
  EXPECT_NEAR(K(2, 2), 3 * E * I / (L * L * L), 1e-12);
  EXPECT_NEAR(K(2, 5), -3 * E * I / (L * L * L), 1e-12);
  EXPECT_NEAR(K(2, 6), 3 * E * I / (L * L), 1e-12);
  EXPECT_NEAR(K(6, 6), 3 * E * I / L, 1e-12);
  for (int j = 1; j <= 6; ++j) EXPECT_EQ(K(3, j), 0.0);
  EXPECT_NEAR(K(1, 1), E * A / L, 1e-12);
}

// A space frame member in general position: symmetric, and the six rigid-body motions
// u = t + w x r, rotation w, produce no end forces.
TEST_F(FrameMembers, SpaceMemberHasTheRigidBodyModes) {
  build(3, 3, {0.3, -0.2, 0.1, 2.1, 1.4, 0.9, 5, -3, 2}, {{1, 2, 3}},
        {2e5, 0.01, 2e-4, 1e-4, 3e-4, 8e4});
  test::run_task(1, ElementTask::stiffness);
  const double x[2][3] = {{0.3, -0.2, 0.1}, {2.1, 1.4, 0.9}};
  for (int mode = 0; mode < 6; ++mode) {
    double u[12] = {};
    for (int n = 0; n < 2; ++n) {
      double t[3] = {}, w[3] = {};
      if (mode < 3) t[mode] = 1.0;
      else w[mode - 3] = 1.0;
      double wxr[3];
      cross_product(w, x[n], wxr);
      for (int i = 0; i < 3; ++i) {
        u[6 * n + i] = t[i] + wxr[i];
        u[6 * n + 3 + i] = w[i];
      }
    }
    for (int i = 1; i <= 12; ++i) {
      double f = 0.0;
      for (int j = 1; j <= 12; ++j) f += K(i, j) * u[j - 1];
      EXPECT_NEAR(f, 0.0, 1e-8) << "mode " << mode << " row " << i;
    }
  }
  for (int i = 1; i <= 12; ++i) {
    EXPECT_GT(K(i, i), 0.0);
    for (int j = 1; j <= 12; ++j) EXPECT_EQ(K(i, j), K(j, i));
  }
}

// The end forces of a plane frame member under an end displacement: k t u in local
// axes, first node then second.
TEST_F(FrameMembers, MemberEndForcesInLocalAxes) {
  build(2, 2, {0, 0, 0, 2}, {{1, 2}}, {100, 1, 3});  // vertical, L = 2, EA = 100, EI = 300
  gather_element(1);
  double* u = test::active(ACTIVE.DESLO);
  for (int i = 0; i < 6; ++i) u[i] = 0.0;
  u[3] = 0.01;  // node 2 moves along x: transverse to the member
  u[4] = 0.02;  // and along it
  ELETR3(1, 1, RECOMPUTE_ALL, ACTIVE.fetch_default, ElementTask::stresses);
  const double* f = test::active(ACTIVE.TENSG);
  // Local axes: x' = global y, y' = -global x: v'2 = -0.01, u'2 = 0.02.
  EXPECT_NEAR(f[0], -100 / 2.0 * 0.02, 1e-12);
  EXPECT_NEAR(f[3], 100 / 2.0 * 0.02, 1e-12);
  EXPECT_NEAR(f[1], 12 * 300 / 8.0 * 0.01, 1e-12);
  EXPECT_NEAR(f[4], -12 * 300 / 8.0 * 0.01, 1e-12);
  EXPECT_NEAR(f[2], 6 * 300 / 4.0 * 0.01, 1e-12);
  EXPECT_NEAR(f[5], 6 * 300 / 4.0 * 0.01, 1e-12);
  ELETR3(1, 1, RECOMPUTE_ALL, ACTIVE.fetch_default, ElementTask::internal_forces);
  const double* F = test::active(ACTIVE.FUERZ);
  EXPECT_NEAR(F[3], -f[4], 1e-12);  // global x at node 2 = -(local y)
  EXPECT_NEAR(F[4], f[3], 1e-12);
}

// Axes of space members: a vertical member without a reference node takes V2 along
// global y; an inclined one a horizontal V2 and an upward V3; a reference node puts V2
// on its side of the member.
TEST(FrameMemberAxes, SpaceMemberAxes) {
  double L = 0.0, axes[9];
  const double vertical[9] = {1, 1, 0, 1, 1, 4, 0, 0, 0};
  RIGVIG(3, vertical, L, 1, AXES_FROM_MEMBER, axes);
  EXPECT_EQ(L, 4.0);
  const double expected[9] = {0, 0, 1, 0, 1, 0, -1, 0, 0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(axes[i], expected[i]) << i;
  const double inclined[6] = {0, 0, 0, 3, 4, 12};
  RIGVIG(3, inclined, L, 1, AXES_FROM_MEMBER, axes);
  EXPECT_DOUBLE_EQ(L, 13.0);
  EXPECT_NEAR(axes[0], 3 / 13.0, 1e-15);
  EXPECT_NEAR(axes[2], 12 / 13.0, 1e-15);
  EXPECT_EQ(axes[5], 0.0);  // V2 horizontal
  EXPECT_GT(axes[8], 0.0);  // V3 upwards
  const double referenced[9] = {0, 0, 0, 2, 0, 0, 1, 0, -5};
  RIGVIG(3, referenced, L, 1, AXES_FROM_REFERENCE, axes);
  const double with_reference[9] = {1, 0, 0, 0, 0, -1, 0, 1, 0};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(axes[i], with_reference[i], 1e-15) << i;
  for (const double* x : {vertical, referenced}) {
    RIGVIG(3, x, L, 1, x == vertical ? AXES_FROM_MEMBER : AXES_FROM_REFERENCE, axes);
    double v3[3];
    cross_product(axes, axes + 3, v3);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(v3[i], axes[6 + i], 1e-15);  // right-handed
  }
}

// Members whose length or axes cannot be had stop the run: a plane member of zero
// length, a space member of zero length (its first axis), and a reference node on the
// member's line, exactly or within rounding.
TEST(FrameMemberAxes, DegenerateMembersStop) {
  double L = 0.0, axes[9];
  const double point[4] = {1, 2, 1, 2};
  EXPECT_EQ(stop_of([&] { RIGVIG(2, point, L, 7, AXES_FROM_MEMBER, axes); }), "RIGVIG:ERROR LONGITUD CERO");
  const double space_point[9] = {1, 2, 3, 1, 2, 3, 0, 0, 0};
  EXPECT_EQ(stop_of([&] { RIGVIG(3, space_point, L, 7, AXES_FROM_MEMBER, axes); }), "RIGVIG:ERROR LONGITUD CERO");
  EXPECT_EQ(stop_of([&] { RIGVIG(3, space_point, L, 7, AXES_FROM_REFERENCE, axes); }),
            "RIGVIG:ERROR EN EL VECTOR 1");
  const double on_line[9] = {0, 0, 0, 1, 1, 1, 3, 3, 3};
  EXPECT_EQ(stop_of([&] { RIGVIG(3, on_line, L, 7, AXES_FROM_REFERENCE, axes); }), "RIGVIG:ERROR EL VECTOR 2");
  const double near_line[9] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
  EXPECT_EQ(stop_of([&] { RIGVIG(3, near_line, L, 7, AXES_FROM_REFERENCE, axes); }), "RIGVIG:ERROR EL VECTOR 2");
  const double at_first_node[9] = {0, 0, 0, 1, 0, 0, 0, 0, 0};
  EXPECT_EQ(stop_of([&] { RIGVIG(3, at_first_node, L, 7, AXES_FROM_REFERENCE, axes); }),
            "RIGVIG:ERROR EL VECTOR 2");
}

// Fixed-end forces of a member released at its ends: a plane bar and a member hinged
// at its first node carry the load to their ends as a simply supported and a propped
// member do.
TEST(FrameMemberLoads, ReleasedEndsTakeNoMoment) {
  MemberLoad udl;
  udl.local[1] = -10.0;  // downwards on a horizontal member of length 6
  double f[12];
  fixed_end_forces(MemberModel::plane_hinged, 6.0, udl, f);
  EXPECT_NEAR(f[1], 3 * 10 * 6 / 8.0, 1e-12);
  EXPECT_NEAR(f[2], 0.0, 1e-12);
  EXPECT_NEAR(f[4], 5 * 10 * 6 / 8.0, 1e-12);
  EXPECT_NEAR(f[5], -10 * 36 / 8.0, 1e-12);
  MemberLoad point;
  point.point = true;
  point.distance = 2.0;
  point.local[1] = -30.0;
  fixed_end_forces(MemberModel::plane_bar, 6.0, point, f);
  EXPECT_NEAR(f[1], 30.0 * 4 / 6, 1e-12);
  EXPECT_NEAR(f[3], 30.0 * 2 / 6, 1e-12);
  fixed_end_forces(MemberModel::space_bar, 6.0, point, f);
  EXPECT_NEAR(f[1], 30.0 * 4 / 6, 1e-12);
  EXPECT_NEAR(f[4], 30.0 * 2 / 6, 1e-12);
  // Out of the plane of V1 and V2: the same magnitudes, the moments turned.
  MemberLoad lateral;
  lateral.local[2] = -10.0;
  fixed_end_forces(MemberModel::space_frame, 6.0, lateral, f);
  EXPECT_NEAR(f[2], 30.0, 1e-12);
  EXPECT_NEAR(f[4], -30.0, 1e-12);
  EXPECT_NEAR(f[10], 30.0, 1e-12);
  point.local[0] = 12.0;  // along the member: shared in proportion to the distances
  fixed_end_forces(MemberModel::space_frame, 6.0, point, f);
  EXPECT_NEAR(f[0], -8.0, 1e-12);
  EXPECT_NEAR(f[6], -4.0, 1e-12);
}

}  // namespace
}  // namespace vortan
