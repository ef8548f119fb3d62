// Geometry of a bar or frame member: its length and its local axes.
//
// The local axes are three unit vectors V1 (along the member, from its first node to
// its second), V2 and V3, kept as the columns of a 3 by 3 rotation matrix stored
// column by column: axes[i + 3 * j] is component i+1 of V(j+1). A vector with global
// components g has local components l(j) = V(j) . g.
//
//   Plane members: V1 = (c, s, 0), V2 = (-s, c, 0), V3 = (0, 0, 1).
//   Space members without a reference node: V1 along the member; V2 horizontal,
//     (-hy, hx, 0) with (hx, hy) the horizontal direction of the member; V3 = V1 x V2,
//     which points upwards. A vertical member has no horizontal direction: it takes
//     V2 = (0, 1, 0).
//   Space members with a reference node R: V3 = V1 x (R - x1), V2 = V3 x V1, so that
//     V2 lies in the plane of the member and R and points towards R's side.
#pragma once

namespace vortan {

// How the axes of a member are found.
enum MemberAxesMode : int {
  AXES_FROM_MEMBER = 1,   // from the member alone (plane members, space bars, no reference node)
  AXES_FROM_REFERENCE = 2 // from the reference node, the third column of the coordinates
};

// RIGVIG: length and axes of the member whose node coordinates are in corel (ndime
// coordinates per node, the reference node third). A member of zero length or axes
// that cannot be built (a reference node on the member's line) are written to the
// listing with the element number and stop the run.
void RIGVIG(int ndime, const double* corel, double& length, int element_number, int axes_mode, double* axes);

}  // namespace vortan
