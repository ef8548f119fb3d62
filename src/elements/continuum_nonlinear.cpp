#include "elements/continuum_nonlinear.h"

#include <cmath>
#include <vector>

#include "elements/task_support.h"
#include "input/catalogue.h"

namespace vortan {

namespace {

// The gradients of the element being worked on (no allocation per element: the buffer
// only grows).
std::vector<double>& gradient_buffer() {
  static std::vector<double> buffer;
  return buffer;
}

int components() { return SETS(ACTIVE.set).gradient_components; }

// Spatial dimension of the gradient: 3 for solids, 2 otherwise.
int gradient_dimension() { return ACTIVE.NTYPE == SOLID ? 3 : 2; }

// The Cartesian displacement components of local node k: the pair of a node on an
// inclined support is held in the support's axes (u', v') and turned back.
void cartesian_displacement(int k, double* u) {
  const ActiveSetRecord& a = ACTIVE;
  const double* deslo = a.reals(a.DESLO);
  const int n = gradient_dimension();
  for (int i = 0; i < n; ++i) u[i] = deslo[a.NDOFN * k + i];
  if (a.NDIME == 2 && a.ints(a.APOYO)[k] == 1) {
    const double angle = a.reals(a.APANG)[k];
    const double c = std::cos(angle), s = std::sin(angle);
    const double u1 = u[0], v1 = u[1];
    u[0] = c * u1 - s * v1;
    u[1] = s * u1 + c * v1;
  }
}

// Gradients of point g (0-based) from DESLO; the point's geometry must be current.
void point_gradients(int g, double* h) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = gradient_dimension();
  const double* dcart = a.reals(a.DCART);
  const double* fform = a.reals(a.FFORM);
  for (int i = 0; i < components(); ++i) h[i] = 0.0;
  double radial = 0.0;
  for (int k = 0; k < a.NNODE; ++k) {
    double u[3] = {};
    cartesian_displacement(k, u);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) h[i + n * j] += dcart[a.NDIME * k + j] * u[i];
    radial += fform[k] * u[0];
  }
  if (a.NTYPE == AXISYMMETRIC) h[4] = radial / a.reals(a.CORPG)[a.NDIME * g];
}

// Green-Lagrange strains of one point in the stress order of the set (shears as
// engineering strains): E_jl = (H_jl + H_lj + H_ij H_il) / 2.
void green_lagrange(const double* h, double* e) {
  const int n = gradient_dimension();
  auto H = [&](int i, int j) { return h[i + n * j]; };
  auto E = [&](int j, int l) {
    double sum = H(j, l) + H(l, j);
    for (int i = 0; i < n; ++i) sum += H(i, j) * H(i, l);
    return 0.5 * sum;
  };
  if (n == 3) {
    e[0] = E(0, 0);
    e[1] = E(1, 1);
    e[2] = E(2, 2);
    e[3] = 2.0 * E(0, 1);
    e[4] = 2.0 * E(0, 2);
    e[5] = 2.0 * E(1, 2);
    return;
  }
  e[0] = E(0, 0);
  e[1] = E(1, 1);
  e[2] = 2.0 * E(0, 1);
  if (ACTIVE.NTYPE == AXISYMMETRIC) e[3] = h[4] + 0.5 * h[4] * h[4];
}

// The symmetric stress matrix of a point from its stress vector.
void stress_matrix(const double* s, double m[3][3]) {
  if (gradient_dimension() == 3) {
    m[0][0] = s[0]; m[1][1] = s[1]; m[2][2] = s[2];
    m[0][1] = m[1][0] = s[3];
    m[0][2] = m[2][0] = s[4];
    m[1][2] = m[2][1] = s[5];
    return;
  }
  m[0][0] = s[0]; m[1][1] = s[1];
  m[0][1] = m[1][0] = s[2];
}

// Rows and columns of the displacement pair of every inclined-support node in the
// node's axes, as the strain matrices are (K becomes T^T K T).
void rotate_matrix_to_supports(double* k) {
  const ActiveSetRecord& a = ACTIVE;
  if (a.NDIME != 2) return;
  const int n = a.NEVAB;
  for (int node = 0; node < a.NNODE; ++node) {
    if (a.ints(a.APOYO)[node] != 1) continue;
    const double angle = a.reals(a.APANG)[node];
    const double c = std::cos(angle), s = std::sin(angle);
    const int x = a.NDOFN * node, y = x + 1;
    for (int r = 0; r < n; ++r) {  // columns
      const double kx = k[r + n * x], ky = k[r + n * y];
      k[r + n * x] = c * kx + s * ky;
      k[r + n * y] = c * ky - s * kx;
    }
    for (int col = 0; col < n; ++col) {  // rows
      const double kx = k[x + n * col], ky = k[y + n * col];
      k[x + n * col] = c * kx + s * ky;
      k[y + n * col] = c * ky - s * kx;
    }
  }
}

}  // namespace

const double* element_gradients(int element, const TaskCodes& codes, double thickness) {
  const ActiveSetRecord& a = ACTIVE;
  const int per_point = components();
  std::vector<double>& buffer = gradient_buffer();
  const std::size_t size = static_cast<std::size_t>(per_point) * a.NGAUS;
  if (buffer.size() < size) buffer.resize(size);
  double* h = buffer.data();
  fetch_or_compute(element, KIND_GRADIENT, codes, h, [&] {
    for (int g = 1; g <= a.NGAUS; ++g) {
      point_geometry(element, g, a.NTYPE, thickness);
      point_gradients(g - 1, h + per_point * (g - 1));
    }
  });
  return h;
}

void add_gradient_columns(double* b_point, const double* h, int g) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = gradient_dimension();
  const int s = a.NSTRE;
  const double* dcart = a.reals(a.DCART);
  const double* fform = a.reals(a.FFORM);
  const double r = a.reals(a.CORPG)[a.NDIME * g];
  auto H = [&](int i, int j) { return h[i + n * j]; };
  for (int k = 0; k < a.NNODE; ++k) {
    const double* d = dcart + a.NDIME * k;
    for (int i = 0; i < n; ++i) {
      double* column = b_point + s * (a.NDOFN * k + i);
      if (n == 3) {
        column[0] += H(i, 0) * d[0];
        column[1] += H(i, 1) * d[1];
        column[2] += H(i, 2) * d[2];
        column[3] += H(i, 0) * d[1] + H(i, 1) * d[0];
        column[4] += H(i, 0) * d[2] + H(i, 2) * d[0];
        column[5] += H(i, 1) * d[2] + H(i, 2) * d[1];
        continue;
      }
      column[0] += H(i, 0) * d[0];
      column[1] += H(i, 1) * d[1];
      column[2] += H(i, 0) * d[1] + H(i, 1) * d[0];
    }
    if (a.NTYPE == AXISYMMETRIC) b_point[s * (a.NDOFN * k) + 3] += h[4] * fform[k] / r;
  }
}

void green_lagrange_stresses(const double* gradients, double poisson) {
  const ActiveSetRecord& a = ACTIVE;
  const int s = a.NSTRE;
  const double* d = a.reals(a.DMATZ);
  double* tensg = a.reals(a.TENSG);
  const int per_point = components();
  for (int g = 0; g < a.NGAUS; ++g) {
    double e[6] = {};
    green_lagrange(gradients + per_point * g, e);
    double* point = tensg + a.NSTR1 * g;
    for (int i = 0; i < s; ++i) {
      double sum = 0.0;
      for (int k = 0; k < s; ++k) sum += d[i + s * k] * e[k];
      point[i] = sum;
    }
    if (a.NSTR1 > s) point[3] = a.NTYPE == PLANE_STRAIN ? poisson * (point[0] + point[1]) : 0.0;
  }
}

void add_initial_stress_matrix(int element, double thickness) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = a.NEVAB;
  const int dim = gradient_dimension();
  static std::vector<double> sigma;
  if (sigma.size() < static_cast<std::size_t>(n) * n) sigma.resize(static_cast<std::size_t>(n) * n);
  double* ks = sigma.data();
  for (int i = 0; i < n * n; ++i) ks[i] = 0.0;
  const double* tensg = a.reals(a.TENSG);
  for (int g = 1; g <= a.NGAUS; ++g) {
    const double dv = point_geometry(element, g, a.NTYPE, thickness);
    const double* stresses = tensg + a.NSTR1 * (g - 1);
    double m[3][3] = {};
    stress_matrix(stresses, m);
    const double* dcart = a.reals(a.DCART);
    const double* fform = a.reals(a.FFORM);
    const double r = a.reals(a.CORPG)[a.NDIME * (g - 1)];
    for (int q = 0; q < a.NNODE; ++q) {
      const double* dq = dcart + a.NDIME * q;
      double sdq[3] = {};
      for (int j = 0; j < dim; ++j)
        for (int l = 0; l < dim; ++l) sdq[j] += m[j][l] * dq[l];
      for (int p = 0; p <= q; ++p) {
        const double* dp = dcart + a.NDIME * p;
        double value = 0.0;
        for (int j = 0; j < dim; ++j) value += dp[j] * sdq[j];
        value *= dv;
        for (int i = 0; i < dim; ++i) ks[(a.NDOFN * p + i) + n * (a.NDOFN * q + i)] += value;
        if (a.NTYPE == AXISYMMETRIC)
          ks[(a.NDOFN * p) + n * (a.NDOFN * q)] += dv * stresses[3] * fform[p] * fform[q] / (r * r);
      }
    }
  }
  for (int j = 0; j < n; ++j)
    for (int i = j + 1; i < n; ++i) ks[i + n * j] = ks[j + n * i];
  rotate_matrix_to_supports(ks);
  double* k = a.reals(a.RIGID);
  for (int i = 0; i < n * n; ++i) k[i] += ks[i];
}

}  // namespace vortan
