#include "libs/common/PictureChoice.h"

#include <algorithm>

namespace seltane {
namespace {

bool AllMarked(const uint8_t* marks, uint16_t count) {
  return std::all_of(marks, marks + count, [](uint8_t mark) { return mark != 0; });
}

}  // namespace

uint16_t ChooseNextPicture(uint8_t* marks, uint16_t count, uint8_t mode, std::mt19937& random) {
  if (count == 0) {
    return 0;
  }
  uint16_t chosen = 0;
  if (mode == rmRandom) {
    chosen = std::uniform_int_distribution<uint16_t>(0, count - 1)(random);
  } else {
    if (AllMarked(marks, count)) {
      std::fill(marks, marks + count, uint8_t{0});
    }
    if (mode == rmSequence) {
      chosen = static_cast<uint16_t>(std::find(marks, marks + count, uint8_t{0}) - marks);
    } else {
      // The k-th unmarked picture, k uniform among the unmarked ones.
      const auto unmarked = static_cast<uint16_t>(std::count(marks, marks + count, uint8_t{0}));
      uint16_t k = std::uniform_int_distribution<uint16_t>(0, unmarked - 1)(random);
      for (chosen = 0;; ++chosen) {
        if (marks[chosen] == 0) {
          if (k == 0) {
            break;
          }
          --k;
        }
      }
    }
  }
  marks[chosen] = 1;
  return chosen;
}

}  // namespace seltane
