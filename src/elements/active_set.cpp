#include "elements/active_set.h"

#include <algorithm>

#include "elements/integration_rules.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/work_array.h"

namespace vortan {

ActiveSetRecord ACTIVE;

namespace {

struct Counts {
  std::int64_t nnode, ndime, ngaus, nstre, nstr1, ndofn, nevab, nfun;
  int ntype, layers;
};

Counts counts_of(const ElementSet& s) {
  Counts c{};
  c.nnode = s.NNODE;
  c.ndime = s.dimension;
  c.ngaus = s.NGAUS;
  c.nstre = s.NSTRE;
  c.nstr1 = s.NSTR1;
  c.ndofn = s.NDOFN;
  c.nevab = s.NEVAB();
  c.nfun = element_functions(s.element_type) > s.NNODE ? element_functions(s.element_type) : s.NNODE;
  c.ntype = s.problem_type;
  c.layers = s.layers;
  return c;
}

// Lays out the work arrays of a set into target from cursor, in the order the element
// tasks know them; returns the words used.
std::int64_t lay_out(const Counts& c, ActiveSetRecord& a, std::int32_t cursor, std::int32_t limit) {
  const std::int32_t first = cursor;
  auto take = [&](std::int32_t& field, std::int64_t count, int size) {
    field = DIREC1(cursor, limit, count, "ELSET", size);
  };
  take(a.COREL, c.nnode * c.ndime, REAL_WORDS);
  take(a.DESLO, c.nevab, REAL_WORDS);
  take(a.TENLO, c.nstr1 * c.ngaus, REAL_WORDS);
  take(a.DMATZ, c.nstre * c.nstre, REAL_WORDS);
  take(a.POSGT, 3 * c.ngaus, REAL_WORDS);
  take(a.PESGT, c.ngaus, REAL_WORDS);
  take(a.APOYO, c.nfun, INT_WORDS);
  take(a.APANG, c.nfun, REAL_WORDS);
  take(a.FFORM, c.nfun, REAL_WORDS);
  take(a.DERIV, c.nfun * 3, REAL_WORDS);
  take(a.DCART, c.nfun * 3, REAL_WORDS);
  take(a.CORPG, 3 * c.ngaus, REAL_WORDS);
  take(a.XJACI, 9, REAL_WORDS);
  take(a.XJACM, 9, REAL_WORDS);
  take(a.BMATZ, c.nevab * c.nstre * c.ngaus, REAL_WORDS);
  take(a.DBMAT, c.nevab * c.nstre * c.ngaus, REAL_WORDS);
  take(a.RIGID, c.nevab * c.nevab, REAL_WORDS);
  take(a.XMASA, c.nevab * c.nevab, REAL_WORDS);
  take(a.TENSG, c.ngaus * c.nstr1, REAL_WORDS);
  take(a.FUERZ, c.nevab, REAL_WORDS);
  take(a.PESOP, c.nevab, REAL_WORDS);
  take(a.TENGM, c.nstr1, REAL_WORDS);
  take(a.TENEL, c.nnode * c.nstr1, REAL_WORDS);
  take(a.TENDF, c.nstr1, REAL_WORDS);
  take(a.DMATI, c.nstre * c.nstre, REAL_WORDS);
  take(a.TENS1, c.nstr1 * c.nnode, REAL_WORDS);
  take(a.DEFOM, c.nnode * c.nstre, REAL_WORDS);
  take(a.TEFOM, c.nnode * c.nstre, REAL_WORDS);
  take(a.DEFOG, c.ngaus * c.nstre, REAL_WORDS);
  a.TEMPA = a.TEMPB = a.GIROM = a.GIROT = a.COOR2 = a.CORP2 = 0;
  if (c.ntype == PLATE || (c.ntype == FLAT_SHELL && c.layers > 1)) {
    for (std::int32_t* field : {&a.TEMPA, &a.TEMPB, &a.GIROM, &a.GIROT}) take(*field, c.nstre * c.nstre, REAL_WORDS);
  }
  if (c.ntype == FLAT_SHELL) {
    take(a.COOR2, c.nnode * 2, REAL_WORDS);
    take(a.CORP2, c.ngaus * 2, REAL_WORDS);
  }
  take(a.DVOLU, c.ngaus, REAL_WORDS);
  return static_cast<std::int64_t>(cursor) - first;
}

}  // namespace

void reserve_set_work_area() {
  if (ACTIVE.area_start != 0) return;
  std::int64_t largest = 0;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    ActiveSetRecord sizing;
    largest = std::max(largest, lay_out(counts_of(SETS(s)), sizing, 1, 2147483647));
  }
  ACTIVE.area_start = DIRECT(RUN.NXTPOS, RUN.MEMORY, largest, "ELSET", INT_WORDS);
  ACTIVE.area_end = RUN.NXTPOS;
}

double* ActiveSetRecord::reals(std::int32_t pos) const { return WORK.reals(pos); }
std::int32_t* ActiveSetRecord::ints(std::int32_t pos) const { return WORK.ints(pos); }

void reset_active_set() { ACTIVE.reset(); }

void ACTSET(int set) {
  if (set < 1 || set > PROBLEM.NSETS) ERRSTP("ACTSET: NUMERO DE SET EQUIVOCADO");
  if (ACTIVE.area_start == 0) ERRSTP("ACTSET: AREA DE TRABAJO NO RESERVADA");
  const ElementSet& s = SETS(set);
  const Counts c = counts_of(s);
  ActiveSetRecord& a = ACTIVE;
  a.set = set;
  a.NNODE = s.NNODE;
  a.NDIME = s.dimension;
  a.NGAUS = s.NGAUS;
  a.NSTRE = s.NSTRE;
  a.NSTR1 = s.NSTR1;
  a.NDOFN = s.NDOFN;
  a.NEVAB = static_cast<int>(c.nevab);
  a.NTYPE = s.problem_type;
  a.element_type = s.element_type;
  a.layers = s.layers;
  a.nfunctions = static_cast<int>(c.nfun);
  a.nonlinear = s.nonlinear;
  for (int k = 0; k < RECORD_KINDS; ++k) a.fetch_default[k] = s.storage[k];
  a.fetch_default[RECORD_KINDS] = '\0';
  lay_out(c, a, a.area_start, a.area_end);
  REGINT(s.element_type, s.NGAUS, a.reals(a.POSGT), a.reals(a.PESGT));
}

std::int32_t element_node(int set, int element, int k) {
  const ElementSet& s = SETS(set);
  return WORK.int_at(s.LNODS + (element - 1) + k * s.NELEM);
}

int element_positions(int element, std::int32_t* positions) {
  const ActiveSetRecord& a = ACTIVE;
  const ElementSet& s = SETS(a.set);
  int i = 0;
  for (int k = 1; k * a.NDOFN <= a.NEVAB; ++k) {
    const std::int32_t node = element_node(a.set, element, k);
    for (int kind = 1; kind <= DOF_KINDS; ++kind)
      if (s.pattern[kind - 1] == 1) positions[i++] = kind_equation(node, kind);
  }
  return i;
}

void gather_element(int element, const double* displacements) {
  const ActiveSetRecord& a = ACTIVE;
  double* corel = a.reals(a.COREL);
  double* deslo = a.reals(a.DESLO);
  std::int32_t* flags = a.ints(a.APOYO);
  double* angles = a.reals(a.APANG);
  const double* coord = WORK.reals(PROBLEM.COORD);
  for (int k = 1; k <= a.NNODE; ++k) {
    const std::int32_t node = element_node(a.set, element, k);
    // A member without a reference node has node 0 in its place.
    const bool present = node >= 1 && node <= PROBLEM.NPNODS;
    for (int i = 0; i < a.NDIME; ++i)
      corel[i + a.NDIME * (k - 1)] = present && i < PROBLEM.NDIME ? coord[(node - 1) + i * PROBLEM.NPNODS] : 0.0;
    flags[k - 1] = 0;
    angles[k - 1] = 0.0;
    for (int i = 0; i < PROBLEM.MAPOY; ++i)
      if (WORK.int_at(PROBLEM.APOYO + i) == node) {
        flags[k - 1] = 1;
        angles[k - 1] = WORK.real_at(PROBLEM.APANG + 2 * i);
      }
  }
  if (displacements == nullptr) {
    // A geometrically nonlinear set works out its state from DESLO when it keeps no
    // displacement gradients: without displacements that is the undeformed state, not
    // the displacements of another element.
    if (a.nonlinear)
      for (int i = 0; i < a.NEVAB; ++i) deslo[i] = 0.0;
    return;
  }
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  const int n = element_positions(element, positions);
  for (int i = 0; i < n; ++i) deslo[i] = positions[i] > 0 ? displacements[positions[i] - 1] : 0.0;
}

}  // namespace vortan
