#include "elements/conduction_tasks.h"

#include "elements/task_support.h"

namespace vortan {

namespace {

// Properties of a conduction set: CONDX, CONDY, CONDZ, CONVC, ESPESOR, CALESP.
double conductivity(int direction) { return property(direction); }
double thickness() { return property(4); }
double internal_heat() { return property(5); }

// The volume element of conduction is formed as for plane stress: the thickness when
// one is given, never a circumference.
constexpr int CONDUCTION_VOLUME = 1;

}  // namespace

void conduction_matrix_of_material(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* d = a.reals(a.DMATZ);
  fetch_or_compute(element, KIND_D, codes, d, [&] {
    for (int i = 0; i < a.NSTRE * a.NSTRE; ++i) d[i] = 0.0;
    for (int i = 0; i < a.NSTRE; ++i) d[i + a.NSTRE * i] = conductivity(i);
  });
}

void conduction_gradient_matrices(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* b = a.reals(a.BMATZ);
  const bool fetched = fetch_or_compute(element, KIND_B, codes, b, [&] {
    const double* dcart = a.reals(a.DCART);
    for (int g = 1; g <= a.NGAUS; ++g) {
      point_geometry(element, g, CONDUCTION_VOLUME, thickness());
      for (int k = 0; k < a.NNODE; ++k)
        for (int i = 0; i < a.NSTRE; ++i)
          b[i + a.NSTRE * (k + a.NEVAB * (g - 1))] = i < a.NDIME ? dcart[i + a.NDIME * k] : 0.0;
    }
  });
  if (fetched)
    for (int g = 1; g <= a.NGAUS; ++g) point_geometry(element, g, CONDUCTION_VOLUME, thickness());
}

void conduction_flux_matrices(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* db = a.reals(a.DBMAT);
  const bool fetched = fetch_or_compute(element, KIND_DB, codes, db, [&] {
    conduction_matrix_of_material(element, codes);
    conduction_gradient_matrices(element, codes);
    const double* d = a.reals(a.DMATZ);
    const double* b = a.reals(a.BMATZ);
    const int n = a.NSTRE;
    for (int c = 0; c < a.NEVAB * a.NGAUS; ++c)
      for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (int k = 0; k < n; ++k) sum += d[i + n * k] * b[k + n * c];
        db[i + n * c] = sum;
      }
  });
  if (fetched) conduction_gradient_matrices(element, codes);
}

void conduction_matrix(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* k = a.reals(a.RIGID);
  fetch_or_compute(element, KIND_K, codes, k, [&] {
    const int n = a.NEVAB, s = a.NSTRE;
    for (int i = 0; i < n * n; ++i) k[i] = 0.0;
    conduction_flux_matrices(element, codes);
    const double* b = a.reals(a.BMATZ);
    const double* db = a.reals(a.DBMAT);
    const double* dv = a.reals(a.DVOLU);
    for (int g = 0; g < a.NGAUS; ++g)
      for (int j = 0; j < n; ++j)
        for (int i = 0; i <= j; ++i) {
          double sum = 0.0;
          for (int r = 0; r < s; ++r) sum += b[r + s * (i + n * g)] * db[r + s * (j + n * g)];
          k[i + n * j] += dv[g] * sum;
        }
    for (int j = 0; j < n; ++j)
      for (int i = j + 1; i < n; ++i) k[i + n * j] = k[j + n * i];
  });
}

void conduction_fluxes(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* q = a.reals(a.TENSG);
  fetch_or_compute(element, KIND_STRESS, codes, q, [&] {
    conduction_flux_matrices(element, codes);
    const double* db = a.reals(a.DBMAT);
    const double* t = a.reals(a.DESLO);
    const int s = a.NSTRE;
    for (int g = 0; g < a.NGAUS; ++g)
      for (int i = 0; i < s; ++i) {
        double sum = 0.0;
        for (int j = 0; j < a.NEVAB; ++j) sum += db[i + s * (j + a.NEVAB * g)] * t[j];
        q[i + a.NSTR1 * g] = sum;
      }
  });
}

void conduction_internal_forces(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* f = a.reals(a.FUERZ);
  fetch_or_compute(element, KIND_FORCES, codes, f, [&] {
    for (int i = 0; i < a.NEVAB; ++i) f[i] = 0.0;
    conduction_gradient_matrices(element, codes);
    conduction_fluxes(element, codes);
    const double* b = a.reals(a.BMATZ);
    const double* q = a.reals(a.TENSG);
    const double* dv = a.reals(a.DVOLU);
    for (int g = 0; g < a.NGAUS; ++g)
      for (int i = 0; i < a.NEVAB; ++i) {
        double sum = 0.0;
        for (int k = 0; k < a.NSTRE; ++k) sum += b[k + a.NSTRE * (i + a.NEVAB * g)] * q[k + a.NSTR1 * g];
        f[i] += dv[g] * sum;
      }
  });
}

void conduction_heat_generation(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* p = a.reals(a.PESOP);
  fetch_or_compute(element, KIND_WEIGHT, codes, p, [&] {
    for (int i = 0; i < a.NEVAB; ++i) p[i] = 0.0;
    const double heat = internal_heat();
    if (heat == 0.0) return;
    const double* fform = a.reals(a.FFORM);
    for (int g = 1; g <= a.NGAUS; ++g) {
      const double dv = point_geometry(element, g, CONDUCTION_VOLUME, thickness());
      for (int k = 0; k < a.NNODE; ++k) p[k] -= heat * fform[k] * dv;
    }
  });
}

}  // namespace vortan
