// The choice of the next picture of a list from its used marks alone.
#pragma once

#include <cstdint>
#include <random>

namespace seltane {

enum RandomMode : uint8_t {
  rmNonrepeatRandom = 0,  // each picture once, in random order, then again
  rmRandom = 1,           // any picture, each time
  rmSequence = 2,         // in list order, then again from the start
};

// Chooses a position below count, updates the marks (nonzero = shown) and
// returns the position. Non-repeating random and sequence clear every mark
// first when all are set. Unknown modes choose as non-repeating random. A
// count of 0 chooses 0 and touches nothing.
uint16_t ChooseNextPicture(uint8_t* marks, uint16_t count, uint8_t mode, std::mt19937& random);

}  // namespace seltane
