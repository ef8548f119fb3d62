#include "elements/frame/member_geometry.h"

#include <cmath>
#include <string>

#include "elements/vector_helpers.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

// A reference node this close to the member's line (the sine of the angle it makes
// with the member) leaves the member's plane undefined: the cross product that gives
// V3 is then rounding noise, and axes built from it would turn at random.
constexpr double ALIGNED_SINE = 1.0e-9;

[[noreturn]] void zero_length(int element_number, double length) {
  write_record(UNIT_LISTING,
               "ERROR EN ELEMENTO:" + fmt::I(element_number, 8) + " QUE TIENE LONGITUD " + fmt::E(length, 12, 4));
  ERRSTP("RIGVIG:ERROR LONGITUD CERO");
}

[[noreturn]] void vector_failure(int element_number, int vector) {
  write_record(UNIT_LISTING, "ERROR EN ELEMENTO:" + fmt::I(element_number, 8) + " EN EL VECTOR " + std::to_string(vector));
  switch (vector) {
    case 1: ERRSTP("RIGVIG:ERROR EN EL VECTOR 1");
    case 2: ERRSTP("RIGVIG:ERROR EL VECTOR 2");
    default: ERRSTP("RIGVIG:ERROR EL VECTOR 3");
  }
}

// Scales v to unit length; false when its squared length is not above `smallest`.
bool normalise(double* v, double smallest = 0.0) {
  const double squared = dot_product(v, v);
  if (!(squared > smallest)) return false;
  const double scale = 1.0 / std::sqrt(squared);
  for (int i = 0; i < 3; ++i) v[i] *= scale;
  return true;
}

void set_column(double* axes, int j, const double* v) {
  for (int i = 0; i < 3; ++i) axes[i + 3 * j] = v[i];
}

void plane_axes(const double* corel, double& length, int element_number, double* axes) {
  const double dx = corel[2] - corel[0], dy = corel[3] - corel[1];
  length = std::sqrt(dx * dx + dy * dy);
  if (length == 0.0) zero_length(element_number, length);
  const double c = dx / length, s = dy / length;
  const double v1[3] = {c, s, 0.0}, v2[3] = {-s, c, 0.0}, v3[3] = {0.0, 0.0, 1.0};
  set_column(axes, 0, v1);
  set_column(axes, 1, v2);
  set_column(axes, 2, v3);
}

// Axes of a space member from its direction alone: the horizontal cosines hx, hy, the
// vertical sine sz and its complement C give V1 = (hx C, hy C, sz).
void member_axes(const double* corel, double& length, int element_number, double* axes) {
  const double d[3] = {corel[3] - corel[0], corel[4] - corel[1], corel[5] - corel[2]};
  length = std::sqrt(dot_product(d, d));
  if (length == 0.0) zero_length(element_number, length);
  const double horizontal = std::sqrt(d[0] * d[0] + d[1] * d[1]);
  const double hx = horizontal == 0.0 ? 0.0 : d[0] / horizontal;
  const double hy = horizontal == 0.0 ? 0.0 : d[1] / horizontal;
  const double sz = d[2] / length;
  double complement = 1.0 - sz * sz;
  if (complement <= 0.0) complement = 0.0;
  if (complement > 1.0) complement = 1.0;
  const double cz = std::sqrt(complement);
  const double v1[3] = {hx * cz, hy * cz, sz};
  double v2[3] = {-hy, hx, 0.0};
  if (horizontal == 0.0) v2[1] = 1.0;  // a vertical member: V2 along global y
  double v3[3];
  cross_product(v1, v2, v3);
  set_column(axes, 0, v1);
  set_column(axes, 1, v2);
  set_column(axes, 2, v3);
}

void reference_axes(const double* corel, double& length, int element_number, double* axes) {
  double v1[3], v2[3], v3[3], toward[3];
  for (int i = 0; i < 3; ++i) {
    v1[i] = corel[3 + i] - corel[i];
    toward[i] = corel[6 + i] - corel[i];
  }
  length = std::sqrt(dot_product(v1, v1));
  if (!normalise(v1)) vector_failure(element_number, 1);
  cross_product(v1, toward, v3);
  const double reach = dot_product(toward, toward);
  if (!normalise(v3, ALIGNED_SINE * ALIGNED_SINE * reach)) vector_failure(element_number, 2);
  cross_product(v3, v1, v2);
  if (!normalise(v2)) vector_failure(element_number, 3);
  set_column(axes, 0, v1);
  set_column(axes, 1, v2);
  set_column(axes, 2, v3);
}

}  // namespace

void RIGVIG(int ndime, const double* corel, double& length, int element_number, int axes_mode, double* axes) {
  if (ndime == 2) plane_axes(corel, length, element_number, axes);
  else if (axes_mode == AXES_FROM_REFERENCE) reference_axes(corel, length, element_number, axes);
  else member_axes(corel, length, element_number, axes);
}

}  // namespace vortan
