// Positions (0-based) of the material properties in a set's property list PROPS, by
// kind of set. The material reader writes them and the element tasks read them by
// these names, so the two sides cannot drift apart.
#pragma once

namespace vortan::props {

// Continuum sets (plane stress, plane strain, solids of revolution, solids).
enum Continuum : int {
  CONTINUUM_YOUNG = 0,
  CONTINUUM_POISSON = 1,
  CONTINUUM_DENSITY = 2,
  CONTINUUM_THICKNESS = 3,        // plane sets only
  CONTINUUM_SPECIFIC_WEIGHT = 4,  // "PESOVOL=", the self-weight load
  CONTINUUM_COUNT = 5,
  // "DILATACION=", the coefficient of thermal expansion: in the list only when it is
  // not zero (the list then holds CONTINUUM_COUNT + 1 properties).
  CONTINUUM_EXPANSION = 5,
};

// One-layer plates, flat shells and shells of revolution.
enum Plate : int {
  PLATE_YOUNG = 0,
  PLATE_POISSON = 1,
  PLATE_DENSITY = 2,
  PLATE_THICKNESS = 3,
  PLATE_BEAM_CONNECTION = 4,  // flat shells: "INDCONE=" (1 when connected to beams)
  PLATE_SPECIFIC_WEIGHT = 5,  // plates and flat shells: "PESOVOL=", the self-weight load
  PLATE_COUNT = 4,            // shells of revolution
  PLATE_SHELL_COUNT = 6,      // plates and flat shells (plates leave the connection at 0)
  // Plates and flat shells: "DILATACION=", in the list only when it is not zero (the
  // list then holds PLATE_SHELL_COUNT + 1 properties).
  PLATE_EXPANSION = 6,
};

// Beam finite elements ("ELEMENTOFINITOVIGA").
enum BeamElement : int {
  BEAM_YOUNG = 0,
  BEAM_POISSON = 1,
  BEAM_DENSITY = 2,
  BEAM_WIDTH = 3,
  BEAM_HEIGHT = 4,
  BEAM_COUNT = 5,
};

// Frame members ("VIGA"). In two dimensions the fourth property is the specific
// weight; in three it is the inertia about y, followed by the rest.
enum Frame : int {
  FRAME_YOUNG = 0,
  FRAME_AREA = 1,
  FRAME_INERTIA_X = 2,
  FRAME_SPECIFIC_WEIGHT = 3,  // two dimensions
  FRAME_INERTIA_Y = 3,        // three dimensions
  FRAME_POLAR_INERTIA = 4,
  FRAME_SHEAR_MODULUS = 5,
  FRAME_BEAM_CONNECTION = 6,  // "INDCONE="
  FRAME_BEAM_THICKNESS = 7,   // only with the connection flag set
  FRAME_SHELL_THICKNESS = 8,  // only with the connection flag set
  FRAME_MEMBER_CONNECTION = 4,  // two dimensions, "COMBINADO": "CONEXION=" 1 bar, 2 rigid, 3 hinged
  FRAME_EXPANSION = 9,        // "DILATACION=", 0 when not given
  FRAME_COUNT = 10,
};

// Layers of a laminate: LAYER_COUNT properties per layer, layer n (1-based) from
// LAYER_COUNT * (n - 1).
enum Layer : int {
  LAYER_YOUNG_1 = 0,
  LAYER_POISSON_1 = 1,
  LAYER_THICKNESS = 2,
  LAYER_SPECIFIC_WEIGHT = 3,
  LAYER_YOUNG_2 = 4,
  LAYER_POISSON_2 = 5,
  LAYER_SHEAR_1 = 6,
  LAYER_SHEAR_2 = 7,
  LAYER_SHEAR_3 = 8,          // read from "ANGULO=" and not used; holds the density
  LAYER_DENSITY = 8,          // "DENSIDAD=", 0 when not given
  LAYER_ANGLE = 9,
  LAYER_COUNT = 10,
};

// Heat-conduction sets.
enum Conduction : int {
  CONDUCTIVITY_X = 0,  // conductivities along x, y, z follow each other
  CONDUCTIVITY_Y = 1,
  CONDUCTIVITY_Z = 2,
  CONDUCTION_CONVECTION = 3,
  CONDUCTION_THICKNESS = 4,
  CONDUCTION_HEAT = 5,  // internal heat generation per volume
  CONDUCTION_COUNT = 6,
};

}  // namespace vortan::props
