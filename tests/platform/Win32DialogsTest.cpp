// The open dialog with more chosen names than its first buffer holds.
#include "platform/Win32Dialogs.h"

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/OwnDialog.h"
#include "tests/support/TempFolder.h"

namespace seltane {
namespace {

// Answers every open dialog of this process, until told to stop, by typing
// the names and pressing Open; counts the dialogs it answered.
void AnswerWithNames(const std::string& typed, const std::atomic<bool>& stop,
                     std::atomic<int>& answered) {
  while (!stop) {
    const HWND dialog = testing::VisibleDialogOfThisProcess();
    if (dialog == nullptr) {
      Sleep(10);  // the dialog opens on the other thread: look again shortly
      continue;
    }
    if (!SetDlgItemTextA(dialog, edt1, typed.c_str())) {
      SetDlgItemTextA(dialog, cmb13, typed.c_str());
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ++answered;
    while (!stop && IsWindow(dialog)) {
      Sleep(10);
    }
  }
}

// Thousands of camera files chosen at once make more than 64 KiB of names:
// they are all taken, after asking again with a larger buffer when the
// first is too small, and never taken as a cancel.
TEST(Win32Dialogs, ManyChosenFilesAreAllTaken) {
  struct Case {
    std::size_t firstBuffer;
    int files;
    int dialogs;
  };
  const std::string longName(186, 'x');  // names of 200 characters
  for (const Case& c : {Case{std::size_t{1} << 20, 340, 1}, Case{4096, 30, 2}}) {
    testing::TempFolder folder;
    std::string typed;
    for (int i = 0; i < c.files; ++i) {
      const std::string name = "IMG_" + std::to_string(10000 + i) + " " + longName + ".jpg";
      CloseHandle(
          CreateFileA((folder / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
      typed += "\"" + name + "\" ";
    }
    ASSERT_GT(typed.size(), c.dialogs == 1 ? std::size_t{65536} : c.firstBuffer);
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.Path().c_str());  // where the dialog opens

    std::atomic<bool> stop = false;
    std::atomic<int> answered = 0;
    std::thread answer(AnswerWithNames, typed, std::cref(stop), std::ref(answered));
    FileDialogOptions options;
    options.filter = "All (*.jpg)|*.jpg";
    options.multipleFiles = true;
    const std::vector<std::string> chosen = Win32Dialogs(c.firstBuffer).OpenFiles(options);
    stop = true;
    answer.join();
    SetCurrentDirectoryA(previous);

    ASSERT_EQ(chosen.size(), static_cast<std::size_t>(c.files)) << c.firstBuffer;
    EXPECT_EQ(chosen.front(), folder / ("IMG_10000 " + longName + ".jpg"));
    EXPECT_EQ(answered, c.dialogs);
  }
}

}  // namespace
}  // namespace seltane
