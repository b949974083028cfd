// The libraries as other programs load them: by file name, entries looked up
// by their bare names, called with __stdcall.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "tests/libs/LibraryPaths.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/OwnDialog.h"

namespace seltane {
namespace {

using FindNextPictureEntry = uint16_t(__stdcall*)(uint8_t*, int32_t, uint16_t, uint8_t);
using SetWallpaperEntry = void(__stdcall*)(const wchar_t*, uint8_t);
using OpenDirectoryEntry = void(__stdcall*)(const char*, char*, uint32_t);
using ActiveDesktopOnOffEntry = void(__stdcall*)(uint8_t, char*, uint32_t);

class Library {
 public:
  explicit Library(const std::string& path) : module_(LoadLibraryA(path.c_str())) {}
  ~Library() {
    if (module_ != nullptr) {
      FreeLibrary(module_);
    }
  }
  bool Loaded() const { return module_ != nullptr; }
  template <typename Entry>
  Entry Find(const char* name) const {
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

TEST(CommonLibrary, FindNextPictureKeepsItsContractForEveryMode) {
  Library common(testing::CommonDllPath);
  ASSERT_TRUE(common.Loaded());
  const auto find = common.Find<FindNextPictureEntry>("FindNextPicture");
  ASSERT_NE(find, nullptr);
  ASSERT_NE(common.Find<SetWallpaperEntry>("SetWallpaper"), nullptr);

  for (uint8_t mode : {0, 1, 2}) {
    std::vector<uint8_t> marks(10, 0);
    for (int call = 0; call < 25; ++call) {
      const uint16_t chosen = find(marks.data(), 9, 10, mode);
      ASSERT_LT(chosen, 10);
      EXPECT_NE(marks[chosen], 0);
    }
  }
  // Sequence over all marked starts again from the first picture.
  std::vector<uint8_t> marked(3, 1);
  EXPECT_EQ(find(marked.data(), 2, 3, 2), 0);
  EXPECT_EQ(marked, (std::vector<uint8_t>{1, 0, 0}));
}

TEST(CommonLibrary, BadArgumentsNeverCrash) {
  Library common(testing::CommonDllPath);
  const auto find = common.Find<FindNextPictureEntry>("FindNextPicture");
  const auto set = common.Find<SetWallpaperEntry>("SetWallpaper");
  EXPECT_EQ(find(nullptr, -1, 0, 0), 0);
  uint8_t one = 0;
  EXPECT_EQ(find(&one, 0, 0, 1), 0);
  // A count larger than the array looks only at highIndex + 1 marks.
  EXPECT_EQ(find(&one, 0, 500, 2), 0);
  set(nullptr, 0);
  set(L"Z:\\no\\such\\picture.jpg", 9);
}

TEST(CommonLibrary, TwoLoadsChooseDifferently) {
  std::vector<uint16_t> firsts;
  for (int load = 0; load < 4; ++load) {
    Library common(testing::CommonDllPath);
    const auto find = common.Find<FindNextPictureEntry>("FindNextPicture");
    std::vector<uint8_t> marks(60000, 0);
    firsts.push_back(find(marks.data(), 59999, 60000, 1));
  }
  EXPECT_FALSE(firsts[0] == firsts[1] && firsts[1] == firsts[2] && firsts[2] == firsts[3]);
}

TEST(MainLibrary, ActiveDesktopSwitchLeavesTheTextAlone) {
  Library main(testing::MainDllPath);
  ASSERT_TRUE(main.Loaded());
  const auto activeDesktop = main.Find<ActiveDesktopOnOffEntry>("ActiveDesktopOnOff");
  ASSERT_NE(activeDesktop, nullptr);
  char last[64] = "C:\\Pics\\a.jpg";
  activeDesktop(1, last, sizeof last);
  activeDesktop(0, last, sizeof last);
  EXPECT_STREQ(last, "C:\\Pics\\a.jpg");
}

BOOL CALLBACK CollectTexts(HWND child, LPARAM data) {
  char text[512] = {};
  GetWindowTextA(child, text, sizeof text);
  *reinterpret_cast<std::string*>(data) += std::string(text) + "|";
  return TRUE;
}

// Finds the folder picker of this process, checks that it shows the prompt
// and presses one of its buttons.
void AnswerFolderPicker(const std::string& prompt, int button) {
  for (int attempt = 0; attempt < 3000; ++attempt) {
    const HWND found = testing::VisibleDialogOfThisProcess();
    if (found != nullptr) {
      std::string texts;
      EnumChildWindows(found, CollectTexts, reinterpret_cast<LPARAM>(&texts));
      EXPECT_NE(texts.find(prompt), std::string::npos) << texts;
      PostMessageA(found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return;
    }
    Sleep(10);  // the picker opens on the other thread: look again shortly
  }
  ADD_FAILURE() << "no folder picker appeared";
}

TEST(MainLibrary, CancelledFolderPickerLeavesTheFolderEmpty) {
  Library main(testing::MainDllPath);
  const auto open = main.Find<OpenDirectoryEntry>("OpenDirectory");
  ASSERT_NE(open, nullptr);
  std::thread answer(AnswerFolderPicker, "Choose folder with pictures", IDCANCEL);
  char folder[MAX_PATH] = "left over";
  open("Choose folder with pictures", folder, sizeof folder);
  answer.join();
  EXPECT_STREQ(folder, "");
}

TEST(MainLibrary, ChosenFolderIsWrittenIntoTheBuffer) {
  Library main(testing::MainDllPath);
  const auto open = main.Find<OpenDirectoryEntry>("OpenDirectory");
  std::thread answer(AnswerFolderPicker, "Select folder for automatic searching", IDOK);
  char folder[MAX_PATH] = {};
  open("Select folder for automatic searching", folder, sizeof folder);
  answer.join();
  const DWORD attributes = GetFileAttributesA(folder);
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      << folder;
}

}  // namespace
}  // namespace seltane
