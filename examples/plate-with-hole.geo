// A quarter of a square plate with a central circular hole, pulled along x: the
// Gmsh geometry of the README's import example. Plate 20 x 20 (the quarter 10 x 10),
// hole radius 2; six-node triangles. Physical groups: "plate" (the surface), "left"
// (x = 0, symmetry), "bottom" (y = 0, symmetry), "right" (x = 10, pulled).
// Deck:  build/vortan-gmsh examples/plate-with-hole.geo plate-with-hole.vtn \
//          --fix left=x --fix bottom=y --fix right=x:0.01 --material "YOUNG=1000 POISSON=0.3"
SetFactory("OpenCASCADE");
Rectangle(1) = {0, 0, 0, 10, 10};
Disk(2) = {0, 0, 0, 2};
BooleanDifference(3) = {Surface{1}; Delete;}{Surface{2}; Delete;};
Mesh.MeshSizeMin = 0.4;
Mesh.MeshSizeMax = 1.2;
Mesh.ElementOrder = 2;
Mesh.MeshSizeFromCurvature = 24;
Physical Surface("plate") = {3};
left() = Curve In BoundingBox{-0.01, -0.01, -0.01, 0.01, 10.01, 0.01};
bottom() = Curve In BoundingBox{-0.01, -0.01, -0.01, 10.01, 0.01, 0.01};
right() = Curve In BoundingBox{9.99, -0.01, -0.01, 10.01, 10.01, 0.01};
Physical Curve("left") = {left()};
Physical Curve("bottom") = {bottom()};
Physical Curve("right") = {right()};
