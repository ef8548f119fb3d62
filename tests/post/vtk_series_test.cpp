// The VTK series of the runs with more than one result state (modes, output times,
// converged increments): the collection is read with an XML parser and every file it
// lists with VTK's own reader, and the values are those of the run's listing.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../analyses/dynamics_decks.h"
#include "../analyses/listing_tables.h"
#include "../analyses/run_decks_nonlinear.h"
#include "vtk_read_back.h"

namespace vortan {
namespace {

// The collection of a run and every file it lists, read back.
struct Series {
  std::vector<double> times;
  std::vector<test::VtuReport> files;
};

Series read_series(const std::string& python, const test::TempDir& dir, const std::string& name) {
  Series s;
  const test::VtuReport collection = test::read_back(python, dir.file(name + ".pvd"), "read_pvd.py");
  for (const auto& [time, file] : collection.datasets) {
    s.times.push_back(time);
    s.files.push_back(test::read_back(python, file));
    EXPECT_EQ(s.files.back().status, 0) << file;
  }
  return s;
}

// A number right-justified in six columns, as the listing's headings write it.
std::string i6(int k) {
  const std::string t = std::to_string(k);
  return std::string(t.size() < 6 ? 6 - t.size() : 0, ' ') + t;
}

double field(const test::VtuReport& r, const std::string& name) {
  const auto it = r.values.find("field " + name);
  return it == r.values.end() || it->second.empty() ? NAN : it->second[0][0];
}

#define NEED_VTK(python)                                 \
  const std::string python = test::python_with_vtk();   \
  if (python.empty()) GTEST_SKIP() << "python3 cannot import vtk (Debian python3-vtk9): VTK files not read back"

// Six modes of a bar of six QU4 elements: one file per mode, the time its number, its
// frequency and eigenvalue those of the listing's table, its "Displacement" the
// listing's mode shape node by node, whatever the deck's name. Without the
// post-processing card, no files.
TEST(VtkSeries, EigenvalueRunWritesOneFilePerMode) {
  NEED_VTK(python);
  test::TempDir dir;
  int status = 1;
  std::string deck = test::source_file("tests/cases/eigen/bar-chain-subspace.vtn");
  // The deck's name holds the characters XML reserves.
  const std::string name = "E & <\"modes\">";
  const std::string listing = test::run_deck_text(dir, name, deck, &status);
  ASSERT_EQ(status, 0);
  const Series s = read_series(python, dir, name);
  ASSERT_EQ(s.times, (std::vector<double>{1, 2, 3, 4, 5, 6}));
  const auto rows = test::lines_of(listing.substr(listing.find("FRECUENCIAS NATURALES")));
  for (int m = 1; m <= 6; ++m) {
    SCOPED_TRACE("mode " + std::to_string(m));
    const test::VtuReport& r = s.files[m - 1];
    EXPECT_EQ(r.counts.at("points"), 14);
    EXPECT_EQ(r.counts.at("cells"), 6);
    std::istringstream row(rows.at(2 + m));
    double number = 0, lambda = 0, omega = 0, frequency = 0;
    row >> number >> lambda >> omega >> frequency;
    EXPECT_EQ(field(r, "Mode"), m);
    EXPECT_NEAR(field(r, "Eigenvalue"), lambda, 1e-11 * lambda);
    EXPECT_NEAR(field(r, "Frequency"), frequency, 1e-11 * frequency);
    const auto shape = test::displacements(listing.substr(listing.find("VECTOR PROPIO" + i6(m))));
    const auto& u = r.values.at("point Displacement");
    ASSERT_EQ(u.size(), shape.size());
    for (const auto& [node, values] : shape) {
      EXPECT_NEAR(u[node - 1][0], values[0], 1e-5 * std::abs(values[0]) + 1e-11) << "node " << node;
      EXPECT_EQ(u[node - 1][2], 0.0);
    }
    EXPECT_EQ(r.values.count("point Velocity"), 0u);
  }
  // The same run without the card writes no collection and no files.
  test::TempDir quiet;
  deck.erase(deck.find("POSTPROCESO KELDAR\n"), 19);
  test::run_deck_text(quiet, "E", deck, &status);
  ASSERT_EQ(status, 0);
  EXPECT_FALSE(std::filesystem::exists(quiet.file("E.pvd")));
  EXPECT_FALSE(std::filesystem::exists(quiet.file("E_0001.vtu")));
}

// Both dynamics drivers: one file per instant of complete results (the start and every
// multiple of the output interval), the time the instant's, and the displacement,
// velocity and acceleration of the loaded end those of the listing's tables.
TEST(VtkSeries, DynamicsRunsWriteOneFilePerOutputTime) {
  NEED_VTK(python);
  for (const std::string analysis : {"DINAMICO-IMPLICITO", "DINAMICO-EXPLICITO"}) {
    SCOPED_TRACE(analysis);
    test::DynamicsDeck deck;
    deck.analysis = analysis;
    if (analysis == "DINAMICO-EXPLICITO") deck.method = "";
    deck.times = "DTIME=0.1 ENDTM=1.0 TOUTD=0.1 TOUTP=0.25 DTEND=1000";
    test::TempDir dir;
    int status = 1;
    const std::string listing = test::run_deck_text(dir, "D", deck.text(), &status);
    ASSERT_EQ(status, 0);
    const auto states = test::end_history(listing);
    ASSERT_GE(states.size(), 4u);
    const Series s = read_series(python, dir, "D");
    ASSERT_EQ(s.times.size(), states.size());
    for (std::size_t i = 0; i < states.size(); ++i) {
      SCOPED_TRACE("output " + std::to_string(i));
      EXPECT_NEAR(s.times[i], states[i].time, 1e-6);
      if (i > 0) {
        EXPECT_GT(s.times[i], s.times[i - 1]);
      }
      const test::VtuReport& r = s.files[i];
      EXPECT_EQ(field(r, "Step"), states[i].step);
      EXPECT_EQ(r.counts.at("points"), 4);
      const double u = r.values.at("point Displacement")[1][0];
      const double v = r.values.at("point Velocity")[1][0];
      const double a = r.values.at("point Acceleration")[1][0];
      EXPECT_NEAR(u, states[i].u, 1e-5 * std::abs(states[i].u) + 1e-9);
      EXPECT_NEAR(v, states[i].v, 1e-5 * std::abs(states[i].v) + 1e-9);
      EXPECT_NEAR(a, states[i].a, 1e-5 * std::abs(states[i].a) + 1e-9);
      // The restrained end stays, the vertical motion is restrained everywhere.
      EXPECT_EQ(r.values.at("point Displacement")[0][0], 0.0);
      EXPECT_EQ(r.values.at("point Displacement")[1][1], 0.0);
    }
    // The loaded end has moved by the last output.
    EXPECT_GT(std::abs(s.files.back().values.at("point Displacement")[1][0]), 0.1);
  }
}

// A nonlinear cantilever: one file per converged increment, the time its number, the
// total load factor with it and the displacements of the listing's converged table. A
// run that stops in an increment leaves the collection of those that converged.
TEST(VtkSeries, NonlinearRunWritesOneFilePerConvergedIncrement) {
  NEED_VTK(python);
  test::CantileverDeck deck;
  deck.elements = 4;
  test::TempDir dir;
  int status = 1;
  const std::string listing = test::run_deck_text(dir, "N", test::nonlinear_cantilever(deck, {0.5, 0.25, 0.25}), &status);
  ASSERT_EQ(status, 0);
  const Series s = read_series(python, dir, "N");
  ASSERT_EQ(s.times, (std::vector<double>{1, 2, 3}));
  const double factors[3] = {0.5, 0.75, 1.0};
  const int tip = test::cantilever_middle(deck, deck.elements);
  for (int k = 1; k <= 3; ++k) {
    SCOPED_TRACE("increment " + std::to_string(k));
    const test::VtuReport& r = s.files[k - 1];
    EXPECT_NEAR(field(r, "LoadFactor"), factors[k - 1], 1e-12);
    const std::size_t at = listing.find("INCREMENTO NUMERO" + i6(k) + "   ITERACIONES");
    ASSERT_NE(at, std::string::npos);
    const auto table = test::displacements(listing.substr(at));
    const auto& u = r.values.at("point Displacement");
    ASSERT_EQ(u.size(), table.size());
    for (const auto& [node, values] : table)
      for (int c = 0; c < 2; ++c)
        EXPECT_NEAR(u[node - 1][c], values[c], 1e-5 * std::abs(values[c]) + 1e-9) << "node " << node;
    if (k > 1) {
      EXPECT_LT(u[tip - 1][1], s.files[k - 2].values.at("point Displacement")[tip - 1][1]);
    }
  }

  // The last increment cannot converge in one iteration: the run stops, the
  // collection lists the two that did.
  std::string failing = test::nonlinear_cantilever(deck, {0.5, 0.25, 0.25});
  const std::size_t last = failing.rfind("INCREMENTO ");
  failing = failing.substr(0, last) + "INCREMENTO FACTOR=0.25 TOLERANCIA=1E-12 NUMERO_ITERACIONES=1\nFIN_INCREMENTOS_DE_CARGA\n";
  test::TempDir stopped;
  test::run_deck_text(stopped, "N", failing, &status);
  EXPECT_NE(status, 0);
  const Series partial = read_series(python, stopped, "N");
  EXPECT_EQ(partial.times, (std::vector<double>{1, 2}));
  EXPECT_FALSE(std::filesystem::exists(stopped.file("N_0003.vtu")));
}

}  // namespace
}  // namespace vortan
