// Times the main window with a list of 65,535 pictures: from creating it to
// the shown window, and sorting the list by a column.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>

#include "data/ListFormat.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/PrintingPrompter.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace seltane;

class NoDialogs : public Dialogs {
 public:
  std::vector<std::string> OpenFiles(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> SaveFile(const FileDialogOptions&) override { return std::nullopt; }
};

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

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
  NoDialogs dialogs;
  TOptions options({registry, prompter, [&] { return folder.Path(); }, false});
  options.WallpaperList = folder / "big.lst";
  options.DeleteNotExisting = false;  // the pictures themselves are not there

  auto start = std::chrono::steady_clock::now();
  TForm1 form({options, prompter, dialogs, {}, false, folder.Path()});
  form.Create();
  form.Show(SW_SHOW);
  const double startSeconds = Since(start);

  NMLISTVIEW click{};
  click.hdr = {GetDlgItem(form.Handle(), idKelListView), idKelListView, LVN_COLUMNCLICK};
  click.iSubItem = lcFullPath;
  start = std::chrono::steady_clock::now();
  SendMessageA(form.Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&click));
  UpdateWindow(form.Handle());
  const double sortSeconds = Since(start);

  std::printf("main window, %zu pictures\n", form.list.PictureList.size());
  std::printf("  start to shown window:  %.3f s\n", startSeconds);
  std::printf("  sort by full path:      %.3f s\n", sortSeconds);
  return form.list.PictureList.size() == Pictures ? 0 : 1;
}
