#include <gtest/gtest.h>

#include <cstdio>

#include "tests/libs/LibraryPaths.h"

namespace seltane::testing {
std::string CommonDllPath;
std::string MainDllPath;
}  // namespace seltane::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: library_tests COMMON.DLL MAIN.DLL\n");
    return 2;
  }
  seltane::testing::CommonDllPath = argv[1];
  seltane::testing::MainDllPath = argv[2];
  return RUN_ALL_TESTS();
}
