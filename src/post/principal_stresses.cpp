#include "post/principal_stresses.h"

#include <cmath>
#include <utility>

namespace vortan {

namespace {

constexpr int JACOBI_SWEEPS = 50;

// factor times direction; adding 0.0 writes a product of zero as +0.
void scaled(double* out, double factor, const double* direction) {
  for (int i = 0; i < 3; ++i) out[i] = factor * direction[i] + 0.0;
}

}  // namespace

void principal_stresses(const double tensor[6], double values[3], double vectors[3][3]) {
  double a[3][3] = {{tensor[0], tensor[3], tensor[4]},
                    {tensor[3], tensor[1], tensor[5]},
                    {tensor[4], tensor[5], tensor[2]}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) vectors[i][j] = i == j ? 1.0 : 0.0;
  for (int sweep = 0; sweep < JACOBI_SWEEPS; ++sweep) {
    const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
    const double diagonal = a[0][0] * a[0][0] + a[1][1] * a[1][1] + a[2][2] * a[2][2];
    if (off <= 1.0e-30 * diagonal || off == 0.0) break;
    for (int p = 0; p < 2; ++p)
      for (int q = p + 1; q < 3; ++q) {
        if (a[p][q] == 0.0) continue;
        // The rotation in the p-q plane that clears a[p][q].
        const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
        const double t = (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
        const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
        for (int k = 0; k < 3; ++k) {
          const double akp = a[k][p], akq = a[k][q];
          a[k][p] = c * akp - s * akq;
          a[k][q] = s * akp + c * akq;
        }
        for (int k = 0; k < 3; ++k) {
          const double apk = a[p][k], aqk = a[q][k];
          a[p][k] = c * apk - s * aqk;
          a[q][k] = s * apk + c * aqk;
        }
        for (int k = 0; k < 3; ++k) {
          const double vkp = vectors[k][p], vkq = vectors[k][q];
          vectors[k][p] = c * vkp - s * vkq;
          vectors[k][q] = s * vkp + c * vkq;
        }
      }
  }
  for (int k = 0; k < 3; ++k) values[k] = a[k][k];
  // Ascending order, the vectors with their values.
  for (int i = 0; i < 2; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (values[j] < values[i]) {
        std::swap(values[i], values[j]);
        for (int k = 0; k < 3; ++k) std::swap(vectors[k][i], vectors[k][j]);
      }
}

PrincipalVectors principal_vectors(const double tensor[6], bool in_plane) {
  PrincipalVectors out;
  double largest, smallest, d_largest[3] = {}, d_smallest[3] = {};
  if (in_plane) {
    const double centre = 0.5 * (tensor[0] + tensor[1]);
    const double radius = std::hypot(0.5 * (tensor[0] - tensor[1]), tensor[3]);
    const double angle = 0.5 * std::atan2(2.0 * tensor[3], tensor[0] - tensor[1]);
    largest = centre + radius;
    smallest = centre - radius;
    d_largest[0] = std::cos(angle);
    d_largest[1] = std::sin(angle);
    d_smallest[0] = -std::sin(angle);
    d_smallest[1] = std::cos(angle);
  } else {
    double values[3], vectors[3][3];
    principal_stresses(tensor, values, vectors);
    largest = values[2];
    smallest = values[0];
    for (int k = 0; k < 3; ++k) {
      d_largest[k] = vectors[k][2];
      d_smallest[k] = vectors[k][0];
    }
  }
  if (largest > 0.0) scaled(out.traction, largest, d_largest);
  if (smallest < 0.0) scaled(out.compression, smallest, d_smallest);
  return out;
}

double von_mises(const double t[6]) {
  const double a = t[0] - t[1], b = t[1] - t[2], c = t[2] - t[0];
  return std::sqrt(0.5 * (a * a + b * b + c * c) + 3.0 * (t[3] * t[3] + t[4] * t[4] + t[5] * t[5]));
}

}  // namespace vortan
