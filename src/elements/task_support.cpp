#include "elements/task_support.h"

#include <cmath>

namespace vortan {

double point_geometry(int element, int g, int ntype, double thickness) {
  const ActiveSetRecord& a = ACTIVE;
  double dvolu = 0.0;
  PREVIO(element_number(element), g, a.NGAUS, a.NDIME, a.NNODE, ntype, a.element_type, dvolu,
         thickness, a.reals(a.POSGT), a.reals(a.PESGT), a.reals(a.FFORM), a.reals(a.DERIV),
         a.reals(a.DCART), a.reals(a.COREL), a.reals(a.CORPG), a.reals(a.XJACI), a.reals(a.XJACM));
  a.reals(a.DVOLU)[g - 1] = dvolu;
  return dvolu;
}

void products_from_matrix() {
  const ActiveSetRecord& a = ACTIVE;
  const double* d = a.reals(a.DMATZ);
  const double* b = a.reals(a.BMATZ);
  double* db = a.reals(a.DBMAT);
  const int n = a.NSTRE;
  for (int c = 0; c < a.NEVAB * a.NGAUS; ++c)
    for (int i = 0; i < n; ++i) {
      double sum = 0.0;
      for (int k = 0; k < n; ++k) sum += d[i + n * k] * b[k + n * c];
      db[i + n * c] = sum;
    }
}

void stiffness_from_products() {
  const ActiveSetRecord& a = ACTIVE;
  const int n = a.NEVAB, s = a.NSTRE;
  double* k = a.reals(a.RIGID);
  const double* b = a.reals(a.BMATZ);
  const double* db = a.reals(a.DBMAT);
  const double* dv = a.reals(a.DVOLU);
  for (int i = 0; i < n * n; ++i) k[i] = 0.0;
  // The upper triangle, mirrored: the matrix is exactly symmetric.
  for (int g = 0; g < a.NGAUS; ++g)
    for (int j = 0; j < n; ++j) {
      const double* dbj = db + s * (j + n * g);
      for (int i = 0; i <= j; ++i) {
        const double* bi = b + s * (i + n * g);
        double sum = 0.0;
        for (int r = 0; r < s; ++r) sum += bi[r] * dbj[r];
        k[i + n * j] += dv[g] * sum;
      }
    }
  for (int j = 0; j < n; ++j)
    for (int i = j + 1; i < n; ++i) k[i + n * j] = k[j + n * i];
}

void forces_from_stresses() {
  const ActiveSetRecord& a = ACTIVE;
  double* f = a.reals(a.FUERZ);
  const double* b = a.reals(a.BMATZ);
  const double* stresses = a.reals(a.TENSG);
  const double* dv = a.reals(a.DVOLU);
  for (int i = 0; i < a.NEVAB; ++i) f[i] = 0.0;
  for (int g = 0; g < a.NGAUS; ++g)
    for (int i = 0; i < a.NEVAB; ++i) {
      const double* bi = b + a.NSTRE * (i + a.NEVAB * g);
      double sum = 0.0;
      for (int k = 0; k < a.NSTRE; ++k) sum += bi[k] * stresses[a.NSTR1 * g + k];
      f[i] += dv[g] * sum;
    }
}

void turn_support_columns(double* b) {
  const ActiveSetRecord& a = ACTIVE;
  if (a.NDIME != 2) return;
  const std::int32_t* flags = a.ints(a.APOYO);
  const double* angles = a.reals(a.APANG);
  for (int k = 0; k < a.NNODE; ++k) {
    if (flags[k] != 1) continue;
    const double c = std::cos(angles[k]), s = std::sin(angles[k]);
    for (int g = 0; g < a.NGAUS; ++g) {
      double* cx = b + a.NSTRE * (a.NDOFN * k + a.NEVAB * g);
      double* cy = cx + a.NSTRE;
      for (int row = 0; row < a.NSTRE; ++row) {
        const double x = cx[row], y = cy[row];
        cx[row] = c * x + s * y;
        cy[row] = c * y - s * x;
      }
    }
  }
}

void stresses_from_products() {
  const ActiveSetRecord& a = ACTIVE;
  const double* db = a.reals(a.DBMAT);
  const double* u = a.reals(a.DESLO);
  double* stresses = a.reals(a.TENSG);
  const int s = a.NSTRE;
  for (int g = 0; g < a.NGAUS; ++g) {
    double* point = stresses + a.NSTR1 * g;
    for (int i = 0; i < s; ++i) point[i] = 0.0;
    for (int j = 0; j < a.NEVAB; ++j) {
      const double uj = u[j];
      if (uj == 0.0) continue;
      const double* column = db + s * (j + a.NEVAB * g);
      for (int i = 0; i < s; ++i) point[i] += column[i] * uj;
    }
  }
}

void chained_stress_strain_products(int element, const TaskCodes& codes, const RecordChain& chain) {
  const bool fetched = fetch_or_compute(element, KIND_DB, codes, ACTIVE.reals(ACTIVE.DBMAT), [&] {
    chain.constitutive(element, codes);
    chain.strain(element, codes);
    products_from_matrix();
  });
  if (fetched) chain.strain(element, codes);
}

void chained_stiffness(int element, const TaskCodes& codes, const RecordChain& chain) {
  fetch_or_compute(element, KIND_K, codes, ACTIVE.reals(ACTIVE.RIGID), [&] {
    chained_stress_strain_products(element, codes, chain);
    stiffness_from_products();
  });
}

void chained_stresses(int element, const TaskCodes& codes, const RecordChain& chain) {
  fetch_or_compute(element, KIND_STRESS, codes, ACTIVE.reals(ACTIVE.TENSG), [&] {
    chained_stress_strain_products(element, codes, chain);
    stresses_from_products();
  });
}

void chained_internal_forces(int element, const TaskCodes& codes, const RecordChain& chain) {
  fetch_or_compute(element, KIND_FORCES, codes, ACTIVE.reals(ACTIVE.FUERZ), [&] {
    chain.strain(element, codes);
    chain.stresses(element, codes);
    forces_from_stresses();
  });
}

}  // namespace vortan
