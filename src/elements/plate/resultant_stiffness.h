// The resultant-stiffness matrix of plates and flat shells (the task "DCOMATRIZ" of
// these families): generalized stresses (membrane forces, moments, shears) in terms of
// the generalized strains of plate_strains.h, for one isotropic layer or a laminate.
// The formulas are written out in docs/plates-and-shells.md.
#pragma once

namespace vortan {

// Where the blocks of a resultant matrix of nstre rows sit: membrane rows (flat
// shells), bending rows, shear rows (the thick elements); -1 for a block it has not.
struct ResultantBlocks {
  int membrane = -1;
  int bending = 0;
  int shear = -1;
};
ResultantBlocks resultant_blocks(int nstre);

// One isotropic layer of Young's modulus e, Poisson's ratio nu and thickness t (0 or
// less counts as 1): d (nstre x nstre, column by column) gets
//   membrane  Dm [1 nu 0; nu 1 0; 0 0 (1-nu)/2],  Dm = E t / (1 - nu^2)
//   bending   Db [same],                          Db = E t^3 / (12 (1 - nu^2))
//   shear     Ds on the diagonal,                 Ds = E t / (2.4 (1 + nu))
void single_layer_resultants(double e, double nu, double t, int nstre, double* d);

// One orthotropic layer of a laminate, as the layer card gives it.
struct Layer {
  double young_1, young_2;      // along and across the fibres
  double poisson_12, poisson_21;
  double shear_12;              // in-plane shear modulus
  double shear_transverse;      // transverse shear modulus (both planes)
  double thickness;
  double angle_degrees;         // fibre direction from the x axis
};

// Adds a layer lying between z_bottom and z_top (z measured from the middle surface,
// +z the side of the first layer) into d by classical lamination theory: the layer's
// stiffness in its material axes (tempa), the strain rotation from element to material
// axes (girom) and its transpose (girot) and their product (tempb), all nstre x nstre.
void add_layer_resultants(const Layer& layer, double z_bottom, double z_top, int nstre, double* d,
                          double* tempa, double* tempb, double* girom, double* girot);

}  // namespace vortan
