// Small helpers on 3-vectors and 3 by 3 rotation blocks, used to build the local axes
// of flat elements and members and the rotation of nodal local systems.
#pragma once

namespace vortan {

// c = a x b (c may not alias a or b).
void cross_product(const double* a, const double* b, double* c);

double dot_product(const double* a, const double* b);

// Normalises v in place. A vector of zero length is a fatal stop ("REFER: ERROR XNO3"),
// announced on the console.
void REFER(double* v);

// Rotation matrix of a nodal local system from its three Euler angles a, b, c given in
// degrees. The angles are converted to radians in place. R is 3 by 3, column by
// column with leading dimension ld >= 3: R[i + ld * j] is R(i+1, j+1).
void euler_rotation(double* angles, int ld, double* R);

// Ways of placing a 3 by 3 block into a larger matrix.
enum BlockPlacement : int {
  BLOCK_AS_STORED = 1,
  BLOCK_SWAP_NEGATE = 2,  // first column = -second column of the block, second = first
  BLOCK_TRANSPOSED = 3,
};

// Writes the 3 by 3 block B (column by column, leading dimension ldb) into the matrix
// M (column by column, leading dimension ldm) at rows and columns offset+1 to
// offset+3. An unknown mode writes nothing.
void place_block(const double* B, int ldb, int mode, int offset, double* M, int ldm);

// Inverts the n by n matrix a in place (column by column, n <= 27) by Gauss-Jordan
// elimination without row exchanges. Returns false, leaving a undefined, when a pivot's
// magnitude is below `smallest`.
bool gauss_jordan_inverse(double* a, int n, double smallest);

}  // namespace vortan
