// The active element set: its counts made current and its per-set work arrays laid
// out in the work array, as every element task expects them.
#pragma once

#include <cstdint>

namespace vortan {

// The most element variables of any element (27 nodes of 3, or 10 of 6).
inline constexpr int MAX_ELEMENT_VARIABLES = 81;

struct ActiveSetRecord {
  int set = 0;            // the active set (0 before the first activation)
  int NNODE = 0;          // nodes per element
  int NDIME = 0;          // coordinates per node of the set
  int NGAUS = 0;          // integration points per element
  int NSTRE = 0;          // stress (strain) components
  int NSTR1 = 0;          // stress components stored per point (NSTRE, or one more)
  int NDOFN = 0;          // degrees of freedom per node
  int NEVAB = 0;          // element variables
  int NTYPE = 0;          // problem type (ProblemType; dimension of conduction sets)
  int element_type = 0;   // ElementTypeCode
  int layers = 1;         // layers of a laminate
  int nfunctions = 0;     // shape functions: NNODE, doubled for DKT
  int nonlinear = 0;      // 1 for a geometrically nonlinear set
  char fetch_default[12] = "RRRRRRRRRRR";  // the set's storage codes, one per record kind

  // The area of the work array that holds the per-set work arrays, reserved once per
  // run for the largest set (start and end positions; 0 until reserved).
  std::int32_t area_start = 0, area_end = 0;

  // Work-array positions of the per-set work arrays, laid out at every activation.
  std::int32_t COREL = 0;  // element nodal coordinates, NDIME x NNODE
  std::int32_t DESLO = 0;  // element displacements, NEVAB
  std::int32_t TENLO = 0;  // for the nonlinear analysis: stresses of the last increment
  std::int32_t DMATZ = 0;  // constitutive matrix, NSTRE x NSTRE
  std::int32_t POSGT = 0;  // natural coordinates of the integration points
  std::int32_t PESGT = 0;  // integration weights
  std::int32_t APOYO = 0;  // inclined-support flag of each node (integer)
  std::int32_t APANG = 0;  // inclined-support angle of each node
  std::int32_t FFORM = 0;  // shape functions at the current point
  std::int32_t DERIV = 0;  // their natural derivatives
  std::int32_t DCART = 0;  // their Cartesian derivatives
  std::int32_t CORPG = 0;  // Cartesian coordinates of the integration points
  std::int32_t XJACI = 0;  // inverse Jacobian at the current point
  std::int32_t XJACM = 0;  // Jacobian at the current point
  std::int32_t BMATZ = 0;  // strain matrices, NSTRE x NEVAB per point
  std::int32_t DBMAT = 0;  // products D B, NSTRE x NEVAB per point
  std::int32_t RIGID = 0;  // element stiffness (conductivity), NEVAB x NEVAB
  std::int32_t XMASA = 0;  // element mass, NEVAB x NEVAB
  std::int32_t TENSG = 0;  // stresses at the integration points, NSTR1 per point
  std::int32_t FUERZ = 0;  // element internal forces, NEVAB
  std::int32_t PESOP = 0;  // self-weight (internal heat) forces, NEVAB
  // For the smoothing and the error estimate: a point's stresses (TENGM), the nodal
  // stresses of the element (TENEL), a stress difference (TENDF), the inverse
  // constitutive matrix (DMATI) and smoothed nodal stresses (TENS1).
  std::int32_t TENGM = 0, TENEL = 0, TENDF = 0, DMATI = 0, TENS1 = 0;
  std::int32_t DEFOM = 0;  // imposed nodal strains of the element, NSTRE per node
  std::int32_t TEFOM = 0;  // imposed nodal stresses of the element, NSTRE per node
  std::int32_t DEFOG = 0;  // for the nonlinear analysis: strains at the points
  // Plates, and flat shells of more than one layer: a layer's stiffness in its material
  // axes (TEMPA), a product (TEMPB), the rotation of the strains into material axes
  // (GIROM) and its transpose (GIROT), NSTRE x NSTRE each.
  std::int32_t TEMPA = 0, TEMPB = 0, GIROM = 0, GIROT = 0;
  // Flat shells: the element's nodal coordinates in its own axes (COOR2, x y per node)
  // and the point coordinates in them (CORP2, x y per point).
  std::int32_t COOR2 = 0, CORP2 = 0;
  // Volume element of every integration point of the current element (DVOLU), kept
  // by the B-matrix task for the tasks that follow it.
  std::int32_t DVOLU = 0;

  // The two scalars of the error-estimate task for the current element: the error
  // measure e and the reference measure u.
  double error_measure = 0.0, reference_measure = 0.0;

  double* reals(std::int32_t pos) const;
  std::int32_t* ints(std::int32_t pos) const;
  void reset() { *this = ActiveSetRecord{}; }
};
extern ActiveSetRecord ACTIVE;

// Makes a set current: loads its counts and storage codes and lays out its work
// arrays. The arrays live in the area reserved for the largest set of the problem, so
// activations never consume the main cursor; the area must have been reserved.
void ACTSET(int set);

// Reserves the area of the per-set work arrays for the largest set of the problem on
// the main cursor, for the rest of the run; the problem-header phase of every driver
// calls it once the problem is built. A second call does nothing.
void reserve_set_work_area();

// Forgets the active set and the reserved area (a new problem).
void reset_active_set();

// Fills COREL with the coordinates of element row `element` of the active set, the
// inclined-support flags and angles of its nodes, and (when displacements is not null)
// DESLO from a global vector indexed by equation (without one, DESLO of a geometrically
// nonlinear set is cleared; other sets keep it).
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
