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

// The numeric cards of a deck between the card that begins with the word `first` and
// the card that begins with `last` (both written as on the deck, e.g. "GEOMETRIA" and
// "FIN_GEOMETRIA"): one row of values per card, comments ("$" or "!") and empty
// lines left out.
inline std::vector<std::vector<double>> deck_rows(const std::string& deck, const std::string& first,
                                                  const std::string& last) {
  std::vector<std::vector<double>> rows;
  bool inside = false;
  for (std::string line : lines_of(deck)) {
    line = line.substr(0, line.find_first_of("$!"));
    std::istringstream in(line);
    std::string word;
    if (!(in >> word)) continue;
    if (!inside) {
      inside = word == first;
      continue;
    }
    if (word == last) break;
    std::vector<double>& row = rows.emplace_back(1, std::strtod(word.c_str(), nullptr));
    while (in >> word) row.push_back(std::strtod(word.c_str(), nullptr));
  }
  return rows;
}

// The integration-point stress lines of one element: its number and one row per
// point, holding the values after the point number (coordinates, then stresses).
struct ElementStressLines {
  int element = 0;
  std::vector<std::vector<double>> points;
};

// The integration-point stress table of a set, element by element, up to the first
// empty line after the column heading.
inline std::vector<ElementStressLines> gauss_stresses(const std::string& listing, int set) {
  std::vector<ElementStressLines> elements;
  const auto lines = lines_of(listing);
  std::size_t i = 0;
  const std::string title = " TENSIONES EN SET NUMERO: ";
  for (; i < lines.size(); ++i) {
    const std::size_t at = lines[i].find(title);
    if (at != std::string::npos && std::atoi(lines[i].c_str() + at + title.size()) == set) break;
  }
  for (i += 3; i < lines.size() && !lines[i].empty(); ++i) {
    std::istringstream in(lines[i]);
    std::string token;
    in >> token;
    if (token == "ELEMENTO:") {
      in >> elements.emplace_back().element;
      continue;
    }
    if (elements.empty()) break;
    std::vector<double>& values = elements.back().points.emplace_back();
    while (in >> token) values.push_back(std::strtod(token.c_str(), nullptr));
  }
  return elements;
}

// The member force table of a frame set: for every member, its two ends, each the
// node followed by the end forces in the member's local axes.
struct MemberEnds {
  int node[2] = {};
  std::vector<double> forces[2];
};
inline std::map<int, MemberEnds> member_forces(const std::string& listing, int set) {
  std::map<int, MemberEnds> members;
  const auto lines = lines_of(listing);
  std::size_t i = 0;
  const std::string title = " TENSIONES EN SET NUMERO: ";
  for (; i < lines.size(); ++i) {
    const std::size_t at = lines[i].find(title);
    if (at != std::string::npos && std::atoi(lines[i].c_str() + at + title.size()) == set) break;
  }
  int element = 0, end = 0;
  for (i += 3; i < lines.size() && !lines[i].empty(); ++i) {
    std::istringstream in(lines[i]);
    if (lines[i].substr(0, 9).find_first_not_of(' ') != std::string::npos) {
      in >> element;
      end = 0;
    } else {
      end = 1;
    }
    MemberEnds& m = members[element];
    in >> m.node[end];
    double value = 0.0;
    while (in >> value) m.forces[end].push_back(value);
  }
  return members;
}

}  // namespace vortan::test
