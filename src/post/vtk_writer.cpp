#include "post/vtk_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "elements/active_set.h"
#include "input/catalogue.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "post/nodal_values.h"
#include "post/principal_stresses.h"
#include "post/stress_components.h"
#include "results/smoothing_record.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// VTK point order of each element type as local positions of the catalogue order (see
// the node lists of the shape functions). VTK numbers the corners first (hexahedra:
// lower face, then upper face, counter-clockwise seen from above), then the mid-edge
// nodes edge by edge, then face and body centres.
constexpr int TR6_ORDER[6] = {1, 3, 5, 2, 4, 6};
constexpr int QU9_ORDER[9] = {1, 3, 5, 7, 2, 4, 6, 8, 9};
// The 20-node brick's rings start at the corner (1,-1) of each layer.
constexpr int HE20_ORDER[20] = {7, 1, 3, 5, 19, 13, 15, 17, 8, 2, 4, 6, 20, 14, 16, 18, 12, 9, 10, 11};
// The 27-node brick: three layers of nine nodes from the corner (-1,-1), centre last;
// VTK's face centres come in the order -x, +x, -y, +y, -z, +z.
constexpr int HE27_ORDER[27] = {1, 3, 5, 7, 19, 21, 23, 25, 2, 4, 6, 8, 20, 22, 24,
                                26, 10, 12, 14, 16, 17, 13, 11, 15, 9, 27, 18};
// The wedge: VTK's first triangle is the catalogue's face u = -1 (nodes 4 to 6), taken
// from its right-angle corner so that the cell keeps the element's orientation.
constexpr int PI15_ORDER[15] = {5, 6, 4, 2, 3, 1, 14, 15, 13, 11, 12, 10, 8, 9, 7};
constexpr int LI3_ORDER[3] = {1, 3, 2};

VtkCell cell_of(int type, const int* order, int count) {
  VtkCell c;
  c.type = type;
  c.count = count;
  std::copy(order, order + count, c.positions);
  return c;
}

VtkCell in_catalogue_order(int type, int count) {
  VtkCell c;
  c.type = type;
  c.count = count;
  for (int k = 0; k < count; ++k) c.positions[k] = k + 1;
  return c;
}

void out(int unit, const std::string& line) { write_record(unit, line); }

// One data array of the file: its XML attributes and its values as the raw bytes of
// the appended block (in the machine's byte order, which the file header names).
struct DataArray {
  std::string type, name;
  int components = 1;
  std::vector<std::string> component_names;
  std::int64_t tuples = 0;
  std::string bytes;
};

template <class T>
DataArray make_array(const char* type, const std::string& name, int components, const std::vector<double>& values,
                     const std::vector<std::string>& component_names = {}) {
  DataArray a;
  a.type = type;
  a.name = name;
  a.components = components;
  a.component_names = component_names;
  a.tuples = static_cast<std::int64_t>(values.size()) / components;
  a.bytes.resize(values.size() * sizeof(T));
  for (std::size_t i = 0; i < values.size(); ++i) {
    const T v = static_cast<T>(values[i]);
    std::memcpy(&a.bytes[i * sizeof(T)], &v, sizeof(T));
  }
  return a;
}

DataArray float64(const std::string& name, int components, const std::vector<double>& values,
                  const std::vector<std::string>& component_names = {}) {
  return make_array<double>("Float64", name, components, values, component_names);
}

// The arrays of a file, in the order of its sections, and where each one's block
// starts in the appended data.
struct GridArrays {
  std::vector<DataArray> field, points, cells, point_data, cell_data;
};

class AppendedWriter {
 public:
  explicit AppendedWriter(int unit) : unit_(unit) {}

  // The XML element of an array, which takes the next block of the appended data.
  void declare(const DataArray& a, const std::string& indent, bool field) {
    std::string head = indent + "<DataArray type=\"" + a.type + "\" Name=\"" + a.name + "\"";
    if (a.components > 1) head += " NumberOfComponents=\"" + std::to_string(a.components) + "\"";
    for (std::size_t c = 0; c < a.component_names.size(); ++c)
      head += " ComponentName" + std::to_string(c) + "=\"" + a.component_names[c] + "\"";
    if (field) head += " NumberOfTuples=\"" + std::to_string(a.tuples) + "\"";
    out(unit_, head + " format=\"appended\" offset=\"" + std::to_string(offset_) + "\"/>");
    offset_ += sizeof(std::uint64_t) + a.bytes.size();
    blocks_.push_back(&a);
  }

  // The appended data: "_", then for every declared array its byte count (UInt64)
  // and its bytes.
  void write_blocks() {
    out(unit_, "  <AppendedData encoding=\"raw\">");
    write_unformatted(unit_, "   _", 4);
    for (const DataArray* a : blocks_) {
      const std::uint64_t size = a->bytes.size();
      write_unformatted(unit_, &size, sizeof size);
      write_unformatted(unit_, a->bytes.data(), a->bytes.size());
    }
    out(unit_, "");
    out(unit_, "  </AppendedData>");
  }

 private:
  int unit_;
  std::uint64_t offset_ = 0;
  std::vector<const DataArray*> blocks_;
};

bool frame_member(int set) { return SETS(set).family == ElementFamily::frame; }

bool heat_conduction_model() {
  for (int set = 1; set <= PROBLEM.NSETS; ++set)
    if (SETS(set).family != ElementFamily::conduction) return false;
  return PROBLEM.NSETS > 0;
}

std::int64_t cell_count() {
  std::int64_t n = 0;
  for (int set = 1; set <= PROBLEM.NSETS; ++set) n += SETS(set).NELEM;
  return n;
}

DataArray points() {
  const double* coord = WORK.reals(PROBLEM.COORD);
  std::vector<double> xyz(static_cast<std::size_t>(PROBLEM.NPNODS) * 3, 0.0);
  for (int n = 1; n <= PROBLEM.NPNODS; ++n)
    // A flat-shell model was moved to its smallest coordinates: the file has the input's.
    for (int i = 0; i < PROBLEM.NDIME && i < 3; ++i)
      xyz[3 * (n - 1) + i] = coord[(n - 1) + static_cast<std::int64_t>(i) * PROBLEM.NPNODS] - PROBLEM.shell_shift[i];
  return float64("Points", 3, xyz);
}

void add_cells(GridArrays& g) {
  std::vector<double> connectivity, offsets, types;
  std::int64_t offset = 0;
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    const VtkCell cell = vtk_cell(SETS(set).element_type, frame_member(set));
    for (int e = 1; e <= SETS(set).NELEM; ++e) {
      for (int k = 0; k < cell.count; ++k)
        connectivity.push_back(static_cast<double>(element_node(set, e, cell.positions[k]) - 1));
      offset += cell.count;
      offsets.push_back(static_cast<double>(offset));
      types.push_back(cell.type);
    }
  }
  g.cells.push_back(make_array<std::int64_t>("Int64", "connectivity", 1, connectivity));
  g.cells.push_back(make_array<std::int64_t>("Int64", "offsets", 1, offsets));
  g.cells.push_back(make_array<std::uint8_t>("UInt8", "types", 1, types));
}

// Names of the smoothed components: the neutral file's names of the last set's layout
// where it has them.
std::vector<std::string> smoothed_names(int components, bool conduction) {
  static const char* const FLUX[3] = {"QX", "QY", "QZ"};
  std::vector<std::string> names(components);
  const int last = PROBLEM.NSETS;
  const StressLayout layout = stress_layout(last);
  const ComponentTable* table =
      layout == StressLayout::flat_shell ? resultant_components(layout, SETS(last).NSTRE)
                                         : femview_stress_components(layout, SETS(last).NSTRE);
  for (int c = 0; c < components; ++c) {
    names[c] = conduction && c < 3 ? FLUX[c] : "C" + std::to_string(c + 1);
    if (table == nullptr || conduction) continue;
    for (int k = 0; k < table->count; ++k)
      if (table->component[k].source == c) names[c] = table->component[k].name;
  }
  // The plane layouts smooth the out-of-plane stress after the three in-plane ones.
  if ((layout == StressLayout::plane) && components > 3) names[3] = "SZZ";
  return names;
}

// The x, y, z translations of every node (0 for a translation the model lacks) of a
// vector in global order.
std::vector<double> translations(const double* vector) {
  int kinds[DOF_KINDS];
  const int nkinds = model_kinds(kinds);
  double v[DOF_KINDS];
  std::vector<double> u(static_cast<std::size_t>(PROBLEM.NPNODS) * 3, 0.0);
  for (int n = 1; n <= PROBLEM.NPNODS; ++n) {
    node_dof_values(vector, n, v);
    for (int i = 0; i < nkinds; ++i)
      if (kinds[i] <= 3) u[3 * (n - 1) + kinds[i] - 1] = v[i];
  }
  return u;
}

void add_point_data(GridArrays& g, const VtkFields& f) {
  const bool conduction = heat_conduction_model();
  const int npnods = PROBLEM.NPNODS;
  int kinds[DOF_KINDS];
  const int nkinds = model_kinds(kinds);
  double v[DOF_KINDS];
  if (conduction) {
    std::vector<double> temperature(npnods);
    for (int n = 1; n <= npnods; ++n) {
      node_dof_values(f.displacements, n, v);
      temperature[n - 1] = nkinds > 0 ? v[0] : 0.0;
    }
    g.point_data.push_back(float64("Temperature", 1, temperature));
  } else {
    g.point_data.push_back(float64("Displacement", 3, translations(f.displacements)));
    if (f.velocities != nullptr) g.point_data.push_back(float64("Velocity", 3, translations(f.velocities)));
    if (f.accelerations != nullptr) g.point_data.push_back(float64("Acceleration", 3, translations(f.accelerations)));
  }
  if (!f.static_results) return;
  // As in the neutral file, beam sets ("VIGA") write no nodal stresses.
  const StressLayout layout = stress_layout(PROBLEM.NSETS);
  if (smoothed_stresses_exist() && (conduction || layout != StressLayout::none)) {
    const int nc = SMOOTHING.components;
    std::vector<double> s(static_cast<std::size_t>(npnods) * nc);
    for (int n = 1; n <= npnods; ++n)
      for (int c = 0; c < nc; ++c) s[static_cast<std::size_t>(n - 1) * nc + c] = model_smoothed(n, c);
    g.point_data.push_back(float64(conduction ? "Flux" : "Stress", nc, s, nc > 1 ? smoothed_names(nc, conduction) : std::vector<std::string>{}));
    if (!conduction && is_continuum_layout(layout)) {
      std::vector<double> mises(npnods);
      for (int n = 1; n <= npnods; ++n) {
        double smoothed[16] = {}, tensor[6];
        for (int c = 0; c < nc && c < 16; ++c) smoothed[c] = model_smoothed(n, c);
        continuum_tensor(layout, smoothed, tensor);
        mises[n - 1] = von_mises(tensor);
      }
      g.point_data.push_back(float64("VonMises", 1, mises));
    }
  }
}

void add_cell_data(GridArrays& g, const VtkFields& f, std::int64_t cells) {
  std::vector<double> set_numbers;
  for (int set = 1; set <= PROBLEM.NSETS; ++set) set_numbers.insert(set_numbers.end(), SETS(set).NELEM, set);
  g.cell_data.push_back(make_array<std::int32_t>("Int32", "Set", 1, set_numbers));
  if (f.static_results && SMOOTHING.error_done == 1 && SMOOTHING.ERELE != 0) {
    const double* errors = WORK.reals(SMOOTHING.ERELE);
    g.cell_data.push_back(float64("ElementError", 1, std::vector<double>(errors, errors + cells)));
  }
}

}  // namespace

VtkCell vtk_cell(int element_type, bool frame_member) {
  static constexpr int LINE[2] = {1, 2};
  if (frame_member) return cell_of(VTK_LINE, LINE, 2);
  switch (element_type) {
    case ELEM_LI2: case ELEM_TRC2: return in_catalogue_order(VTK_LINE, 2);
    case ELEM_LI3: return cell_of(VTK_QUADRATIC_EDGE, LI3_ORDER, 3);
    case ELEM_TR3: case ELEM_DKT: return in_catalogue_order(VTK_TRIANGLE, 3);
    case ELEM_TR6: return cell_of(VTK_QUADRATIC_TRIANGLE, TR6_ORDER, 6);
    // The plate triangle numbers its corners first, then the mid-sides of 1-2, 2-3, 3-1.
    case ELEM_TLCL: return in_catalogue_order(VTK_QUADRATIC_TRIANGLE, 6);
    case ELEM_QU4: case ELEM_CLLL: return in_catalogue_order(VTK_QUAD, 4);
    case ELEM_QU8: return cell_of(VTK_QUADRATIC_QUAD, QU9_ORDER, 8);
    case ELEM_QU9: return cell_of(VTK_BIQUADRATIC_QUAD, QU9_ORDER, 9);
    case ELEM_HE8: return in_catalogue_order(VTK_HEXAHEDRON, 8);
    case ELEM_HE20: return cell_of(VTK_QUADRATIC_HEXAHEDRON, HE20_ORDER, 20);
    case ELEM_HE27: return cell_of(VTK_TRIQUADRATIC_HEXAHEDRON, HE27_ORDER, 27);
    case ELEM_TE4: return in_catalogue_order(VTK_TETRA, 4);
    // The 10-node tetrahedron's mid-edge nodes are in VTK's edge order already.
    case ELEM_TE10: return in_catalogue_order(VTK_QUADRATIC_TETRA, 10);
    case ELEM_PI15: return cell_of(VTK_QUADRATIC_WEDGE, PI15_ORDER, 15);
    default: return VtkCell{};
  }
}

void write_vtk_grid(int unit, const VtkFields& f) {
  const std::int64_t cells = cell_count();
  GridArrays g;
  for (const auto& [name, value] : f.field_data) g.field.push_back(float64(name, 1, {value}));
  g.points.push_back(points());
  add_cells(g);
  add_point_data(g, f);
  add_cell_data(g, f, cells);
  AppendedWriter w(unit);
  const auto section = [&](const char* tag, const std::vector<DataArray>& arrays) {
    out(unit, std::string("      <") + tag + ">");
    for (const DataArray& a : arrays) w.declare(a, "        ", false);
    out(unit, std::string("      </") + tag + ">");
  };
  out(unit, "<?xml version=\"1.0\"?>");
  out(unit, std::string("<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"") +
                (std::endian::native == std::endian::little ? "LittleEndian" : "BigEndian") +
                "\" header_type=\"UInt64\">");
  out(unit, "  <UnstructuredGrid>");
  if (!g.field.empty()) {
    out(unit, "    <FieldData>");
    for (const DataArray& a : g.field) w.declare(a, "      ", true);
    out(unit, "    </FieldData>");
  }
  out(unit, "    <Piece NumberOfPoints=\"" + std::to_string(PROBLEM.NPNODS) + "\" NumberOfCells=\"" +
                std::to_string(cells) + "\">");
  section("Points", g.points);
  section("Cells", g.cells);
  section("PointData", g.point_data);
  section("CellData", g.cell_data);
  out(unit, "    </Piece>");
  out(unit, "  </UnstructuredGrid>");
  w.write_blocks();
  out(unit, "</VTKFile>");
}

void write_vtk_file(const double* displacements) {
  OPENFI(UNIT_VTK);
  VtkFields f;
  f.displacements = displacements;
  f.static_results = true;
  write_vtk_grid(UNIT_VTK, f);
  CLOSFI(UNIT_VTK);
}

}  // namespace vortan
