// Times the automatic search dialog's "Proceed now" on the main window: the
// removal of missing pictures from a list of 65,535 pictures, with none and
// with 32,768 of them missing (no questions), and the search of the
// generated 10,000-picture tree with every picture already listed.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>

#include "bench/BenchClock.h"
#include "bench/PictureTree.h"
#include "gather/AutoSearchUnit.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/PrintingPrompter.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFolder.h"
#include "ui/Window.h"

using namespace seltane;

namespace {

constexpr std::size_t Pictures = 65535;

// The list's pictures: the tree's files over and over, every other one
// replaced by a missing file of the same folder when `missing`.
std::vector<kelWide> LargeList(const std::vector<std::string>& files, bool missing) {
  ListState list;
  list.PictureList.reserve(Pictures);
  for (std::size_t i = 0; i < Pictures; ++i) {
    std::string path = files[i % files.size()];
    if (missing && i % 2 == 0) {
      path.insert(path.rfind('\\') + 1, "gone ");
    }
    list.AddPictureEntry(std::move(path), 0, 1024, 768, false);
  }
  return std::move(list.PictureList);
}

// "Proceed now" in a dialog created over the window, timed.
double ProceedNow(TForm1& form, TOptions& options, testing::PrintingPrompter& prompter) {
  TAutoSearchForm dialog(form, options, prompter);
  if (!dialog.Create()) {
    return -1;
  }
  const auto start = std::chrono::steady_clock::now();
  SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(idDoNowButton, BN_CLICKED), 0);
  return bench::SecondsSince(start);
}

}  // namespace

int main() {
  RegisterControlClasses();
  testing::TempFolder folder;
  const std::string root = folder / "tree";
  const std::vector<std::string> files = bench::WritePictureTree(root);

  testing::FakeRegistry registry;
  testing::PrintingPrompter prompter;
  testing::ScriptedDialogs dialogs;  // every dialog cancelled
  TOptions options({registry, prompter, [&] { return folder.Path(); }, false});
  options.WallpaperList = folder / "bench.lst";
  options.AutoOnStart = false;
  options.AutoAddConfirm = false;
  options.DeleteNotExisting = true;
  options.DeleteConfirm = false;
  std::string error;
  WriteFileReplacing(options.WallpaperList, ";kel list file\r\n;Don't modify this file\r\n", error);
  TForm1 form({options, prompter, dialogs, {}, false, folder.Path()});
  if (!form.Create()) {
    std::printf("the main window could not be created\n");
    return 1;
  }
  form.Show(SW_SHOW);

  // The removal alone.
  options.AutoSearch = false;
  options.AutoDelete = true;
  std::printf("removal of missing pictures, %zu pictures\n", Pictures);
  bool counted = true;
  for (const bool missing : {false, true}) {
    form.list.PictureList = LargeList(files, missing);
    form.RefreshRows();
    form.SelectOnly(1, true);
    const double seconds = ProceedNow(form, options, prompter);
    const std::size_t left = form.list.PictureList.size();
    std::printf("  %5zu missing: %.3f s, %zu left\n", Pictures - left, seconds, left);
    counted = counted && left == (missing ? Pictures - 32768 : Pictures);
  }

  // The search alone, of a tree whose pictures are all listed.
  options.AutoSearch = true;
  options.AutoDelete = false;
  form.list.PictureList.clear();
  for (const std::string& path : files) {
    form.list.AddPictureEntry(path, 0, 1024, 768, false);
  }
  form.RefreshRows();
  form.list.AutoFolders = {root};
  const double searchSeconds = ProceedNow(form, options, prompter);
  std::printf("search of %zu pictures in 100 folders, all listed: %.3f s, %zu in the list\n",
              files.size(), searchSeconds, form.list.PictureList.size());
  return counted && form.list.PictureList.size() == files.size() ? 0 : 1;
}
