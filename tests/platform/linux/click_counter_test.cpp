// Click counting from single presses.
#include "platform/linux/click_counter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Press {
  UInt32 button;
  UInt32 time_ms;
  SInt32 x;
  SInt32 y;
};

std::vector<UInt32> counts_of(const std::vector<Press>& presses,
                              platform::DoubleClickSettings settings = {}) {
  platform::ClickCounter counter;
  std::vector<UInt32> counts;
  for (const Press& p : presses)
    counts.push_back(counter.press(p.button, p.time_ms, p.x, p.y, settings));
  return counts;
}

}  // namespace

TEST(ClickCounter, CountsDoubleAndTripleClicks) {
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {1, 1200, 51, 49}}), (std::vector<UInt32>{1, 2}));
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {1, 1200, 50, 50}, {1, 1500, 52, 53}}),
            (std::vector<UInt32>{1, 2, 3}));
  EXPECT_EQ(counts_of({{3, 0, 0, 0}, {3, 400, 4, -4}}), (std::vector<UInt32>{1, 2}));
}

TEST(ClickCounter, StartsAgainWhenTooSlowTooFarOrAnotherButton) {
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {1, 1401, 50, 50}}), (std::vector<UInt32>{1, 1}));
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {1, 1100, 55, 50}}), (std::vector<UInt32>{1, 1}));
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {1, 1100, 50, 45}}), (std::vector<UInt32>{1, 1}));
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {3, 1100, 50, 50}}), (std::vector<UInt32>{1, 1}));
  // A slow third press starts a new series, which the fourth continues.
  EXPECT_EQ(counts_of({{1, 0, 9, 9}, {1, 300, 9, 9}, {1, 900, 9, 9}, {1, 1000, 9, 9}}),
            (std::vector<UInt32>{1, 2, 1, 2}));
}

TEST(ClickCounter, KeepsCountingAcrossTheServerClockWrap) {
  EXPECT_EQ(counts_of({{1, 0xFFFFFF00u, 0, 0}, {1, 0x40, 0, 0}}), (std::vector<UInt32>{1, 2}));
  // A press "before" the previous one is a clock gone backwards, not a repeat.
  EXPECT_EQ(counts_of({{1, 1000, 0, 0}, {1, 900, 0, 0}}), (std::vector<UInt32>{1, 1}));
}

TEST(ClickCounter, FollowsTheDesktopSettings) {
  platform::DoubleClickSettings slow{900, 20};
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {1, 1800, 65, 35}}, slow), (std::vector<UInt32>{1, 2}));
  platform::DoubleClickSettings strict{100, 0};
  EXPECT_EQ(counts_of({{1, 1000, 50, 50}, {1, 1050, 51, 50}}, strict), (std::vector<UInt32>{1, 1}));
}
