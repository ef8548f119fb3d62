// Materials of the element sets: the "MATERIAL" card of one-layer sets (by problem
// type), the layer cards of laminates, the conductivities of heat-conduction sets, and
// the range check of Poisson's ratio.
//
// Property positions (1-based, as the element routines read them):
//   frames ("VIGA"):  1 E, 2 area, 3 inertia about x; in two dimensions 4 specific
//                     weight; in three 4 inertia about y, 5 polar inertia, 6 shear
//                     modulus, 7 beam connection flag, 8 beam and 9 shell thickness
//                     (only with the flag set)
//   other one-layer:  1 E, 2 nu, 3 density, 4 thickness (not for solids); flat shells
//                     5 beam connection flag; beam elements 4 width, 5 height
//   laminates:        ten per layer n at 10(n-1)+1: E1, nu1, thickness, specific
//                     weight, E2, nu2, G1, G2, G3, angle
//   heat conduction:  1 kx, 2 ky, 3 kz, 4 convection, 5 thickness, 6 internal heat
#include <algorithm>
#include <cmath>

#include "input/card_reader.h"
#include "input/parameters.h"
#include "input/set_input.h"

namespace vortan::set_input {

namespace {

constexpr const char* CONNECTION_TEXT = " CONECTIVIDAD CON VIGA  (1 SI)   0(NO)";

void read_frame_material(SetCards& cards) {
  double* p = cards.props;
  p[0] = GETREA("YOUNG=", 0.0, "! MODULO DE YOUNG");
  p[1] = GETREA("AREA=", 0.0, " AREA. . . . . . .");
  p[2] = GETREA("XINER=", 0.0, " INERCIA SOBRE EJE X");
  if (cards.beam_dimension == 2) {
    p[3] = GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO");
  } else if (cards.beam_dimension == 3) {
    p[3] = GETREA("YINER=", 0.0, " INERCIA SOBRE EJE Y");
    p[4] = GETREA("XJNER=", 0.0, " PRODUCTO POLAR DE INERCIA");
    p[5] = GETREA("GCORT=", 0.0, " MODULO DE CORTE");
    p[6] = GETREA("INDCONE=", 0.0, CONNECTION_TEXT);
    if (p[6] != 0.0) {
      p[7] = GETREA("ESPVIGA=", 0.0, " ESPESOR VIGA (CG-SUP. LAMINA)");
      p[8] = GETREA("ESPLAM=", 0.0, " ESPESOR LAMINA (CG-SUP. LAMINA)");
    }
  }
}

void read_one_layer(SetCards& cards) {
  double* p = cards.props;
  p[0] = GETREA("YOUNG=", 0.0, "! MODULO DE YOUNG");
  p[1] = GETREA("POISSON=", 0.0, " MODULO DE POISSON");
  p[2] = GETREA("DENSIDAD=", 0.0, " DENSIDAD");
  if (cards.problem_type == BEAM_ELEMENT) {
    // The section of a beam element is its width and height; it has no thickness.
    p[3] = GETREA("ANCHO=", 1.0, " ANCHO");
    p[4] = GETREA("ALTO=", 1.0, " ALTO");
    return;
  }
  if (cards.problem_type != SOLID) p[3] = GETREA("ESPESOR=", 1.0, " ESPESOR");
  if (cards.problem_type == FLAT_SHELL) p[4] = GETREA("INDCONE=", 0.0, CONNECTION_TEXT);
  // The continuum carries its specific weight for the self-weight load as a fifth
  // property, apart from the density of its mass.
  if (cards.problem_type <= SOLID) p[4] = GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO");
}

// One layer card: "LAMINADO=" names the layer, which gets ten fresh properties. The
// ninth (the third shear modulus) is read from "ANGULO=", the parameter the tenth
// reads too, so both hold the angle of the card.
void read_layer_card(SetCards& cards) {
  LISTEN(STRUCTURAL_READER.routine);
  const int layer = GETINT("LAMINADO=", 2, " LAMINADO NUMERO:");
  // Layer 0 would write before the property list and a layer above the count after it.
  if (layer < 1 || layer > cards.layers) stop(STRUCTURAL_READER, "NUMERO ERRORNEO DE LAMINADOS");
  double* p = cards.props + LAYER_PROPERTIES * (layer - 1);
  std::fill(p, p + LAYER_PROPERTIES, 0.0);
  p[0] = GETREA("YOUN1=", 0.0, " MODULO DE YOUNG 1");
  p[1] = GETREA("POIS1=", 0.0, " MODULO DE POISSON 1");
  p[2] = GETREA("ESPESOR=", 1.0, " ESPESOR DE LAMINADO");
  p[3] = GETREA("PESOVOL=", 0.0, " PESO VOLUMETRICO");
  p[4] = GETREA("YOUN2=", 0.0, " MODULO DE YOUNG 2");
  p[5] = GETREA("POIS2=", 0.0, " MODULO DE POISSON 2");
  p[6] = GETREA("CORT1=", 0.0, " CORTANTE EN DIRECCION 1");
  p[7] = GETREA("CORT2=", 1.0, " CORTANTE EN DIRECCION 2");
  p[8] = GETREA("ANGULO=", 1.0, " CORTANTE EN DIRECCION 3");
  p[9] = GETREA("ANGULO=", 1.0, " ANGULO");
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
  p[0] = GETREA("CONDX=", 0.0, "! CONDUCTIVIDAD EN X");
  p[1] = GETREA("CONDY=", 0.0, "! CONDUCTIVIDAD EN Y");
  p[2] = GETREA("CONDZ=", 0.0, "! CONDUCTIVIDAD EN Z");
  p[3] = GETREA("CONVC=", 0.0, " CONVECCION ........");
  // A missing thickness means a unit slice, as for the structural sets.
  p[4] = GETREA("ESPESOR=", 1.0, " ESPESOR.... .......");
  p[5] = GETREA("CALESP=", 0.0, " CALOR INTERNO......");
}

int structural_property_count(const SetCards& cards) {
  if (cards.layers > 1) return LAYER_PROPERTIES;
  if (cards.problem_type == FRAME) return 10;
  if (cards.problem_type == FLAT_SHELL || cards.problem_type == BEAM_ELEMENT) return 5;
  if (cards.problem_type <= SOLID) return 5;  // with the specific weight
  return 4;
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
      const double* p = cards.props + LAYER_PROPERTIES * layer;
      valid = valid && p[1] * p[5] < 1.0;
    }
  } else {
    valid = poisson_in_range(cards.problem_type, cards.props[1]);
  }
  if (!valid) stop(STRUCTURAL_READER, "MODULO DE POISSON FUERA DE RANGO");
}

// A modulus or a thickness of zero or below gives a singular or reversed stiffness.
void check_moduli_and_thicknesses(const Reader& reader, const SetCards& cards) {
  const double* p = cards.props;
  if (reader.thermal) {
    if (!(p[4] > 0.0)) stop(reader, "ESPESOR NO POSITIVO");
    return;
  }
  if (cards.layers > 1) {
    for (int layer = 0; layer < cards.layers; ++layer) {
      const double* q = p + LAYER_PROPERTIES * layer;
      if (!(q[0] > 0.0)) stop(reader, "MODULO DE YOUNG NO POSITIVO");
      if (!(q[2] > 0.0)) stop(reader, "ESPESOR NO POSITIVO");
    }
    return;
  }
  if (!(p[0] > 0.0)) stop(reader, "MODULO DE YOUNG NO POSITIVO");
  const bool has_thickness =
      cards.problem_type != FRAME && cards.problem_type != SOLID && cards.problem_type != BEAM_ELEMENT;
  if (has_thickness && !(p[3] > 0.0)) stop(reader, "ESPESOR NO POSITIVO");
}

}  // namespace vortan::set_input
