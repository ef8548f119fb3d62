// Reading VTK files back with VTK's own reader (through python3 and its vtk module,
// Debian python3-vtk9) for the post-processing tests.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vortan::test {

// A python with VTK's bindings, or "" when none can import them.
inline std::string python_with_vtk() {
  for (const char* candidate : {"python3", "/usr/bin/python3"})
    if (std::system((std::string(candidate) + " -c 'import vtk' > /dev/null 2>&1").c_str()) == 0) return candidate;
  return "";
}

// What the reading script reports of a file.
struct VtuReport {
  int status = -1;
  std::map<std::string, double> counts;                // points, cells, folded, curved
  std::map<int, int> types;                            // cell type -> cells
  std::map<std::string, std::vector<std::string>> arrays;  // "point Stress" -> component names
  std::map<std::string, std::vector<std::vector<double>>> values;  // "point Stress" -> tuples
  std::vector<std::pair<double, std::string>> datasets;          // of a collection: time, file
};

// script: read_vtu.py for a grid file, read_pvd.py for a collection.
inline VtuReport read_back(const std::string& python, const std::string& path, const std::string& script = "read_vtu.py") {
  VtuReport r;
  const std::string command = python + " '" + VORTAN_SOURCE_DIR + "/tests/post/" + script + "' '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  std::string text;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string word, kind, name;
    in >> word;
    if (word == "type") {
      int t = 0, n = 0;
      in >> t >> n;
      r.types[t] = n;
    } else if (word == "array") {
      int n = 0;
      in >> kind >> name >> n;
      std::vector<std::string> names;
      for (std::string c; in >> c;) names.push_back(c);
      r.arrays[kind + " " + name] = names;
    } else if (word == "dataset") {
      double time = 0;
      std::string file;
      in >> time >> std::ws;
      std::getline(in, file);  // the rest of the line: a name may hold blanks
      r.datasets.emplace_back(time, file);
    } else if (word == "value") {
      int id = 0;
      in >> kind >> name >> id;
      std::vector<double> tuple;
      for (double v; in >> v;) tuple.push_back(v);
      r.values[kind + " " + name].push_back(tuple);
    } else {
      double v = 0;
      in >> v;
      r.counts[word] = v;
    }
  }
  if (r.status != 0) ADD_FAILURE() << text;
  return r;
}

}  // namespace vortan::test
