// Principal stresses and the von Mises stress of a stress tensor, for the nodal
// blocks of the post-processing files.
#pragma once

namespace vortan {

// The principal traction and compression of a tensor (xx, yy, zz, xy, xz, yz) as
// vectors: the largest principal stress times its unit direction when it is positive
// (else zero), and the smallest principal stress times its unit direction when it is
// negative (else zero). With in_plane the tensor is taken in the x-y plane only (the
// two principal stresses of xx, yy, xy; the third components are 0).
struct PrincipalVectors {
  double traction[3] = {};
  double compression[3] = {};
};
PrincipalVectors principal_vectors(const double tensor[6], bool in_plane);

// Eigenvalues (ascending) and unit eigenvectors (columns: vectors[.][k] belongs to
// values[k]) of the symmetric tensor (xx, yy, zz, xy, xz, yz), by Jacobi rotations.
void principal_stresses(const double tensor[6], double values[3], double vectors[3][3]);

// sqrt(((xx-yy)^2 + (yy-zz)^2 + (zz-xx)^2) / 2 + 3 (xy^2 + xz^2 + yz^2)).
double von_mises(const double tensor[6]);

}  // namespace vortan
