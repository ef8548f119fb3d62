// The active element set: its counts made current and its per-set work arrays laid
// out in the work array, as every element task expects them.
#pragma once

#include <cstdint>

namespace vortan {

// The most element variables of any element (27 nodes of 3, or 10 of 6).
inline constexpr int MAX_ELEMENT_VARIABLES = 81;

struct ActiveSetRecord {
  int set = 0;
  int NNODE = 0, NDIME = 0, NGAUS = 0, NSTRE = 0, NSTR1 = 0, NDOFN = 0, NEVAB = 0;
  int NTYPE = 0;         // problem type
  int element_type = 0;
  int layers = 1;
  int nfunctions = 0;    // shape functions: NNODE, doubled for DKT
  int nonlinear = 0;
  char fetch_default[12] = "RRRRRRRRRRR";  // the set's storage codes

  // Work-array positions of the per-set work arrays.
  std::int32_t COREL = 0, DESLO = 0, TENLO = 0, DMATZ = 0, POSGT = 0, PESGT = 0;
  std::int32_t APOYO = 0, APANG = 0, FFORM = 0, DERIV = 0, DCART = 0, CORPG = 0;
  std::int32_t XJACI = 0, XJACM = 0, BMATZ = 0, DBMAT = 0, RIGID = 0, XMASA = 0;
  std::int32_t TENSG = 0, FUERZ = 0, PESOP = 0, TENGM = 0, TENEL = 0, TENDF = 0;
  std::int32_t DMATI = 0, TENS1 = 0, DEFOM = 0, TEFOM = 0, DEFOG = 0;
  // Volume element of every integration point of the current element (DVOLU), kept
  // by the B-matrix task for the tasks that follow it.
  std::int32_t DVOLU = 0;

  double* reals(std::int32_t pos) const;
  std::int32_t* ints(std::int32_t pos) const;
  void reset() { *this = ActiveSetRecord{}; }
};
extern ActiveSetRecord ACTIVE;

// Makes a set current: loads its counts and storage codes and lays out its work
// arrays. The arrays live in one area reserved, on the first activation, for the
// largest set of the problem, so activations never consume the main cursor.
void ACTSET(int set);

// Reserves the area of the per-set work arrays for the largest set of the problem on
// the main cursor, for the rest of the run (ACTSET does it at its first call when the
// problem build has not).
void reserve_set_work_area();

// Forgets the reserved area (a new problem).
void reset_active_set();

// Fills COREL with the coordinates of element row `element` of the active set, the
// inclined-support flags and angles of its nodes, and (when displacements is not null)
// DESLO from a global vector indexed by equation.
void gather_element(int element, const double* displacements = nullptr);

// Global positions (1-based equations of the global degree-of-freedom numbering) of the
// NEVAB element variables of element row `element` of the active set: variable
// (k-1)*NDOFN + m is the set's m-th kind at the element's k-th node, wherever that
// kind sits among the node's own kinds (nodes shared with sets of other kinds carry
// more). Returns NEVAB.
int element_positions(int element, std::int32_t* positions);

// Global node number of local node k (1-based) of element row `element` of a set.
std::int32_t element_node(int set, int element, int k);

}  // namespace vortan
