#include "gmsh_import.h"

#include <gmsh.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace vortan::gmsh_import {

namespace {

// Gmsh element type numbers of the elements the catalogue has.
enum GmshType : int {
  GMSH_TRIANGLE_3 = 2,
  GMSH_QUADRANGLE_4 = 3,
  GMSH_TETRAHEDRON_4 = 4,
  GMSH_HEXAHEDRON_8 = 5,
  GMSH_TRIANGLE_6 = 9,
  GMSH_QUADRANGLE_9 = 10,
  GMSH_TETRAHEDRON_10 = 11,
  GMSH_HEXAHEDRON_27 = 12,
  GMSH_QUADRANGLE_8 = 16,
  GMSH_HEXAHEDRON_20 = 17,
  GMSH_PRISM_15 = 18,
};

const char* const SUPPORTED = "TR3, TR6, QU4, QU8, QU9 (surfaces); TE4, TE10, HE8, HE20, HE27, PI15 (volumes)";

NodeMap node_map(const char* keyword, std::initializer_list<int> positions) {
  NodeMap m;
  m.keyword = keyword;
  m.count = static_cast<int>(positions.size());
  std::copy(positions.begin(), positions.end(), m.position);
  return m;
}

std::string number_text(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", v);
  return text;
}

// One card, continued with "/" on further lines so that no line passes the columns
// the card reader takes.
void write_card(std::ostringstream& out, const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& w : words) {
    if (!line.empty() && line.size() + 1 + w.size() > 100) {
      out << line << " /\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + w;
  }
  out << line << "\n";
}

// Six characters of a name for the post-processing card: letters and digits only.
std::string short_name(const std::string& text) {
  std::string name;
  for (char c : text)
    if (std::isalnum(static_cast<unsigned char>(c)) && name.size() < 6) name += static_cast<char>(std::toupper(c));
  return name.empty() ? "MALLA" : name;
}

struct ElementSet {
  std::string group;  // the physical group's name ("" when the mesh has none)
  int gmsh_type = 0;
  std::string gmsh_name;
  NodeMap map;
  std::vector<std::vector<std::size_t>> elements;  // Gmsh node tags in Gmsh's order
};

std::string group_name(int dim, int tag) {
  std::string name;
  gmsh::model::getPhysicalName(dim, tag, name);
  return name.empty() ? std::to_string(tag) : name;
}

std::string type_name(int type) {
  std::string name;
  int dim = 0, order = 0, nodes = 0, primary = 0;
  std::vector<double> local;
  gmsh::model::mesh::getElementProperties(type, name, dim, order, nodes, local, primary);
  return name;
}

// The elements of dimension dim of some entities, added to the sets of a group.
void collect(int dim, const std::vector<int>& entities, const std::string& group, std::vector<ElementSet>& sets) {
  for (int entity : entities) {
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> tags, nodes;
    gmsh::model::mesh::getElements(types, tags, nodes, dim, entity);
    for (std::size_t t = 0; t < types.size(); ++t) {
      const NodeMap map = catalogue_element(types[t]);
      if (map.count == 0)
        throw ImportError("vortan-gmsh: element type \"" + type_name(types[t]) + "\" (Gmsh type " +
                          std::to_string(types[t]) + ")" + (group.empty() ? "" : " of physical group \"" + group + "\"") +
                          " has no counterpart in the element catalogue; the catalogue has " + SUPPORTED);
      auto set = std::find_if(sets.begin(), sets.end(),
                              [&](const ElementSet& s) { return s.group == group && s.gmsh_type == types[t]; });
      if (set == sets.end()) {
        sets.push_back(ElementSet{group, types[t], type_name(types[t]), map, {}});
        set = sets.end() - 1;
      }
      for (std::size_t e = 0; e * map.count < nodes[t].size(); ++e)
        set->elements.emplace_back(nodes[t].begin() + e * map.count, nodes[t].begin() + (e + 1) * map.count);
    }
  }
}

std::vector<ElementSet> element_sets(int dim) {
  std::vector<ElementSet> sets;
  gmsh::vectorpair groups;
  gmsh::model::getPhysicalGroups(groups, dim);
  if (groups.empty()) {
    gmsh::vectorpair entities;
    gmsh::model::getEntities(entities, dim);
    std::vector<int> tags;
    for (const auto& [d, tag] : entities) tags.push_back(tag);
    collect(dim, tags, "", sets);
  }
  for (const auto& [d, tag] : groups) {
    std::vector<int> entities;
    gmsh::model::getEntitiesForPhysicalGroup(d, tag, entities);
    collect(dim, entities, group_name(d, tag), sets);
  }
  sets.erase(std::remove_if(sets.begin(), sets.end(), [](const ElementSet& s) { return s.elements.empty(); }), sets.end());
  if (sets.empty()) throw ImportError("vortan-gmsh: the mesh has no elements of dimension " + std::to_string(dim));
  return sets;
}

// The nodes of a physical group named by the user, searched in every dimension.
std::vector<std::size_t> group_nodes(const std::string& name) {
  gmsh::vectorpair groups;
  gmsh::model::getPhysicalGroups(groups);
  for (const auto& [dim, tag] : groups) {
    std::string n;
    gmsh::model::getPhysicalName(dim, tag, n);
    if (n != name) continue;
    std::vector<std::size_t> nodes;
    std::vector<double> coord;
    gmsh::model::mesh::getNodesForPhysicalGroup(dim, tag, nodes, coord);
    return nodes;
  }
  throw ImportError("vortan-gmsh: no physical group named \"" + name + "\" for --fix");
}

}  // namespace

NodeMap catalogue_element(int gmsh_type) {
  // Each list gives, for the Gmsh nodes in Gmsh's order, the catalogue position the
  // node takes (the tests check them against the shape functions).
  switch (gmsh_type) {
    case GMSH_TRIANGLE_3: return node_map("TR3", {1, 2, 3});
    case GMSH_TRIANGLE_6: return node_map("TR6", {1, 3, 5, 2, 4, 6});
    case GMSH_QUADRANGLE_4: return node_map("QU4", {1, 2, 3, 4});
    case GMSH_QUADRANGLE_8: return node_map("QU8", {1, 3, 5, 7, 2, 4, 6, 8});
    case GMSH_QUADRANGLE_9: return node_map("QU9", {1, 3, 5, 7, 2, 4, 6, 8, 9});
    case GMSH_TETRAHEDRON_4: return node_map("TE4", {1, 2, 3, 4});
    // Gmsh lists the edges to the apex as 0-3, 2-3, 1-3.
    case GMSH_TETRAHEDRON_10: return node_map("TE10", {1, 2, 3, 4, 5, 6, 7, 8, 10, 9});
    case GMSH_HEXAHEDRON_8: return node_map("HE8", {1, 2, 3, 4, 5, 6, 7, 8});
    case GMSH_HEXAHEDRON_20:
      return node_map("HE20", {7, 1, 3, 5, 19, 13, 15, 17, 8, 6, 12, 2, 9, 4, 10, 11, 20, 18, 14, 16});
    case GMSH_HEXAHEDRON_27:
      return node_map("HE27", {1, 3, 5, 7, 19, 21, 23, 25, 2, 8, 10, 4, 12, 6, 14, 16,
                               20, 26, 22, 24, 9, 11, 17, 13, 15, 27, 18});
    case GMSH_PRISM_15: return node_map("PI15", {5, 6, 4, 2, 3, 1, 14, 13, 8, 15, 9, 7, 11, 10, 12});
    default: return NodeMap{};
  }
}

std::vector<int> reversed_order(int gmsh_type) {
  switch (gmsh_type) {
    case GMSH_TRIANGLE_3: return {0, 2, 1};
    case GMSH_TRIANGLE_6: return {0, 2, 1, 5, 4, 3};
    case GMSH_QUADRANGLE_4: return {0, 3, 2, 1};
    case GMSH_QUADRANGLE_8: return {0, 3, 2, 1, 7, 6, 5, 4};
    case GMSH_QUADRANGLE_9: return {0, 3, 2, 1, 7, 6, 5, 4, 8};
    default: return {};
  }
}

Restraint parse_restraint(const std::string& text) {
  Restraint r;
  const std::size_t eq = text.rfind('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == text.size())
    throw ImportError("vortan-gmsh: --fix wants NAME=AXES or NAME=AXES:VALUE (e.g. left=xy, right=x:0.01), not \"" + text + "\"");
  r.group = text.substr(0, eq);
  std::string axes = text.substr(eq + 1);
  double value = 0.0;
  if (const std::size_t colon = axes.find(':'); colon != std::string::npos) {
    char* end = nullptr;
    const std::string v = axes.substr(colon + 1);
    value = std::strtod(v.c_str(), &end);
    if (v.empty() || *end != '\0' || !std::isfinite(value)) throw ImportError("vortan-gmsh: --fix value is not a number: \"" + text + "\"");
    axes = axes.substr(0, colon);
  }
  if (axes.empty()) throw ImportError("vortan-gmsh: --fix names no axis: \"" + text + "\"");
  for (char c : axes) {
    const int i = c == 'x' || c == 'X' ? 0 : c == 'y' || c == 'Y' ? 1 : c == 'z' || c == 'Z' ? 2 : -1;
    if (i < 0) throw ImportError("vortan-gmsh: --fix axes are x, y and z: \"" + text + "\"");
    r.fixed[i] = true;
    r.value[i] = value;
  }
  return r;
}

Options parse_arguments(const std::vector<std::string>& arguments) {
  static const char* const USAGE =
      "usage: vortan-gmsh INPUT.msh|INPUT.geo OUTPUT.vtn [--type TIPO] [--material \"YOUNG=... POISSON=...\"]\n"
      "                   [--title TEXT] [--fix GROUP=AXES[:VALUE]]...\n"
      "  Writes a static deck skeleton: one set per physical group and element type, the\n"
      "  geometry in the program's node order, restraints on the nodes of the named\n"
      "  physical groups (AXES from x, y, z; VALUE a prescribed displacement, default 0).\n"
      "  TIPO: TENSION_PLANA (default for surfaces), DEFORMACION_PLANA,\n"
      "  SOLIDO_DE_REVOLUCION or SOLIDO (default for volumes).";
  Options o;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool has_value = i + 1 < arguments.size();
    if (a == "--fix" && has_value) o.restraints.push_back(parse_restraint(arguments[++i]));
    else if (a == "--type" && has_value) o.problem_type = arguments[++i];
    else if (a == "--material" && has_value) o.material = arguments[++i];
    else if (a == "--title" && has_value) o.title = arguments[++i];
    else if (!a.empty() && a[0] != '-') files.push_back(a);
    else throw ImportError(USAGE);
  }
  if (files.size() != 2) throw ImportError(USAGE);
  o.input = files[0];
  o.output = files[1];
  static const std::vector<std::string> TYPES = {"", "TENSION_PLANA", "DEFORMACION_PLANA", "SOLIDO_DE_REVOLUCION", "SOLIDO"};
  if (std::find(TYPES.begin(), TYPES.end(), o.problem_type) == TYPES.end())
    throw ImportError("vortan-gmsh: --type must be TENSION_PLANA, DEFORMACION_PLANA, SOLIDO_DE_REVOLUCION or SOLIDO");
  return o;
}

std::string deck_of_current_model(const Options& o) {
  const int dim = gmsh::model::getDimension();
  if (dim != 2 && dim != 3) throw ImportError("vortan-gmsh: the mesh has no surface or volume elements");
  const std::string type = !o.problem_type.empty() ? o.problem_type : dim == 2 ? "TENSION_PLANA" : "SOLIDO";
  if ((type == "SOLIDO") != (dim == 3))
    throw ImportError("vortan-gmsh: --type " + type + " does not suit a mesh of dimension " + std::to_string(dim));
  const int ndofg = dim;
  std::vector<ElementSet> sets = element_sets(dim);

  // Coordinates of every node, and the deck's numbering of the nodes the elements use
  // (in the order of Gmsh's tags).
  std::vector<std::size_t> tags;
  std::vector<double> coord, parametric;
  gmsh::model::mesh::getNodes(tags, coord, parametric, -1, -1, false, false);
  std::map<std::size_t, std::size_t> at;
  for (std::size_t i = 0; i < tags.size(); ++i) at[tags[i]] = i;
  std::map<std::size_t, int> number;
  for (const ElementSet& s : sets)
    for (const auto& e : s.elements)
      for (std::size_t n : e) number[n] = 0;
  int next = 0;
  for (auto& [tag, n] : number) n = ++next;
  const auto xyz = [&](std::size_t tag, int i) { return coord[3 * at.at(tag) + i]; };
  if (dim == 2)
    for (const auto& [tag, n] : number)
      if (std::abs(xyz(tag, 2)) > 1e-12 * (1.0 + std::abs(xyz(tag, 0)) + std::abs(xyz(tag, 1))))
        throw ImportError("vortan-gmsh: a surface mesh must lie in the plane z = 0");

  // Surface elements whose corners run clockwise are taken the other way round.
  if (dim == 2)
    for (ElementSet& s : sets) {
      const std::vector<int> flip = reversed_order(s.gmsh_type);
      for (auto& e : s.elements) {
        const double ax = xyz(e[1], 0) - xyz(e[0], 0), ay = xyz(e[1], 1) - xyz(e[0], 1);
        const double bx = xyz(e[2], 0) - xyz(e[0], 0), by = xyz(e[2], 1) - xyz(e[0], 1);
        if (ax * by - ay * bx >= 0.0) continue;
        std::vector<std::size_t> turned(e.size());
        for (std::size_t k = 0; k < e.size(); ++k) turned[k] = e[flip[k]];
        e = turned;
      }
    }

  // Restraints: a later option for a node replaces the axes it names.
  std::map<int, Restraint> restrained;
  for (const Restraint& r : o.restraints) {
    if (dim == 2 && r.fixed[2]) throw ImportError("vortan-gmsh: --fix " + r.group + ": a surface mesh has no z axis");
    int found = 0;
    for (std::size_t tag : group_nodes(r.group)) {
      const auto n = number.find(tag);
      if (n == number.end()) continue;
      ++found;
      Restraint& node = restrained[n->second];
      for (int i = 0; i < 3; ++i)
        if (r.fixed[i]) {
          node.fixed[i] = true;
          node.value[i] = r.value[i];
        }
    }
    if (found == 0) throw ImportError("vortan-gmsh: physical group \"" + r.group + "\" has no node of the mesh's elements");
  }

  std::size_t elements = 0;
  for (const ElementSet& s : sets) elements += s.elements.size();
  std::ostringstream out;
  const std::string name = o.input.substr(o.input.find_last_of('/') + 1);
  out << "$ Deck skeleton written by vortan-gmsh from " << name << ": " << number.size() << " nodes, " << elements
      << " elements.\n$ Edit the material of each set and the loads; the restraints come from --fix.\n";
  for (std::size_t k = 0; k < sets.size(); ++k)
    out << "$ Set " << k + 1 << ": " << (sets[k].group.empty() ? "" : "physical group \"" + sets[k].group + "\", ")
        << "Gmsh elements \"" << sets[k].gmsh_name << "\" as " << sets[k].map.keyword << ".\n";
  out << "VORTAN\nANALISIS ESTATICO\nTITULO " << (o.title.empty() ? name : o.title)
      << "\nGENERAL LINEAL\nMATERIAL LINEAL\nNUMERO_DE_NODOS NPNODS=" << number.size()
      << "\nNUMERO_DE_SETS NSETS=" << sets.size() << "\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n";
  for (std::size_t k = 0; k < sets.size(); ++k)
    out << "SET_NUMERO " << k + 1 << "\nTIPO " << type << "\nELEMENTO " << sets[k].map.keyword
        << " NELEM=" << sets[k].elements.size() << "\nMATERIAL " << o.material << "\nFIN_SET\n";
  out << "GEOMETRIA\n";
  std::size_t element = 0;
  for (std::size_t k = 0; k < sets.size(); ++k) {
    const NodeMap& map = sets[k].map;
    for (const auto& e : sets[k].elements) {
      std::vector<int> nodes(map.count);
      for (int i = 0; i < map.count; ++i) nodes[map.position[i] - 1] = number.at(e[i]);
      std::vector<std::string> words = {std::to_string(++element), std::to_string(k + 1)};
      for (int n : nodes) words.push_back(std::to_string(n));
      write_card(out, words);
    }
  }
  for (const auto& [tag, n] : number) {
    out << n;
    for (int i = 0; i < dim; ++i) out << " " << number_text(xyz(tag, i));
    out << "\n";
  }
  out << "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n";
  if (restrained.empty()) out << "SIN_RESTRICCIONES\n";
  for (const auto& [n, r] : restrained) {
    out << n;
    for (int i = 0; i < ndofg; ++i) out << " " << (r.fixed[i] ? 1 : 0);
    for (int i = 0; i < ndofg; ++i) out << " " << number_text(r.value[i]);
    out << "\n";
  }
  out << "FIN_CONDICIONES_DE_CONTORNO\nFUERZAS\n";
  for (std::size_t k = 0; k < sets.size(); ++k) out << "SET_NUMERO " << k + 1 << "\nCARGAS DEL SET " << k + 1 << "\nFIN_FUERZAS\n";
  out << "FEMV " << short_name(name.substr(0, name.find('.'))) << "\n";
  return out.str();
}

void import_file(const Options& o) {
  std::ifstream probe(o.input);
  if (!probe) throw ImportError("vortan-gmsh: cannot read " + o.input);
  gmsh::initialize();
  gmsh::option::setNumber("General.Terminal", 0);
  try {
    gmsh::open(o.input);
    const std::string ext = o.input.size() >= 4 ? o.input.substr(o.input.size() - 4) : "";
    if (ext == ".geo" || ext == ".GEO") gmsh::model::mesh::generate(gmsh::model::getDimension());
    const std::string deck = deck_of_current_model(o);
    std::ofstream file(o.output, std::ios::binary);
    file << deck;
    file.close();
    if (!file) throw ImportError("vortan-gmsh: cannot write " + o.output);
  } catch (...) {
    gmsh::finalize();
    throw;
  }
  gmsh::finalize();
}

}  // namespace vortan::gmsh_import
