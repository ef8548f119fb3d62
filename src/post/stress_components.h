// The stress components the post-processing files write for a set: which blocks its
// problem type has, the names and tensor indices of their components, and where each
// component sits in the element's stress record and in the smoothed nodal record.
#pragma once

namespace vortan {

// The stress blocks of a problem type.
enum class StressLayout {
  none,                 // no stress blocks: beam sets ("VIGA"), heat-conduction sets
  plane,                // plane stress and plane strain: sx, sy, txy (and sz smoothed)
  axisymmetric,         // sr, sz, trz, hoop
  solid,                // sx, sy, sz, txy, txz, tyz
  plate,                // mx, my, mxy, qxz, qyz
  shell_of_revolution,  // nx, ny, mx, my, qz
  flat_shell,           // membrane forces, moments and shears; resultants only
  unhandled,            // a problem type no stress block describes
};

StressLayout stress_layout(int set);

// Continuum layouts: those with a stress tensor, principal stresses and von Mises.
constexpr bool is_continuum_layout(StressLayout layout) {
  return layout == StressLayout::plane || layout == StressLayout::axisymmetric || layout == StressLayout::solid;
}

struct StressComponent {
  const char* name;
  int source;  // position (0-based) in the stress record and in the smoothed record
  int i, j;    // tensor indices (j = 0 for a vector component)
  int moment;  // 1 for a moment-type resultant, 0 otherwise
};

inline constexpr int MAX_WRITTEN_COMPONENTS = 8;

struct ComponentTable {
  int count;
  StressComponent component[MAX_WRITTEN_COMPONENTS];
};

// Components of the neutral file's integration-point and nodal stress blocks; null
// for the layouts without them (none, flat shells, unhandled). nstre tells the thin
// plate triangle (three moments, no shears) apart.
const ComponentTable* femview_stress_components(StressLayout layout, int nstre = 5);

// Components of the stress-resultant blocks of plates and shells (nstre: the set's
// stress components, which tells the triangles without shears apart); null for the
// others.
const ComponentTable* resultant_components(StressLayout layout, int nstre);

// Components of the principal-stress vector blocks.
const ComponentTable& principal_components();

// The stress tensor (xx, yy, zz, xy, xz, yz) of a continuum layout from a smoothed
// nodal record: plane (sx, sy, txy, sz), axisymmetric (sr, sz, trz, hoop) with the
// hoop stress as zz, solid in tensor order.
void continuum_tensor(StressLayout layout, const double* smoothed, double tensor[6]);

// Smoothed components of a continuum layout as the tensor holds them (4 in two
// dimensions: xx, yy, zz, xy; 6 for solids).
int continuum_tensor_components(StressLayout layout);

}  // namespace vortan
