// Where the built libraries are, as given on the test program's command line:
// common.dll first, then main.dll.
#pragma once

#include <string>

namespace seltane::testing {

extern std::string CommonDllPath;
extern std::string MainDllPath;

}  // namespace seltane::testing
