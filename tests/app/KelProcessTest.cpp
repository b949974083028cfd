// kel.exe run as a process, as Windows and an installer start it, against
// the prefix's real registry key (saved before and put back after).
#include <aclapi.h>
#include <gtest/gtest.h>

#include <map>

#include "app/CommandLine.h"
#include "app/OptionsUnit.h"
#include "data/ListFiles.h"
#include "data/ListFormat.h"
#include "data/RegistryOptions.h"
#include "gather/AutoSearch.h"
#include "gather/AutoSearchUnit.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/MainLayout.h"
#include "platform/Files.h"
#include "platform/Win32Registry.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/KeyBackup.h"
#include "tests/support/ManifestResource.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestPictures.h"

namespace seltane {
namespace {

std::string KelPath;

// The screen's DPI for the Wine programs started while the object lives
// (Wine reads it when a program starts), then the value as it was.
class ScreenDpi {
 public:
  explicit ScreenDpi(uint32_t dpi)
      : old_(registry_.ReadValue(RegistryRoot::CurrentUser, Key, Name)) {
    registry_.WriteValue(RegistryRoot::CurrentUser, Key, Name, EncodeDWord(dpi));
  }
  ~ScreenDpi() {
    if (old_) {
      registry_.WriteValue(RegistryRoot::CurrentUser, Key, Name, *old_);
    } else {
      registry_.DeleteValue(RegistryRoot::CurrentUser, Key, Name);
    }
  }

 private:
  static constexpr const char* Key = "Control Panel\\Desktop";
  static constexpr const char* Name = "LogPixels";
  Win32Registry registry_;
  std::optional<RegistryValue> old_;
};

// While one lives, nobody may write values into the key under
// HKEY_LOCAL_MACHINE, as for a user without the right; then the key's
// access is as it was.
class WritesRefused {
 public:
  explicit WritesRefused(const char* key) {
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    GetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &old_,
                    nullptr, &descriptor_);
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    EXPLICIT_ACCESS_A deny{};
    deny.grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    deny.grfAccessMode = DENY_ACCESS;
    deny.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    deny.Trustee.ptstrName = reinterpret_cast<LPSTR>(everyone);
    PACL denying = nullptr;
    SetEntriesInAclA(1, &deny, old_, &denying);
    refused_ = SetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                               denying, nullptr) == ERROR_SUCCESS;
    LocalFree(denying);
  }
  ~WritesRefused() {
    SetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, old_,
                    nullptr);
    LocalFree(descriptor_);
    RegCloseKey(key_);
  }
  bool Refused() const { return refused_; }

 private:
  HKEY key_ = nullptr;
  PACL old_ = nullptr;
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  bool refused_ = false;
};

// Waits until the window is hidden, asking its thread each time.
bool WaitUntilHidden(HWND window) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (IsWindowVisible(window) && std::chrono::steady_clock::now() < deadline) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored);
  }
  return !IsWindowVisible(window);
}

// The visible controls of a window by id, in its client coordinates, once
// the window's thread waits for input. A drop-down box counts with its
// selection field only (its font's height and a border).
std::map<int, RECT> VisibleControls(HWND window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
  std::map<int, RECT> controls;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) {
      RECT rect{};
      GetWindowRect(child, &rect);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
      char className[32] = {};
      GetClassNameA(child, className, sizeof className);
      if (lstrcmpiA(className, "ComboBox") == 0) {
        rect.bottom =
            rect.top + static_cast<LONG>(SendMessageA(child, CB_GETITEMHEIGHT, WPARAM(-1), 0)) + 6;
      }
      controls[GetDlgCtrlID(child)] = rect;
    }
  }
  return controls;
}

// The autorun value is the quoted full path of the kelrun.exe beside the
// kel.exe that wrote it, wherever kel was started from.
void ExpectKelrunBesideKel(const std::optional<RegistryValue>& value) {
  const std::string command = DecodeString(value).value_or("");
  const std::string ending = "\\kelrun.exe\"";
  ASSERT_TRUE(command.size() > ending.size() + 3 && command.front() == '"' &&
              command.compare(command.size() - ending.size(), ending.size(), ending) == 0)
      << command;
  EXPECT_EQ(command[2], ':') << command;
  const std::string kel = command.substr(1, command.size() - ending.size() - 1) + "\\kel.exe";
  EXPECT_NE(GetFileAttributesA(kel.c_str()), INVALID_FILE_ATTRIBUTES) << kel;
}

int Height(const RECT& rect) {
  return rect.bottom - rect.top;
}

class KelProcess : public ::testing::Test {
 protected:
  KelProcess() {
    registry.DeleteKey(RegistryRoot::CurrentUser, RegistryKeyNames.Key);
    registry.DeleteValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName);
  }
  std::optional<RegistryValue> Stored(const char* name) {
    return registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, name);
  }
  // Closes a first start's one message, which tells that the defaults and
  // the default list were set up; the main window is then open.
  HWND OpenMainWindow(testing::ChildProcess& kel) {
    const auto welcome = kel.WaitForMessageBox();
    EXPECT_TRUE(welcome);
    if (welcome) {
      EXPECT_EQ(welcome->caption, "Seltane");
      EXPECT_EQ(welcome->text, FirstStartMessage(folder / "default.lst"));
      testing::ChildProcess::Press(*welcome, IDOK);
    }
    return kel.WaitForWindow("SeltaneMainWindow");
  }
  // The main window's visible controls when kel starts at the DPI.
  std::map<int, RECT> ControlsAtDpi(uint32_t dpi) {
    std::optional<ScreenDpi> screen(std::in_place, dpi);
    testing::ChildProcess kel("\"" + KelPath + "\"", folder.Path());
    EXPECT_TRUE(kel.Started()) << dpi;
    const HWND window = OpenMainWindow(kel);
    screen.reset();
    std::map<int, RECT> controls = VisibleControls(window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(kel.WaitForExit(), 0u);
    // The next start is a first start again.
    registry.DeleteKey(RegistryRoot::CurrentUser, RegistryKeyNames.Key);
    DeleteFileA((folder / "dims.dat").c_str());
    DeleteFileA((folder / "default.lst").c_str());
    DeleteFileA((folder / "default.rnd").c_str());
    return controls;
  }

  // Passes a first start's message, opens "Set style..." and closes it, then
  // closes the main window as a user would.
  void CloseMainWindow(testing::ChildProcess& kel) {
    const HWND window = OpenMainWindow(kel);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, idNSetStyle, 0);
    const HWND setStyle = kel.WaitForWindow("SeltaneSetStyle");
    ASSERT_NE(setStyle, nullptr);
    PostMessageA(setStyle, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }

  // Answers the boxes of a start until the main window shows: the read
  // error's question with "restore the defaults", a missing list with
  // Cancel, every message with OK.
  HWND StartToMainWindow(testing::ChildProcess& kel) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (std::chrono::steady_clock::now() < deadline) {
      if (const auto box = kel.WaitForMessageBox(std::chrono::milliseconds(300))) {
        testing::ChildProcess::Press(*box, box->caption == "File open error" ? IDCANCEL : IDOK);
      } else if (HWND window =
                     kel.WaitForWindow("SeltaneMainWindow", std::chrono::milliseconds(1))) {
        return window;
      }
    }
    return nullptr;
  }
  // The list file kel opens with its defaults, with pictures and watched
  // folders.
  void WriteDefaultList(const std::vector<std::string>& pictures,
                        const std::vector<std::string>& watched) {
    ListState list;
    for (const std::string& path : pictures) {
      list.AddPictureEntry(path, 0, 0, 0, false);
    }
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(
        folder / "default.lst",
        FormatListFile(list.PictureList, watched, {true, false}, CompareLowerAZ), error));
  }
  ListState ReadDefaultList() {
    ListState list;
    list.ListPath = folder / "default.lst";
    testing::ScriptedPrompter quiet;
    ReadListFile(list, quiet);
    return list;
  }
  HWND OpenAutoSearch(testing::ChildProcess& kel, HWND window) {
    PostMessageA(window, WM_COMMAND, idNAutoSearch, 0);
    return kel.WaitForWindow("SeltaneAutoSearchDialog");
  }

  testing::KeyBackup options{RegistryKeyNames.Key};
  testing::KeyBackup autorun{RunKey};
  Win32Registry registry;
  testing::TempFolder folder;
};

// A first start asks nothing: one message tells what was set up, and the
// list and the size rules file are made without a word.
TEST_F(KelProcess, InstallOnAFirstStartTellsOnceThenSavesTheDefaultsAndTheAutorunEntry) {
  testing::ChildProcess kel("\"" + KelPath + "\" /Install", folder.Path());
  ASSERT_TRUE(kel.Started());
  CloseMainWindow(kel);
  EXPECT_EQ(kel.WaitForExit(), 0u);
  EXPECT_EQ(ReadWholeFile(folder / "dims.dat"), "");
  EXPECT_TRUE(ReadWholeFile(folder / "default.lst"));

  EXPECT_EQ(DecodeDWord(Stored("Width")), 832u);
  EXPECT_EQ(DecodeDWord(Stored("AutoRun")), 1u);
  EXPECT_EQ(DecodeString(Stored("WallpaperList")), folder.Path() + "\\default.lst");
  ExpectKelrunBesideKel(registry.ReadValue(RegistryRoot::CurrentUser, RunKey, "Seltane"));
}

TEST_F(KelProcess, UninstallDeletesTheRecordsSaysSoAndSavesNothing) {
  {
    testing::ChildProcess install("\"" + KelPath + "\" /install", folder.Path());
    CloseMainWindow(install);
    ASSERT_EQ(install.WaitForExit(), 0u);
  }
  ASSERT_TRUE(Stored("AutoRun"));

  testing::ChildProcess kel("\"" + KelPath + "\" -UNINSTALL /install", folder.Path());
  const auto message = kel.WaitForMessageBox();
  ASSERT_TRUE(message);
  EXPECT_EQ(message->caption, "Seltane");
  EXPECT_EQ(message->text, RegistryRecordsDeletedMessage);
  testing::ChildProcess::Press(*message, IDOK);
  EXPECT_EQ(kel.WaitForExit(), 0u);
  EXPECT_FALSE(Stored("AutoRun"));
  EXPECT_FALSE(registry.ReadValue(RegistryRoot::CurrentUser, RunKey, "Seltane"));
}

TEST(KelFile, ManifestDeclaresPerMonitorDpiAwarenessAndTheVersion) {
  testing::ExpectPerMonitorDpiAware(KelPath);
  testing::ExpectProjectVersion(KelPath);
}

TEST_F(KelProcess, AtAHigherDpiTheControlsAreScaledAndNoneOverlapsAnother) {
  const std::map<int, RECT> at96 = ControlsAtDpi(96);
  const std::map<int, RECT> at144 = ControlsAtDpi(144);
  ASSERT_FALSE(at96.empty());
  ASSERT_EQ(at144.size(), at96.size());
  // Buttons are placed by the layout and grow by half; the style box's
  // height comes from its font, which grows by the sizes the font has.
  for (int id : {idAddBtn, idDelBtn, idSetBtn, idFullScreenBtn}) {
    ASSERT_TRUE(at144.count(id) != 0) << id;
    EXPECT_NEAR(Height(at144.at(id)), Height(at96.at(id)) * 3 / 2, 1) << id;
  }
  EXPECT_GT(Height(at144.at(idStyleComboBox)), Height(at96.at(idStyleComboBox)) * 5 / 4);
  EXPECT_NEAR(at144.at(idAddBtn).left - at144.at(idKelListView).right,
              (at96.at(idAddBtn).left - at96.at(idKelListView).right) * 3 / 2, 1);
  for (auto a = at144.begin(); a != at144.end(); ++a) {
    for (auto b = std::next(a); b != at144.end(); ++b) {
      RECT common;
      EXPECT_FALSE(IntersectRect(&common, &a->second, &b->second)) << a->first << " " << b->first;
    }
  }
}

TEST_F(KelProcess, EndingTheSessionSavesAtOnceAndOnce) {
  testing::ChildProcess kel("\"" + KelPath + "\"", folder.Path());
  const HWND window = OpenMainWindow(kel);
  ASSERT_NE(window, nullptr);
  // Moved by the user: stored only when kel saves at its end.
  SetWindowPos(window, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 30000, &answer);
  EXPECT_EQ(answer, TRUE);
  SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 30000, &answer);
  EXPECT_EQ(DecodeDWord(Stored("Left")), 123u);
  EXPECT_EQ(DecodeDWord(Stored("Top")), 77u);
  // The exit that may still follow saves nothing again.
  SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(kel.WaitForExit(), 0u);
  EXPECT_EQ(DecodeDWord(Stored("Left")), 123u);
}

TEST_F(KelProcess, AutorunUntickedInTheOptionsIsGoneOnceKelHasEnded) {
  registry.WriteValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName,
                      EncodeString(folder / "kelrun.exe"));
  testing::ChildProcess kel("\"" + KelPath + "\"", folder.Path());
  const HWND window = OpenMainWindow(kel);  // the defaults: autorun on
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_KEYDOWN, VK_F11, 1);
  PostMessageA(window, WM_KEYUP, VK_F11, 0xC0000001);
  const HWND dialog = kel.WaitForWindow("SeltaneOptionsDialog");
  ASSERT_NE(dialog, nullptr);
  PostMessageA(GetDlgItem(dialog, idAutoRunCheckBox), BM_CLICK, 0, 0);
  PostMessageA(GetDlgItem(dialog, idOkBtn), BM_CLICK, 0, 0);
  // The dialog hides once OK has taken the options; only then the window
  // closes.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (IsWindowVisible(dialog) && std::chrono::steady_clock::now() < deadline) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored);
  }
  ASSERT_FALSE(IsWindowVisible(dialog));
  // Nothing is stored before kel ends.
  EXPECT_TRUE(registry.ReadValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(kel.WaitForExit(), 0u);
  EXPECT_FALSE(registry.ReadValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName));
  EXPECT_EQ(DecodeDWord(Stored("AutoRun")), 0u);
}

// Without the right to write under HKEY_LOCAL_MACHINE, "for all users"
// keeps the entry for the current user, which the saves at exit then write
// in its present form; the failure is told once, not once per window.
TEST_F(KelProcess, AutorunForAllUsersWithoutTheRightKeepsTheCurrentUsersEntryAndSaysSoOnce) {
  registry.DeleteValue(RegistryRoot::LocalMachine, RunKey, AutoRunValueName);
  registry.WriteValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName,
                      EncodeString(folder / "kelrun.exe"));  // as older versions wrote it
  WritesRefused refused(RunKey);
  ASSERT_TRUE(refused.Refused());
  testing::ChildProcess kel("\"" + KelPath + "\"", folder.Path());
  const HWND window = StartToMainWindow(kel);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, idNOptions, 0);
  const HWND dialog = kel.WaitForWindow("SeltaneOptionsDialog");
  ASSERT_NE(dialog, nullptr);
  PostMessageA(GetDlgItem(dialog, idAutorunUserItemFirst), BM_SETCHECK, BST_UNCHECKED, 0);
  PostMessageA(GetDlgItem(dialog, idAutorunUserItemFirst + 1), BM_SETCHECK, BST_CHECKED, 0);
  PostMessageA(GetDlgItem(dialog, idOkBtn), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntilHidden(dialog));
  PostMessageA(window, WM_CLOSE, 0, 0);

  const auto told = kel.WaitForMessageBox();
  ASSERT_TRUE(told);
  EXPECT_EQ(told->text, AutoRunKeptText("for all users", "for current user"));
  testing::ChildProcess::Press(*told, IDOK);
  EXPECT_FALSE(kel.WaitForMessageBox());  // ends without another box
  EXPECT_EQ(kel.WaitForExit(), 0u);
  ExpectKelrunBesideKel(registry.ReadValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName));
  EXPECT_FALSE(registry.ReadValue(RegistryRoot::LocalMachine, RunKey, AutoRunValueName));
  EXPECT_EQ(DecodeDWord(Stored("AutoRunUser")), 1u);
}

// Cancel undoes what was changed in the dialog, also for the end of the
// run: the list keeps its watched folders and the options their values.
TEST_F(KelProcess, CancelInTheAutomaticSearchThenExitKeepsTheWatchedFolders) {
  const std::string watched = folder / "watched";
  CreateDirectoryA(watched.c_str(), nullptr);
  ASSERT_TRUE(testing::WriteBitmap(folder / "here.bmp", 2, 2, 0x123456));
  WriteDefaultList({folder / "here.bmp"}, {watched});
  ASSERT_EQ(ReadDefaultList().AutoFolders, std::vector<std::string>{watched});
  testing::ChildProcess kel("\"" + KelPath + "\"", folder.Path());
  const HWND window = StartToMainWindow(kel);
  ASSERT_NE(window, nullptr);
  const HWND dialog = OpenAutoSearch(kel, window);
  ASSERT_NE(dialog, nullptr);
  PostMessageA(GetDlgItem(dialog, idAutoSearchCheckBox), BM_CLICK, 0, 0);
  PostMessageA(GetDlgItem(dialog, idAutoDeleteCheckBox), BM_CLICK, 0, 0);
  PostMessageA(GetDlgItem(dialog, idFoldersListBox), LB_SETCURSEL, 0, 0);
  PostMessageA(GetDlgItem(dialog, idAutoSearchDelBtn), BM_CLICK, 0, 0);
  PostMessageA(GetDlgItem(dialog, idAutoSearchCancelBtn), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntilHidden(dialog));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(kel.WaitForExit(), 0u);
  EXPECT_EQ(ReadDefaultList().AutoFolders, std::vector<std::string>{watched});
  EXPECT_EQ(DecodeDWord(Stored("AutoSearch")), 1u);
  EXPECT_EQ(DecodeDWord(Stored("AutoDelete")), 1u);
}

// Pictures on a share or drive that cannot be reached stay, with one
// message; the missing ones are offered all at once.
TEST_F(KelProcess, ProceedNowKeepsPicturesOfAnOfflineShareAndOffersTheMissingOnesAllAtOnce) {
  const std::string present = folder / "here.bmp";
  ASSERT_TRUE(testing::WriteBitmap(present, 2, 2, 0x123456));
  const std::string offline = "\\\\offline-host\\pictures\\far.jpg";
  WriteDefaultList({present, folder / "gone1.bmp", offline, folder / "gone2.bmp"}, {});
  testing::ChildProcess kel("\"" + KelPath + "\"", folder.Path());
  const HWND window = StartToMainWindow(kel);
  ASSERT_NE(window, nullptr);
  const HWND dialog = OpenAutoSearch(kel, window);
  ASSERT_NE(dialog, nullptr);
  PostMessageA(GetDlgItem(dialog, idDoNowButton), BM_CLICK, 0, 0);
  const auto unreachable = kel.WaitForMessageBox();
  ASSERT_TRUE(unreachable);
  EXPECT_EQ(unreachable->text, UnreachablePicturesText({"\\\\offline-host\\pictures"}, 1));
  testing::ChildProcess::Press(*unreachable, IDOK);
  const auto question = kel.WaitForMessageBox();
  ASSERT_TRUE(question);
  EXPECT_EQ(question->text, DeleteMissingPicturesQuestion(2));
  char label[32] = {};
  GetDlgItemTextA(question->window, IDYES, label, sizeof label);
  EXPECT_STREQ(label, "All");
  GetDlgItemTextA(question->window, IDCANCEL, label, sizeof label);
  EXPECT_STREQ(label, "One by one");
  testing::ChildProcess::Press(*question, IDYES);
  PostMessageA(GetDlgItem(dialog, idAutoSearchCancelBtn), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntilHidden(dialog));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(kel.WaitForExit(), 0u);
  const ListState list = ReadDefaultList();
  ASSERT_EQ(list.PictureList.size(), 2u);
  EXPECT_EQ(list.PictureList[0].FullPath, present);
  EXPECT_EQ(list.PictureList[1].FullPath, offline);
}

// A second kel brings the running one's window forward and ends; with
// "/uninstall" the running one deletes the records, says so and ends
// without saving them again.
TEST_F(KelProcess, ASecondStartHandsOverToTheRunningKel) {
  registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, "AutoRun", EncodeDWord(1));
  testing::ChildProcess first("\"" + KelPath + "\"", folder.Path());
  const HWND window = StartToMainWindow(first);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntilHidden(window));

  testing::ChildProcess second("\"" + KelPath + "\"", folder.Path());
  EXPECT_EQ(second.WaitForExit(), 0u);
  EXPECT_EQ(first.WaitForWindow("SeltaneMainWindow"), window);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (GetForegroundWindow() != window && std::chrono::steady_clock::now() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  EXPECT_EQ(GetForegroundWindow(), window);

  testing::ChildProcess third("\"" + KelPath + "\" /Uninstall", folder.Path());
  const auto told = first.WaitForMessageBox();
  ASSERT_TRUE(told);
  EXPECT_EQ(told->text, RegistryRecordsDeletedMessage);
  EXPECT_FALSE(third.WaitForExit(std::chrono::milliseconds(200)));  // waits for the first
  testing::ChildProcess::Press(*told, IDOK);
  EXPECT_EQ(first.WaitForExit(), 0u);
  EXPECT_EQ(third.WaitForExit(), 0u);
  EXPECT_FALSE(Stored("AutoRun"));
  EXPECT_FALSE(registry.ReadValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName));
}

}  // namespace
}  // namespace seltane

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: kel_process_tests PATH-TO-KEL.EXE\n");
    return 2;
  }
  seltane::KelPath = argv[1];
  return RUN_ALL_TESTS();
}
