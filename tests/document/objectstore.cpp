#include "document/objectstore.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "document/graphics.h"

namespace tarvolin {
namespace {

// The store's objects are named by number here, so that handles can be
// counted and mixed with numbers that are not whole.
GraphicsObject objectOf(double h) {
  GraphicsObject o;
  o.handle = Handle(h);
  o.markerSize = h * 2;
  return o;
}

// The store against a std::map doing the same: consecutive handles made and
// cleared last first or first first (as a plot is made and cleared), random
// erasures, window numbers and handles that are not whole numbers, across
// the store's pages.
TEST(ObjectStore, AgreesWithAMapThroughMakingAndClearing) {
  ObjectStore store;
  std::map<double, double> expected;
  std::mt19937 random(5);
  double next = 1000;
  auto insert = [&](double h) {
    store.insert(objectOf(h));
    expected[h] = h * 2;
  };
  auto check = [&](const char* when) {
    ASSERT_EQ(store.size(), expected.size()) << when;
    for (const auto& [h, size] : expected) {
      const GraphicsObject* o = store.find(Handle(h));
      ASSERT_NE(o, nullptr) << when << ": handle " << h;
      EXPECT_EQ(o->markerSize, size) << when;
    }
    for (double absent : {next, next + 1e6, 999.0, -1.0, 2.5, 1e300}) {
      if (!expected.count(absent)) {
        EXPECT_FALSE(store.contains(Handle(absent))) << when << ": " << absent;
      }
    }
  };
  for (double h : {0.0, 1.0, 2.0, 0.5, -3.0}) insert(h);
  for (int round = 0; round < 3; ++round) {
    std::vector<double> made;
    for (int i = 0; i < 5000; ++i, ++next) {
      insert(next);
      made.push_back(next);
    }
    check("made");
    // Half cleared last first, a quarter first first, the rest at random.
    for (size_t i = 0; i < 2500; ++i) {
      store.erase(Handle(made.back()));
      expected.erase(made.back());
      made.pop_back();
    }
    for (size_t i = 0; i < 1250; ++i) {
      store.erase(Handle(made[i]));
      expected.erase(made[i]);
    }
    made.erase(made.begin(), made.begin() + 1250);
    std::shuffle(made.begin(), made.end(), random);
    for (size_t i = 0; i < made.size(); i += 2) {
      store.erase(Handle(made[i]));
      expected.erase(made[i]);
    }
    check("cleared");
  }
  store.erase(Handle(next + 7));  // absent: nothing happens
  check("after erasing an absent handle");
}

TEST(ObjectStore, ObjectsStayWhereTheyAreAndHandlesAreStoredOnce) {
  ObjectStore store;
  GraphicsObject& first = store.insert(objectOf(1000));
  for (double h = 1001; h < 20000; ++h) store.insert(objectOf(h));
  EXPECT_EQ(&first, store.find(Handle(1000)));
  EXPECT_THROW(store.insert(objectOf(1500)), std::logic_error);
  store.insert(objectOf(0.25));
  EXPECT_THROW(store.insert(objectOf(0.25)), std::logic_error);
}

}  // namespace
}  // namespace tarvolin
