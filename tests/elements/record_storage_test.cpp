#include "elements/record_storage.h"

#include <gtest/gtest.h>

#include "element_model.h"
#include "run/errstp.h"

namespace vortan {
namespace {

using test::active;
using test::build_model;
using test::ElementModel;
using test::run_task;

class RecordStorage : public ::testing::Test {
 protected:
  void SetUp() override {
    test::write_file(dir.file("R.vtn"), "VORTAN\n");
    test::open_deck(dir.file("R.vtn"));
  }
  void TearDown() override {
    reset_active_set();
    reset_run_state();
  }
  // Two distorted quadrilaterals sharing a side.
  ElementModel two_elements(const std::string& storage, int packed = 0) {
    ElementModel m;
    m.coordinates = {0, 0, 1, 0.1, 2, 0, 0, 1, 1.1, 1.2, 2, 1};
    m.elements = {{1, 2, 5, 4}, {2, 3, 6, 5}};
    m.props = {100.0, 0.3, 1.0, 1.0, 0.0};
    m.storage = storage;
    m.packed_stiffness = packed;
    return m;
  }
  test::TempDir dir;
};

// Computes and stores the stiffness of both elements, then fetches them back.
void stored_stiffness_round_trip(const char* storage_of_k, int packed) {
  std::vector<double> computed[2];
  for (int e = 1; e <= 2; ++e) {
    run_task(e, ElementTask::stiffness);
    computed[e - 1].assign(active(ACTIVE.RIGID), active(ACTIVE.RIGID) + 64);
  }
  for (int e = 2; e >= 1; --e) {
    for (int i = 0; i < 64; ++i) active(ACTIVE.RIGID)[i] = -1.0;
    run_task(e, ElementTask::stiffness, storage_of_k);
    for (int i = 0; i < 64; ++i)
      EXPECT_EQ(active(ACTIVE.RIGID)[i], computed[e - 1][i]) << "element " << e << " entry " << i << " packed " << packed;
  }
}

TEST_F(RecordStorage, StiffnessFetchedFromMemoryOrDiskEqualsTheComputedOne) {
  for (int packed : {0, 1}) {
    build_model(two_elements("RRRMRRRRRRM", packed));
    EXPECT_EQ(SETS(1).memory_length, packed ? 8 * 9 / 2 + 1 : 64);
    stored_stiffness_round_trip("RRRMRRRRRRR", packed);
    build_model(two_elements("RRRDRRRRRRM", packed));
    EXPECT_EQ(SETS(1).disk_length, packed ? 37 : 64);
    EXPECT_TRUE(test::file_exists(dir.file("R.st1")));
    stored_stiffness_round_trip("RRRDRRRRRRR", packed);
    CLOSFI(100);
  }
}

TEST_F(RecordStorage, KindsSharingADiskRecordKeepEachOther) {
  build_model(two_elements("RRRDDRRRRRM"));
  EXPECT_EQ(SETS(1).record_offset[KIND_STRESS], 64);
  std::vector<double> k(64), s(16);
  for (int i = 0; i < 64; ++i) k[i] = i + 0.5;
  for (int i = 0; i < 16; ++i) s[i] = -i;
  PUTSER(1, 2, KIND_K, k.data());
  PUTSER(1, 2, KIND_STRESS, s.data());
  std::vector<double> back(64);
  GETSER(1, 2, KIND_K, back.data());
  EXPECT_EQ(back, k);
  GETSER(1, 2, KIND_STRESS, back.data());
  EXPECT_EQ(std::vector<double>(back.begin(), back.begin() + 16), s);
  // Element 1 lies before the end of the file but was never written; the last
  // element would lie beyond it.
  build_model(two_elements("RRRDDRRRRRM"));
  try {
    GETSER(1, 2, KIND_K, back.data());
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "GETSER: REGISTRO NO ALMACENADO");
  }
}

TEST_F(RecordStorage, RecomputedKindsHaveNoMedia) {
  build_model(two_elements("RRRRRRRRRRR"));
  EXPECT_FALSE(test::file_exists(dir.file("R.st1")));
  double buffer[64];
  for (int kind = 0; kind < RECORD_KINDS; ++kind) {
    try {
      GETSER(1, 1, kind, buffer);
      FAIL() << kind;
    } catch (const FatalStop& stop) {
      EXPECT_EQ(stop.message(), "GETSER: NO MEDIA FOUND FOR THE REQUEST");
    }
  }
  try {
    PUTSER(1, 1, KIND_K, buffer);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "PUTSER: NO MEDIA FOUND FOR THE REQUEST");
  }
}

TEST_F(RecordStorage, ElementRowsOutsideTheSetAreRefused) {
  build_model(two_elements("RRRMRRRRRRM"));
  double buffer[64] = {};
  EXPECT_THROW(PUTSER(1, 3, KIND_K, buffer), FatalStop);
  EXPECT_THROW(GETSER(1, 0, KIND_K, buffer), FatalStop);
}

TEST_F(RecordStorage, ActivationSizesTheWorkArraysOfTheSet) {
  ElementModel m = two_elements("RRRRRRRRRRM");
  build_model(m);
  const ActiveSetRecord first = ACTIVE;
  EXPECT_EQ(first.NEVAB, 8);
  EXPECT_EQ(first.nfunctions, 4);
  EXPECT_EQ(first.DESLO - first.COREL, 2 * 8);  // 4 nodes x 2 coordinates, reals
  EXPECT_EQ(first.RIGID % 2, 1);
  // Every array starts inside the area reserved for the largest set.
  ACTSET(1);
  EXPECT_EQ(ACTIVE.COREL, first.COREL);
  EXPECT_LT(ACTIVE.DVOLU, RUN.NXTPOS);
}

}  // namespace
}  // namespace vortan
