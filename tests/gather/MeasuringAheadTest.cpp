#include "gather/MeasuringAhead.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace seltane {
namespace {

// Each path's size is its number; "throw" throws, "none" is no picture.
std::optional<MeasuredSize> SizeOfName(const std::string& path) {
  if (path == "throw") {
    throw std::runtime_error("out of memory");
  }
  if (path == "none") {
    return std::nullopt;
  }
  return MeasuredSize{static_cast<uint16_t>(std::stoi(path)), 1};
}

TEST(MeasuringAhead, EachSizeComesBackForItsOwnPathWithAnyNumberOfThreads) {
  std::vector<std::string> paths;
  for (int i = 0; i < 2000; ++i) {
    paths.push_back(i == 7 ? "throw" : i == 8 ? "none" : std::to_string(i));
  }
  for (unsigned threads : {0u, 1u, 2u, 5u}) {
    SCOPED_TRACE(threads);
    MeasuringAhead ahead(paths, SizeOfName, threads);
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const std::optional<MeasuredSize> size = ahead.Size(i);
      if (i == 7 || i == 8) {
        EXPECT_FALSE(size.has_value());
      } else {
        ASSERT_TRUE(size.has_value());
        ASSERT_EQ(size->width, i);
      }
    }
  }
  // Stopping after the first leaves the rest, without waiting for them.
  MeasuringAhead(std::vector<std::string>(100000, "1"), SizeOfName).Size(0);
}

}  // namespace
}  // namespace seltane
