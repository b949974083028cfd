#include "data/DateTime.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

TEST(DateTime, CountsDaysSinceTheEndOf1899) {
  EXPECT_EQ(DateTimeFromParts(1899, 12, 30, 0, 0, 0, 0), 0.0);
  EXPECT_EQ(DateTimeFromParts(1900, 1, 1, 12, 0, 0, 0), 2.5);
  EXPECT_EQ(DateTimeFromParts(2000, 1, 1, 0, 0, 0, 0), 36526.0);
  EXPECT_EQ(DateTimeFromParts(2026, 12, 8, 18, 0, 0, 0), 46364.75);
  EXPECT_NEAR(DateTimeFromParts(2024, 2, 29, 23, 59, 59, 999), 45352.0, 1e-7);
}

}  // namespace
}  // namespace seltane
