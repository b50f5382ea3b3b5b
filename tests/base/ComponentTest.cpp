#include "base/Component.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct Probe : TComponent {
  Probe(TComponent* owner, std::vector<int>& log, int id) : TComponent(owner), log_(log), id_(id) {}
  ~Probe() override { log_.push_back(id_); }
  std::vector<int>& log_;
  int id_;
};
}  // namespace

TEST(Component, OwnerFreesWhatItOwnsLastFirst) {
  std::vector<int> log;
  {
    TComponent owner(nullptr);
    new Probe(&owner, log, 1);
    auto* second = new Probe(&owner, log, 2);
    new Probe(second, log, 3);
    EXPECT_EQ(owner.ComponentCount(), 2);
  }
  EXPECT_EQ(log, (std::vector<int>{2, 3, 1}));
}

TEST(Component, AComponentDestroyedFirstLeavesItsOwner) {
  std::vector<int> log;
  TComponent owner(nullptr);
  auto* p = new Probe(&owner, log, 1);
  delete p;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(log, (std::vector<int>{1}));
}
