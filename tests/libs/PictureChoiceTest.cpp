#include "libs/common/PictureChoice.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace seltane {
namespace {

TEST(PictureChoice, NonrepeatRandomShowsEachPictureOnceThenStartsAgain) {
  std::mt19937 random(1);
  std::vector<uint8_t> marks(50, 0);
  for (int cycle = 0; cycle < 3; ++cycle) {
    std::set<uint16_t> shown;
    for (int i = 0; i < 50; ++i) {
      const uint16_t chosen = ChooseNextPicture(marks.data(), 50, rmNonrepeatRandom, random);
      ASSERT_LT(chosen, 50);
      EXPECT_TRUE(shown.insert(chosen).second) << "shown twice: " << chosen;
    }
    EXPECT_EQ(std::count(marks.begin(), marks.end(), 1), 50);
  }
}

TEST(PictureChoice, SequenceTakesTheFirstUnmarkedAndWrapsAround) {
  std::mt19937 random(1);
  std::vector<uint8_t> marks = {1, 0, 1, 0};
  EXPECT_EQ(ChooseNextPicture(marks.data(), 4, rmSequence, random), 1);
  EXPECT_EQ(ChooseNextPicture(marks.data(), 4, rmSequence, random), 3);
  EXPECT_EQ(ChooseNextPicture(marks.data(), 4, rmSequence, random), 0);
  EXPECT_EQ(marks, (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST(PictureChoice, ChoicesAreUniform) {
  std::mt19937 random(7);
  for (uint8_t mode : {rmRandom, rmNonrepeatRandom}) {
    std::map<uint16_t, int> times;
    for (int i = 0; i < 30000; ++i) {
      std::vector<uint8_t> marks = {0, 1, 0, 0, 1, 0};  // four unmarked
      ++times[ChooseNextPicture(marks.data(), 6, mode, random)];
    }
    const int expected = mode == rmRandom ? 5000 : 7500;
    for (uint16_t position : {0, 2, 3, 5}) {
      EXPECT_NEAR(times[position], expected, expected / 10) << int(mode) << " " << position;
    }
    if (mode == rmNonrepeatRandom) {
      EXPECT_EQ(times.count(1) + times.count(4), 0u);
    }
  }
}

TEST(PictureChoice, RandomMarksWhatItChoseAndUnknownModesDoNotRepeat) {
  std::mt19937 random(3);
  std::vector<uint8_t> marks = {1, 1, 0};
  EXPECT_EQ(ChooseNextPicture(marks.data(), 3, 200, random), 2);
  std::vector<uint8_t> one = {1};
  EXPECT_EQ(ChooseNextPicture(one.data(), 1, rmRandom, random), 0);
  EXPECT_EQ(one[0], 1);
  EXPECT_EQ(ChooseNextPicture(nullptr, 0, rmRandom, random), 0);
}

}  // namespace
}  // namespace seltane
