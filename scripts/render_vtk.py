"""Renders a VTK result file to a PNG picture without a screen (VTK's offscreen
rendering): the deformed model coloured by a point-data array, the undeformed outline
in grey, a colour bar and a title.

usage: render_vtk.py FILE.vtu OUTPUT.png --colour VonMises [--warp Displacement]
                     [--scale S] [--title TEXT] [--size 800x500]

The warp scale S defaults to a tenth of the model's size over the largest
displacement, so the deformation is plain to see."""
import argparse
import sys

import vtk


def main():
    p = argparse.ArgumentParser()
    p.add_argument("file")
    p.add_argument("output")
    p.add_argument("--colour", default="VonMises")
    p.add_argument("--warp", default="Displacement")
    p.add_argument("--scale", type=float, default=None)
    p.add_argument("--title", default="")
    p.add_argument("--size", default="800x500")
    a = p.parse_args()
    width, height = (int(v) for v in a.size.split("x"))

    reader = vtk.vtkXMLUnstructuredGridReader()
    reader.SetFileName(a.file)
    reader.Update()
    grid = reader.GetOutput()
    if grid.GetNumberOfPoints() == 0:
        print("render_vtk.py: nothing read from", a.file, file=sys.stderr)
        return 1
    values = grid.GetPointData().GetArray(a.colour)
    if values is None:
        print("render_vtk.py: no point array", a.colour, "in", a.file, file=sys.stderr)
        return 1

    source = reader.GetOutputPort()
    if a.warp:
        warp_array = grid.GetPointData().GetArray(a.warp)
        bounds = grid.GetBounds()
        size = max(bounds[1] - bounds[0], bounds[3] - bounds[2], bounds[5] - bounds[4])
        largest = max(warp_array.GetRange(-1)[1], 1e-300)
        scale = a.scale if a.scale is not None else 0.1 * size / largest
        grid.GetPointData().SetActiveVectors(a.warp)
        warp = vtk.vtkWarpVector()
        warp.SetInputConnection(source)
        warp.SetScaleFactor(scale)
        source = warp.GetOutputPort()

    # Quadratic cells are drawn with their curved edges subdivided.
    surface = vtk.vtkDataSetSurfaceFilter()
    surface.SetInputConnection(source)
    surface.SetNonlinearSubdivisionLevel(3)
    lut = vtk.vtkLookupTable()
    lut.SetHueRange(0.667, 0.0)
    lut.SetNumberOfTableValues(256)
    lut.Build()
    mapper = vtk.vtkDataSetMapper()
    mapper.SetInputConnection(surface.GetOutputPort())
    mapper.SetScalarModeToUsePointFieldData()
    mapper.SelectColorArray(a.colour)
    mapper.SetScalarRange(values.GetRange(-1 if values.GetNumberOfComponents() > 1 else 0))
    mapper.SetLookupTable(lut)
    mapper.SetColorModeToMapScalars()
    mapper.InterpolateScalarsBeforeMappingOn()
    actor = vtk.vtkActor()
    actor.SetMapper(mapper)

    outline = vtk.vtkDataSetSurfaceFilter()
    outline.SetInputConnection(reader.GetOutputPort())
    edges = vtk.vtkFeatureEdges()
    edges.SetInputConnection(outline.GetOutputPort())
    edges.BoundaryEdgesOn()
    edges.FeatureEdgesOff()
    edges.ManifoldEdgesOff()
    edges.NonManifoldEdgesOff()
    edge_mapper = vtk.vtkPolyDataMapper()
    edge_mapper.SetInputConnection(edges.GetOutputPort())
    edge_mapper.ScalarVisibilityOff()
    edge_actor = vtk.vtkActor()
    edge_actor.SetMapper(edge_mapper)
    edge_actor.GetProperty().SetColor(0.55, 0.55, 0.55)

    bar = vtk.vtkScalarBarActor()
    bar.SetLookupTable(lut)
    bar.SetTitle(a.colour)
    bar.SetNumberOfLabels(5)
    bar.SetOrientationToHorizontal()
    bar.SetPosition(0.2, 0.03)
    bar.SetWidth(0.6)
    bar.SetHeight(0.12)
    for prop in (bar.GetTitleTextProperty(), bar.GetLabelTextProperty()):
        prop.SetColor(0.1, 0.1, 0.1)
        prop.ShadowOff()
        prop.ItalicOff()

    # The bar and the title over the whole window, which they clear to white; the model
    # on a layer of its own above the colour bar and below the title.
    labels = vtk.vtkRenderer()
    labels.SetBackground(1, 1, 1)
    labels.AddActor2D(bar)
    renderer = vtk.vtkRenderer()
    renderer.SetLayer(1)
    renderer.SetViewport(0.0, 0.17, 1.0, 0.92)
    renderer.AddActor(actor)
    renderer.AddActor(edge_actor)
    if a.title:
        title = vtk.vtkTextActor()
        title.SetInput(a.title)
        title.GetTextProperty().SetColor(0.1, 0.1, 0.1)
        title.GetTextProperty().SetFontSize(18)
        title.SetPosition(10, height - 30)
        labels.AddActor2D(title)
    window = vtk.vtkRenderWindow()
    window.SetOffScreenRendering(1)
    window.SetSize(width, height)
    window.SetNumberOfLayers(2)
    window.AddRenderer(labels)
    window.AddRenderer(renderer)
    renderer.ResetCamera()
    renderer.GetActiveCamera().Zoom(1.3)
    window.Render()
    image = vtk.vtkWindowToImageFilter()
    image.SetInput(window)
    image.Update()
    png = vtk.vtkPNGWriter()
    png.SetFileName(a.output)
    png.SetInputConnection(image.GetOutputPort())
    png.Write()
    return 0


if __name__ == "__main__":
    sys.exit(main())
