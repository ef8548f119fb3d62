#include "elements/vector_helpers.h"

#include <cmath>
#include <numbers>

#include "run/errstp.h"
#include "run/file_set.h"

namespace vortan {

void cross_product(const double* a, const double* b, double* c) {
  c[0] = a[1] * b[2] - a[2] * b[1];
  c[1] = a[2] * b[0] - a[0] * b[2];
  c[2] = a[0] * b[1] - a[1] * b[0];
}

double dot_product(const double* a, const double* b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void REFER(double* v) {
  const double length = std::sqrt(dot_product(v, v));
  if (length == 0.0) {
    write_record(UNIT_CONSOLE, "ERROR: XNO3 == 0 ");
    ERRSTP("REFER: ERROR XNO3");
  }
  for (int k = 0; k < 3; ++k) v[k] /= length;
}

// R(1,1) = cc ca - sc cb sa      R(1,2) = -ca sc - cc cb sa    R(1,3) = sa sb
// R(2,1) = cc sa + sc ca cb      R(2,2) = cc ca cb - sc sa     R(2,3) = -ca sb
// R(3,1) = sc sb                 R(3,2) = cc sb                R(3,3) = cb
void euler_rotation(double* angles, int ld, double* R) {
  constexpr double degree = std::numbers::pi / 180.0;
  for (int k = 0; k < 3; ++k) angles[k] *= degree;
  const double ca = std::cos(angles[0]), sa = std::sin(angles[0]);
  const double cb = std::cos(angles[1]), sb = std::sin(angles[1]);
  const double cc = std::cos(angles[2]), sc = std::sin(angles[2]);
  R[0] = cc * ca - sc * cb * sa;
  R[1] = cc * sa + sc * ca * cb;
  R[2] = sc * sb;
  R[ld] = -ca * sc - cc * cb * sa;
  R[ld + 1] = cc * ca * cb - sc * sa;
  R[ld + 2] = cc * sb;
  R[2 * ld] = sa * sb;
  R[2 * ld + 1] = -ca * sb;
  R[2 * ld + 2] = cb;
}

void place_block(const double* B, int ldb, int mode, int offset, double* M, int ldm) {
  if (mode < BLOCK_AS_STORED || mode > BLOCK_TRANSPOSED) return;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) {
      double value = 0.0;
      if (mode == BLOCK_AS_STORED) value = B[i + ldb * j];
      if (mode == BLOCK_TRANSPOSED) value = B[j + ldb * i];
      if (mode == BLOCK_SWAP_NEGATE)
        value = j == 0 ? -B[i + ldb] : (j == 1 ? B[i] : B[i + 2 * ldb]);
      M[(offset + i) + ldm * (offset + j)] = value;
    }
}

bool gauss_jordan_inverse(double* a, int n, double smallest) {
  constexpr int LARGEST = 27;
  if (n < 1 || n > LARGEST) return false;
  double inverse[LARGEST * LARGEST];
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) inverse[i + n * j] = i == j ? 1.0 : 0.0;
  for (int p = 0; p < n; ++p) {
    const double pivot = a[p + n * p];
    if (std::fabs(pivot) < smallest) return false;
    for (int j = 0; j < n; ++j) {
      a[p + n * j] /= pivot;
      inverse[p + n * j] /= pivot;
    }
    for (int i = 0; i < n; ++i) {
      if (i == p) continue;
      const double factor = a[i + n * p];
      if (factor == 0.0) continue;
      for (int j = 0; j < n; ++j) {
        a[i + n * j] -= factor * a[p + n * j];
        inverse[i + n * j] -= factor * inverse[p + n * j];
      }
    }
  }
  for (int i = 0; i < n * n; ++i) a[i] = inverse[i];
  return true;
}

}  // namespace vortan
