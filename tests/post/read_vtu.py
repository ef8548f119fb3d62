"""Reads a VTK unstructured-grid file with VTK's own XML reader and prints what the
post-processing tests compare, one item a line:

  points N / cells M / type T COUNT          counts and cell types
  folded K                                   cells whose Jacobian is not positive at
                                             their centre or near a corner (2-D cells in
                                             the x-y plane, 3-D cells)
  curved K                                   edges of quadratic cells whose middle point
                                             is not halfway between the ends
  array point|cell|field NAME COMPONENTS NAMES...  every data array
  value point|cell|field NAME ID V1 V2 ...         every tuple (ID 1-based), with
                                                   seventeen significant digits, so
                                                   that a double reads back exactly

Exit status 3 when the reader reports an error or reads nothing."""
import sys

import vtk


def jacobian_sign(cell, p):
    sub = vtk.mutable(0)
    weights = [0.0] * cell.GetNumberOfPoints()
    h = 1e-6
    cols = []
    for d in range(cell.GetCellDimension()):
        lo, hi = list(p), list(p)
        lo[d] -= h
        hi[d] += h
        a, b = [0.0] * 3, [0.0] * 3
        cell.EvaluateLocation(sub, lo, a, weights)
        cell.EvaluateLocation(sub, hi, b, weights)
        cols.append([(b[i] - a[i]) / (2 * h) for i in range(3)])
    if len(cols) == 2:
        return cols[0][0] * cols[1][1] - cols[0][1] * cols[1][0]
    m = cols
    return (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
            - m[1][0] * (m[0][1] * m[2][2] - m[0][2] * m[2][1])
            + m[2][0] * (m[0][1] * m[1][2] - m[0][2] * m[1][1]))


def main(path):
    errors = vtk.vtkStringOutputWindow()
    vtk.vtkOutputWindow.SetInstance(errors)
    reader = vtk.vtkXMLUnstructuredGridReader()
    reader.SetFileName(path)
    reader.Update()
    grid = reader.GetOutput()
    if reader.GetErrorCode() != 0 or "ERROR" in errors.GetOutput() or grid.GetNumberOfPoints() == 0:
        print(errors.GetOutput(), file=sys.stderr)
        return 3
    print("points", grid.GetNumberOfPoints())
    print("cells", grid.GetNumberOfCells())
    types = {}
    folded = curved = 0
    for c in range(grid.GetNumberOfCells()):
        cell = grid.GetCell(c)
        types[cell.GetCellType()] = types.get(cell.GetCellType(), 0) + 1
        if cell.GetCellDimension() >= 2:
            centre = [0.0] * 3
            cell.GetParametricCenter(centre)
            pc = cell.GetParametricCoords()
            samples = [centre]
            for k in range(cell.GetNumberOfPoints()):
                corner = [pc[3 * k + i] for i in range(3)]
                samples.append([centre[i] + 0.8 * (corner[i] - centre[i]) for i in range(3)])
            if any(jacobian_sign(cell, p) <= 0 for p in samples):
                folded += 1
        for e in range(cell.GetNumberOfEdges()):
            edge = cell.GetEdge(e)
            if edge.GetNumberOfPoints() != 3:
                continue
            a, b, m = (edge.GetPoints().GetPoint(i) for i in range(3))
            length = sum((a[i] - b[i]) ** 2 for i in range(3)) ** 0.5
            if sum((m[i] - (a[i] + b[i]) / 2) ** 2 for i in range(3)) ** 0.5 > 1e-6 * max(length, 1e-30):
                curved += 1
    for t in sorted(types):
        print("type", t, types[t])
    print("folded", folded)
    print("curved", curved)
    for kind, data in (("point", grid.GetPointData()), ("cell", grid.GetCellData()), ("field", grid.GetFieldData())):
        for a in range(data.GetNumberOfArrays()):
            array = data.GetArray(a)
            n = array.GetNumberOfComponents()
            names = [array.GetComponentName(i) or "-" for i in range(n)] if n > 1 else []
            print("array", kind, array.GetName(), n, *names)
            for t in range(array.GetNumberOfTuples()):
                print("value", kind, array.GetName(), t + 1, *("%.17g" % v for v in array.GetTuple(t)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
