// Reading result tables back from a listing, for deck tests that check numbers.
#pragma once

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../test_support.h"

namespace vortan::test {

// The rows of the node table that follows the line `title` (e.g. "     DESPLAZAMIENTOS"):
// node number to its values, up to the first empty line.
inline std::map<int, std::vector<double>> node_table(const std::string& listing, const std::string& title) {
  std::map<int, std::vector<double>> rows;
  const auto lines = lines_of(listing);
  std::size_t i = 0;
  while (i < lines.size() && lines[i] != title) ++i;
  for (i += 2; i < lines.size() && !lines[i].empty(); ++i) {
    std::istringstream in(lines[i]);
    int node = 0;
    in >> node;
    std::vector<double>& values = rows[node];
    std::string token;
    while (in >> token) values.push_back(std::strtod(token.c_str(), nullptr));
  }
  return rows;
}

inline std::map<int, std::vector<double>> displacements(const std::string& listing) {
  return node_table(listing, "     DESPLAZAMIENTOS");
}
inline std::map<int, std::vector<double>> reactions(const std::string& listing) {
  return node_table(listing, "     REACCIONES");
}

// Sum of component c (0-based) over the rows of a table.
inline double column_sum(const std::map<int, std::vector<double>>& table, int c) {
  double sum = 0.0;
  for (const auto& [node, values] : table)
    if (c < static_cast<int>(values.size())) sum += values[c];
  return sum;
}

// Runs a deck (a file of examples/ or of the shared decks copied into tests/cases) in
// a scratch directory; returns its listing.
inline std::string run_deck_text(const TempDir& dir, const std::string& name, const std::string& text,
                                 int* status = nullptr) {
  write_file(dir.file(name + ".vtn"), text);
  const int rc = run_program(dir, name + ".vtn");
  if (status != nullptr) *status = rc;
  return read_file(dir.file(name + ".sal"));
}

inline std::string source_file(const std::string& relative) {
  return read_file(std::string(VORTAN_SOURCE_DIR) + "/" + relative);
}

}  // namespace vortan::test
