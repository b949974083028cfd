// Times the main window with a list of 65,535 pictures: from creating it to
// the shown window, and sorting the list by a column.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>

#include "bench/BenchClock.h"
#include "data/ListFormat.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/PrintingPrompter.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFolder.h"

using namespace seltane;

int main() {
  constexpr int Pictures = 65535;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  testing::TempFolder folder;
  ListState list;
  for (int i = 0; i < Pictures; ++i) {
    list.AddPictureEntry("C:\\Pictures\\folder " + std::to_string(i % 1000) + "\\picture " +
                             std::to_string((i * 7919) % Pictures) + ".jpg",
                         static_cast<uint8_t>(i % 6), 1024, 768, false);
  }
  std::string error;
  WriteFileReplacing(folder / "big.lst",
                     FormatListFile(list.PictureList, {}, {false, true}, CompareLowerAZ), error);
  WriteFileReplacing(folder / "big.rnd", FormatRandomFile(UsedFlags(list.PictureList), false),
                     error);

  testing::FakeRegistry registry;
  testing::PrintingPrompter prompter;
  testing::ScriptedDialogs dialogs;  // every dialog cancelled
  TOptions options({registry, prompter, [&] { return folder.Path(); }, false});
  options.WallpaperList = folder / "big.lst";
  options.DeleteNotExisting = false;  // the pictures themselves are not there

  auto start = std::chrono::steady_clock::now();
  TForm1 form({options, prompter, dialogs, {}, false, folder.Path()});
  if (!form.Create()) {
    std::printf("the main window could not be created\n");
    return 1;
  }
  form.Show(SW_SHOW);
  const double startSeconds = bench::SecondsSince(start);

  NMLISTVIEW click{};
  click.hdr = {GetDlgItem(form.Handle(), idKelListView), idKelListView, LVN_COLUMNCLICK};
  click.iSubItem = lcFullPath;
  start = std::chrono::steady_clock::now();
  SendMessageA(form.Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&click));
  UpdateWindow(form.Handle());
  const double sortSeconds = bench::SecondsSince(start);

  std::printf("main window, %zu pictures\n", form.list.PictureList.size());
  std::printf("  start to shown window:  %.3f s\n", startSeconds);
  std::printf("  sort by full path:      %.3f s\n", sortSeconds);
  return form.list.PictureList.size() == Pictures ? 0 : 1;
}
