// Reads a program's manifest back from its resources, as Windows finds it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Version.h"

namespace seltane::testing {

inline std::string ManifestOf(const std::string& program) {
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) {
    return {};
  }
  std::string manifest;
  constexpr WORD ManifestType = 24, ProcessManifest = 1;  // RT_MANIFEST, its id for a program
  if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(ProcessManifest),
                                  MAKEINTRESOURCEA(ManifestType))) {
    if (HGLOBAL loaded = LoadResource(module, found)) {
      manifest.assign(static_cast<const char*>(LockResource(loaded)),
                      SizeofResource(module, found));
    }
  }
  FreeLibrary(module);
  return manifest;
}

// The program declares itself aware of each monitor's scaling, so that
// Windows tells it the screen's real size.
inline void ExpectPerMonitorDpiAware(const std::string& program) {
  const std::string manifest = ManifestOf(program);
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                          "WindowsSettings\">true/pm</dpiAware>"),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                          "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
            std::string::npos)
      << manifest;
}

// The program's own identity in its manifest carries the project's version.
inline void ExpectProjectVersion(const std::string& program) {
  const std::string manifest = ManifestOf(program);
  const std::string identity = manifest.substr(0, manifest.find("/>"));
  EXPECT_NE(identity.find(" version=\"" SELTANE_VERSION_TEXT ".0\""), std::string::npos)
      << identity;
}

}  // namespace seltane::testing
