// Times a folder search that adds 10,000 JPEG files of varied sizes (3
// levels, 100 folders) without confirmation, headless, and, for comparison,
// a full decode of 200 of those files.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>

#include "bench/BenchClock.h"
#include "bench/BenchPictures.h"
#include "bench/BenchServices.h"
#include "bench/PictureTree.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "tests/support/TempFolder.h"

using namespace seltane;

int main() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  testing::TempFolder folder;

  const std::string root = folder / "tree";
  const std::vector<std::string> files = bench::WritePictureTree(root);

  bench::BenchServices services(folder.Path());
  TOptions& options = services.options;
  options.WallpaperList = folder / "bench.lst";
  options.AutoAddConfirm = false;
  std::string created;
  WriteFileReplacing(options.WallpaperList, ";kel list file\r\n;Don't modify this file\r\n",
                     created);
  TForm1 form({options, services.prompter, services.dialogs, {}, false, folder.Path()});
  form.Create();

  // Warm the cache: list and read every file once.
  for (const std::string& path : files) {
    ReadWholeFile(path);
  }
  auto start = std::chrono::steady_clock::now();
  form.ScanFolders({root}, true);
  const double scanSeconds = bench::SecondsSince(start);
  const std::size_t added = form.list.PictureList.size();

  constexpr std::size_t Decoded = 200;
  const double decodeSeconds = bench::FullDecodeSeconds(files, Decoded);

  std::printf("folder search and adding, %zu JPEG files in 100 folders, 3 levels\n", files.size());
  std::printf("  added %zu pictures in %.2f s: %.0f pictures per second\n", added, scanSeconds,
              added / scanSeconds);
  std::printf("  full decode of %zu of them: %.2f s: %.0f pictures per second (%.0fx slower)\n",
              Decoded, decodeSeconds, Decoded / decodeSeconds,
              (added / scanSeconds) / (Decoded / decodeSeconds));
  return added == files.size() ? 0 : 1;
}
