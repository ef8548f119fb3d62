// The table of valid combinations of problem type and element type: for each, the
// degrees of freedom per node, the two stress counts (the first for the stresses, the
// second for their storage), the set dimension and the kinds of nodal degree of
// freedom (1 to 14, the columns of the nodal table) that the set uses.
#include <initializer_list>

#include "input/catalogue.h"
#include "input/set_input.h"

namespace vortan::set_input {

namespace {

bool between(int code, int low, int high) { return code >= low && code <= high; }

SetCounts counts(int dofn, int nstre, int nstr1, int dimension,
                 std::initializer_list<int> kinds) {
  SetCounts result;
  result.NDOFN = dofn;
  result.NSTRE = nstre;
  result.NSTR1 = nstr1;
  result.dimension = dimension;
  for (int kind : kinds) result.pattern[kind - 1] = 1;
  return result;
}

SetCounts all_six(int dofn, int nstre, int dimension) {
  return counts(dofn, nstre, nstre, dimension, {1, 2, 3, 4, 5, 6});
}

[[noreturn]] void incompatible(const Reader& reader) {
  stop(reader, "ELEMENTO INCOMPATIBLE CON ANALISIS");
}
[[noreturn]] void not_implemented(const Reader& reader) {
  stop(reader, "COMBINACION NO IMPLEMENTADA");
}

// Continuum sets: plane stress and strain, solids of revolution and solids.
SetCounts continuum(int type, int element) {
  if (type == SOLID) {
    if (between(element, ELEM_HE8, ELEM_PI15)) return counts(3, 6, 6, 3, {1, 2, 3});
    if (is_element_type(element)) incompatible(STRUCTURAL_READER);
    not_implemented(STRUCTURAL_READER);
  }
  if (between(element, ELEM_TR3, ELEM_QU9)) {
    if (type == AXISYMMETRIC) return counts(2, 4, 4, 2, {1, 3});
    return counts(2, 3, 4, 2, {1, 2});
  }
  if (is_element_type(element)) incompatible(STRUCTURAL_READER);
  not_implemented(STRUCTURAL_READER);
}

// Plates and flat shells: the triangles TLCL and DKT have their own stress counts; any
// element up to CLLL is accepted.
SetCounts plate_or_shell(int type, int element) {
  if (type == PLATE && between(element, ELEM_LI2, ELEM_TRC2)) incompatible(STRUCTURAL_READER);
  if (!between(element, ELEM_TR3, ELEM_CLLL)) not_implemented(STRUCTURAL_READER);
  if (type == PLATE) {
    if (element == ELEM_DKT) return counts(3, 3, 3, 2, {3, 4, 5});
    return counts(3, 5, 5, 2, {3, 4, 5});
  }
  if (element == ELEM_DKT) return all_six(6, 6, 3);
  return all_six(6, 8, 3);
}

// "VIGA" sets: bars carry displacements only, grids and frames rotations too. The card
// fixes the element: two nodes, plus the reference node of three-dimensional grids and
// frames, and two integration points.
SetCounts frame(SetCards& cards) {
  const int dimension = cards.beam_dimension;
  if (dimension != 2 && dimension != 3) not_implemented(STRUCTURAL_READER);
  const bool bars = cards.beam_subtype == 1;
  cards.NNODE = !bars && dimension == 3 ? 3 : 2;
  cards.NGAUS = BEAM_GAUSS_POINTS;
  if (bars) return dimension == 2 ? counts(2, 3, 3, 2, {1, 2}) : counts(3, 3, 3, 3, {1, 2, 3});
  return dimension == 2 ? counts(3, 3, 3, 2, {1, 2, 4}) : all_six(6, 6, 3);
}

SetCounts beam_element(const SetCards& cards) {
  if (cards.beam_dimension != 2) not_implemented(STRUCTURAL_READER);
  if (cards.element_type != ELEM_LI2 && cards.element_type != ELEM_LI3)
    stop(STRUCTURAL_READER, "ESTA PARIDA NO EXISTE");
  return counts(3, 3, 3, 2, {1, 2, 4});
}

SetCounts structural_counts(SetCards& cards) {
  const int type = cards.problem_type;
  const int element = cards.element_type;
  switch (type) {
    case PLANE_STRESS: case PLANE_STRAIN: case AXISYMMETRIC: case SOLID:
      return continuum(type, element);
    case PLATE: case FLAT_SHELL: return plate_or_shell(type, element);
    case SHELL_OF_REVOLUTION:
      if (element != ELEM_TRC2) incompatible(STRUCTURAL_READER);
      return counts(3, 5, 5, 2, {1, 3, 4});
    case FRAME: return frame(cards);
    case BEAM_ELEMENT: return beam_element(cards);
    default: not_implemented(STRUCTURAL_READER);
  }
}

// Stress components of the nonlinear continuum sets.
int nonlinear_stresses(int type) {
  if (type == AXISYMMETRIC) return 5;
  if (type == SOLID) return 6;
  return 4;
}

}  // namespace

SetCounts structural_combination(SetCards& cards) {
  SetCounts result = structural_counts(cards);
  if (cards.nonlinear == 1) result.NSTNL = nonlinear_stresses(cards.problem_type);
  result.nprops = structural_property_count(cards);
  return result;
}

// Heat conduction: one temperature per node (kind 1) and one gradient component per
// dimension: lines in one dimension, triangles and quadrilaterals in two, solids in
// three.
SetCounts thermal_combination(const SetCards& cards) {
  const int dimension = cards.problem_type;
  const int element = cards.element_type;
  const bool valid = (dimension == 1 && between(element, ELEM_LI2, ELEM_LI3)) ||
                     (dimension == 2 && between(element, ELEM_TR3, ELEM_QU9)) ||
                     (dimension == 3 && between(element, ELEM_HE8, ELEM_PI15));
  if (!valid) {
    if (between(dimension, 1, 3) && is_element_type(element)) incompatible(THERMAL_READER);
    not_implemented(THERMAL_READER);
  }
  SetCounts result = counts(1, dimension, dimension, dimension, {1});
  result.nprops = props::CONDUCTION_COUNT;
  return result;
}

}  // namespace vortan::set_input
