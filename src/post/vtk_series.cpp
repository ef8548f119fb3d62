#include "post/vtk_series.h"

#include <cstdio>
#include <string>
#include <vector>

#include "input/problem.h"
#include "post/nodal_values.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan {

namespace {

struct SeriesEntry {
  double time = 0.0;
  std::string file;  // the name without the directory: the files sit beside the collection
};

std::vector<SeriesEntry>& series() {
  static std::vector<SeriesEntry> entries;
  return entries;
}

// Where the collection's closing lines start: the next entry is written there.
long& collection_end() {
  static long end = 0;
  return end;
}

std::string step_suffix(int k) {
  char text[24];
  std::snprintf(text, sizeof text, "_%04d.vtu", k);
  return text;
}

std::string exact(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

// A file name as an XML attribute value: a deck's name may hold any character.
std::string xml_attribute(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

// Adds the last entry of the series to the collection. The first opens the file with
// its heading; every one is written over the closing lines of the one before and
// followed by them again, so the file is complete after every state and each state
// costs one line, however long the series.
void add_to_collection() {
  if (series().size() == 1) {
    OPENFI(UNIT_VTK_COLLECTION);
    write_record(UNIT_VTK_COLLECTION, "<?xml version=\"1.0\"?>");
    write_record(UNIT_VTK_COLLECTION, "<VTKFile type=\"Collection\" version=\"0.1\">");
    write_record(UNIT_VTK_COLLECTION, "  <Collection>");
  } else {
    reopen_at(UNIT_VTK_COLLECTION, collection_end());
  }
  const SeriesEntry& e = series().back();
  write_record(UNIT_VTK_COLLECTION,
               "    <DataSet timestep=\"" + exact(e.time) + "\" part=\"0\" file=\"" + xml_attribute(e.file) + "\"/>");
  collection_end() = unit_position(UNIT_VTK_COLLECTION);
  write_record(UNIT_VTK_COLLECTION, "  </Collection>");
  write_record(UNIT_VTK_COLLECTION, "</VTKFile>");
  CLOSFI(UNIT_VTK_COLLECTION);
}

}  // namespace

void start_vtk_series() { series().clear(); }

int vtk_series_length() { return static_cast<int>(series().size()); }

void write_vtk_series_step(double time, const VtkFields& fields) {
  // The vectors in the global axes live above this mark only while the file is written.
  const std::int32_t mark = RUN.NXTPOS;
  VtkFields global = fields;
  const auto turned = [](const double* vector) -> const double* {
    if (vector == nullptr) return nullptr;
    double* copy = WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NTOTV, "DESPG", REAL_WORDS));
    displacements_in_global_axes(vector, copy);
    return copy;
  };
  global.displacements = turned(fields.displacements);
  global.velocities = turned(fields.velocities);
  global.accelerations = turned(fields.accelerations);
  const std::string suffix = step_suffix(vtk_series_length() + 1);
  // A kept file of the run outside the fixed unit table: its name is numbered.
  open_scratch(UNIT_VTK_STEP, suffix);
  write_vtk_grid(UNIT_VTK_STEP, global);
  close_unit(UNIT_VTK_STEP, false);
  RUN.NXTPOS = mark;
  series().push_back({time, FILESET.base_name + suffix});
  add_to_collection();
}

}  // namespace vortan
