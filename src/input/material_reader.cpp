// Materials of the element sets: the "MATERIAL" card of one-layer sets (by problem
// type), the layer cards of laminates, the conductivities of heat-conduction sets, and
// the range check of Poisson's ratio.
//
// The positions of the properties are named in input/property_layout.h.
#include <algorithm>
#include <cmath>

#include "input/card_reader.h"
#include "input/parameters.h"
#include "input/set_input.h"

namespace vortan::set_input {

using namespace props;

namespace {

constexpr const char* CONNECTION_TEXT = " CONECTIVIDAD CON VIGA  (1 SI)   0(NO)";

// The coefficient of thermal expansion, optional and echoed only when given, so that
// the listing of a set without it does not change.
double read_expansion() { return GETREA("DILATACION=", 0.0, "? COEF. DE DILATACION TERMICA"); }

void read_frame_material(SetCards& cards) {
  double* p = cards.props;
  p[FRAME_YOUNG] = GETREA("YOUNG=", 0.0, "! MODULO DE YOUNG");
  p[FRAME_AREA] = GETREA("AREA=", 0.0, " AREA. . . . . . .");
  p[FRAME_INERTIA_X] = GETREA("XINER=", 0.0, " INERCIA SOBRE EJE X");
  if (cards.beam_dimension == 2) {
    p[FRAME_SPECIFIC_WEIGHT] = GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO");
    // Plane combined structures say how their members are connected: as bars, rigidly,
    // or hinged at the member's first node.
    if (cards.beam_subtype == 3) {
      const int connection = GETINT("CONEXION=", 2, " CONEXION 1-BARRA 2-RIGIDA 3-ARTICULADA");
      if (connection < 1 || connection > 3) stop(STRUCTURAL_READER, "CONEXION DE BARRA ERRONEA");
      p[FRAME_MEMBER_CONNECTION] = connection;
    }
  } else if (cards.beam_dimension == 3) {
    p[FRAME_INERTIA_Y] = GETREA("YINER=", 0.0, " INERCIA SOBRE EJE Y");
    p[FRAME_POLAR_INERTIA] = GETREA("XJNER=", 0.0, " PRODUCTO POLAR DE INERCIA");
    p[FRAME_SHEAR_MODULUS] = GETREA("GCORT=", 0.0, " MODULO DE CORTE");
    p[FRAME_BEAM_CONNECTION] = GETREA("INDCONE=", 0.0, CONNECTION_TEXT);
    if (p[FRAME_BEAM_CONNECTION] != 0.0) {
      p[FRAME_BEAM_THICKNESS] = GETREA("ESPVIGA=", 0.0, " ESPESOR VIGA (CG-SUP. LAMINA)");
      p[FRAME_SHELL_THICKNESS] = GETREA("ESPLAM=", 0.0, " ESPESOR LAMINA (CG-SUP. LAMINA)");
    }
  }
  p[FRAME_EXPANSION] = read_expansion();
}

void read_one_layer(SetCards& cards) {
  double* p = cards.props;
  // Young's modulus, Poisson's ratio and density sit at the same place in the
  // continuum, plate and beam-element layouts.
  static_assert(int{CONTINUUM_DENSITY} == int{PLATE_DENSITY} && int{PLATE_DENSITY} == int{BEAM_DENSITY});
  p[CONTINUUM_YOUNG] = GETREA("YOUNG=", 0.0, "! MODULO DE YOUNG");
  p[CONTINUUM_POISSON] = GETREA("POISSON=", 0.0, " MODULO DE POISSON");
  p[CONTINUUM_DENSITY] = GETREA("DENSIDAD=", 0.0, " DENSIDAD");
  if (cards.problem_type == BEAM_ELEMENT) {
    // The section of a beam element is its width and height; it has no thickness.
    p[BEAM_WIDTH] = GETREA("ANCHO=", 1.0, " ANCHO");
    p[BEAM_HEIGHT] = GETREA("ALTO=", 1.0, " ALTO");
    return;
  }
  static_assert(int{CONTINUUM_THICKNESS} == int{PLATE_THICKNESS});
  if (cards.problem_type != SOLID) p[PLATE_THICKNESS] = GETREA("ESPESOR=", 1.0, " ESPESOR");
  if (cards.problem_type == FLAT_SHELL) p[PLATE_BEAM_CONNECTION] = GETREA("INDCONE=", 0.0, CONNECTION_TEXT);
  // The continuum carries its specific weight for the self-weight load as a fifth
  // property, apart from the density of its mass.
  if (is_continuum(cards.problem_type))
    p[CONTINUUM_SPECIFIC_WEIGHT] = GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO");
  // Plates and flat shells too: their self weight is a pressure of thickness times
  // specific weight.
  if (cards.problem_type == PLATE || cards.problem_type == FLAT_SHELL)
    p[PLATE_SPECIFIC_WEIGHT] = GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO");
  if (is_continuum(cards.problem_type)) p[CONTINUUM_EXPANSION] = read_expansion();
  if (cards.problem_type == PLATE || cards.problem_type == FLAT_SHELL) p[PLATE_EXPANSION] = read_expansion();
}

// One layer card: "LAMINADO=" names the layer, which gets ten fresh properties. The
// ninth (the third shear modulus) is read from "ANGULO=", the parameter the tenth
// reads too, and is not used: its place then keeps the layer's density, "DENSIDAD="
// (optional, echoed when given, 0 without it: a layer without density has no mass).
void read_layer_card(SetCards& cards) {
  LISTEN(STRUCTURAL_READER.routine);
  const int layer = GETINT("LAMINADO=", 2, " LAMINADO NUMERO:");
  // Layer 0 would write before the property list and a layer above the count after it.
  if (layer < 1 || layer > cards.layers) stop(STRUCTURAL_READER, "NUMERO ERRORNEO DE LAMINADOS");
  double* p = cards.props + LAYER_COUNT * (layer - 1);
  std::fill(p, p + LAYER_COUNT, 0.0);
  p[LAYER_YOUNG_1] = GETREA("YOUN1=", 0.0, " MODULO DE YOUNG 1");
  p[LAYER_POISSON_1] = GETREA("POIS1=", 0.0, " MODULO DE POISSON 1");
  p[LAYER_THICKNESS] = GETREA("ESPESOR=", 1.0, " ESPESOR DE LAMINADO");
  p[LAYER_SPECIFIC_WEIGHT] = GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO");
  p[LAYER_YOUNG_2] = GETREA("YOUN2=", 0.0, " MODULO DE YOUNG 2");
  p[LAYER_POISSON_2] = GETREA("POIS2=", 0.0, " MODULO DE POISSON 2");
  p[LAYER_SHEAR_1] = GETREA("CORT1=", 0.0, " CORTANTE EN DIRECCION 1");
  p[LAYER_SHEAR_2] = GETREA("CORT2=", 1.0, " CORTANTE EN DIRECCION 2");
  p[LAYER_SHEAR_3] = GETREA("ANGULO=", 1.0, " CORTANTE EN DIRECCION 3");
  p[LAYER_ANGLE] = GETREA("ANGULO=", 1.0, " ANGULO");
  p[LAYER_DENSITY] = GETREA("DENSIDAD=", 0.0, "? DENSIDAD");
}

// A laminate's "MATERIAL" card is followed by one card per layer.
void read_laminate(SetCards& cards) {
  for (int card = 1; card <= cards.layers; ++card) read_layer_card(cards);
}

}  // namespace

void read_structural_material(SetCards& cards) {
  if (cards.layers > 1) read_laminate(cards);
  else if (cards.problem_type == FRAME) read_frame_material(cards);
  else read_one_layer(cards);
}

void read_thermal_material(SetCards& cards) {
  double* p = cards.props;
  p[CONDUCTIVITY_X] = GETREA("CONDX=", 0.0, "! CONDUCTIVIDAD EN X");
  p[CONDUCTIVITY_Y] = GETREA("CONDY=", 0.0, "! CONDUCTIVIDAD EN Y");
  p[CONDUCTIVITY_Z] = GETREA("CONDZ=", 0.0, "! CONDUCTIVIDAD EN Z");
  p[CONDUCTION_CONVECTION] = GETREA("CONVC=", 0.0, " CONVECCION ........");
  // A missing thickness means a unit slice, as for the structural sets.
  p[CONDUCTION_THICKNESS] = GETREA("ESPESOR=", 1.0, " ESPESOR.... .......");
  p[CONDUCTION_HEAT] = GETREA("CALESP=", 0.0, " CALOR INTERNO......");
}

int structural_property_count(const SetCards& cards) {
  if (cards.layers > 1) return LAYER_COUNT;
  if (cards.problem_type == FRAME) return FRAME_COUNT;
  // With the connection flag (flat shells) and the specific weight.
  // A coefficient of thermal expansion lengthens the list by one; without it the list
  // is the one of the sets that never had it.
  if (cards.problem_type == PLATE || cards.problem_type == FLAT_SHELL)
    return PLATE_SHELL_COUNT + (cards.props[PLATE_EXPANSION] != 0.0 ? 1 : 0);
  if (cards.problem_type == BEAM_ELEMENT) return BEAM_COUNT;
  if (is_continuum(cards.problem_type))  // with the specific weight
    return CONTINUUM_COUNT + (cards.props[CONTINUUM_EXPANSION] != 0.0 ? 1 : 0);
  return PLATE_COUNT;
}

namespace {

// Plane strain, axisymmetric and solid matrices divide by 1 - 2 nu and 1 + nu; the
// plane-stress, plate and shell matrices by 1 - nu^2 (and 1 + nu).
bool poisson_in_range(int problem_type, double nu) {
  switch (problem_type) {
    case PLANE_STRAIN: case AXISYMMETRIC: case SOLID: return nu < 0.5 && nu > -1.0;
    case PLANE_STRESS: case PLATE: case SHELL_OF_REVOLUTION: case FLAT_SHELL: case BEAM_ELEMENT:
      return std::fabs(nu) < 1.0;
    default: return true;  // frames have no Poisson's ratio
  }
}

}  // namespace

void check_structural_material(const SetCards& cards) {
  bool valid = true;
  if (cards.layers > 1) {
    // An orthotropic layer divides by 1 - nu1 nu2.
    for (int layer = 0; layer < cards.layers; ++layer) {
      const double* p = cards.props + LAYER_COUNT * layer;
      valid = valid && p[LAYER_POISSON_1] * p[LAYER_POISSON_2] < 1.0;
    }
  } else {
    valid = poisson_in_range(cards.problem_type, cards.props[CONTINUUM_POISSON]);
  }
  if (!valid) stop(STRUCTURAL_READER, "MODULO DE POISSON FUERA DE RANGO");
}

// A modulus or a thickness of zero or below gives a singular or reversed stiffness.
void check_moduli_and_thicknesses(const Reader& reader, const SetCards& cards) {
  const double* p = cards.props;
  if (reader.thermal) {
    if (!(p[CONDUCTION_THICKNESS] > 0.0)) stop(reader, "ESPESOR NO POSITIVO");
    return;
  }
  if (cards.layers > 1) {
    for (int layer = 0; layer < cards.layers; ++layer) {
      const double* q = p + LAYER_COUNT * layer;
      if (!(q[LAYER_YOUNG_1] > 0.0)) stop(reader, "MODULO DE YOUNG NO POSITIVO");
      if (!(q[LAYER_THICKNESS] > 0.0)) stop(reader, "ESPESOR NO POSITIVO");
    }
    return;
  }
  static_assert(int{CONTINUUM_YOUNG} == int{FRAME_YOUNG} && int{FRAME_YOUNG} == int{PLATE_YOUNG} && int{PLATE_YOUNG} == int{BEAM_YOUNG});
  if (!(p[CONTINUUM_YOUNG] > 0.0)) stop(reader, "MODULO DE YOUNG NO POSITIVO");
  const bool has_thickness =
      cards.problem_type != FRAME && cards.problem_type != SOLID && cards.problem_type != BEAM_ELEMENT;
  if (has_thickness && !(p[PLATE_THICKNESS] > 0.0)) stop(reader, "ESPESOR NO POSITIVO");
}

}  // namespace vortan::set_input
