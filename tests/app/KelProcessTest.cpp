// kel.exe run as a process, as Windows and an installer start it, against
// the prefix's real registry key (saved before and put back after).
#include <gtest/gtest.h>

#include "data/RegistryOptions.h"
#include "platform/Win32Registry.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/KeyBackup.h"
#include "tests/support/ManifestResource.h"
#include "tests/support/TempFolder.h"

namespace seltane {
namespace {

std::string KelPath;

class KelProcess : public ::testing::Test {
 protected:
  KelProcess() {
    registry.DeleteKey(RegistryRoot::CurrentUser, RegistryKeyNames.Key);
    registry.DeleteValue(RegistryRoot::CurrentUser, RunKey, AutoRunValueName);
  }
  std::optional<RegistryValue> Stored(const char* name) {
    return registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, name);
  }
  // Declines to create the missing default list, is told that the size rules
  // file was created, then closes the main window as a user would.
  void CloseMainWindow(testing::ChildProcess& kel) {
    const auto missingList = kel.WaitForMessageBox();
    ASSERT_TRUE(missingList);
    EXPECT_EQ(missingList->caption, "File open error");
    testing::ChildProcess::Press(*missingList, IDCANCEL);
    const auto missingRules = kel.WaitForMessageBox();
    ASSERT_TRUE(missingRules);
    EXPECT_EQ(missingRules->text, "File dims.dat not found");
    testing::ChildProcess::Press(*missingRules, IDOK);
    const HWND window = kel.WaitForWindow("SeltaneMainWindow");
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }

  testing::KeyBackup options{RegistryKeyNames.Key};
  testing::KeyBackup autorun{RunKey};
  Win32Registry registry;
  testing::TempFolder folder;
};

TEST_F(KelProcess, InstallOnAFirstStartAsksThenSavesTheDefaultsAndTheAutorunEntry) {
  testing::ChildProcess kel("\"" + KelPath + "\" /Install", folder.Path());
  ASSERT_TRUE(kel.Started());
  const auto question = kel.WaitForMessageBox();
  ASSERT_TRUE(question);
  EXPECT_EQ(question->caption, "Error");
  EXPECT_EQ(question->text, RegistryReadErrorQuestion);
  testing::ChildProcess::Press(*question, IDCANCEL);  // /install sets the defaults anyway
  CloseMainWindow(kel);
  EXPECT_EQ(kel.WaitForExit(), 0u);

  EXPECT_EQ(DecodeDWord(Stored("Width")), 832u);
  EXPECT_EQ(DecodeDWord(Stored("AutoRun")), 1u);
  EXPECT_EQ(DecodeString(Stored("WallpaperList")), folder.Path() + "\\default.lst");
  EXPECT_EQ(DecodeString(registry.ReadValue(RegistryRoot::CurrentUser, RunKey, "Seltane")),
            folder.Path() + "\\kelrun.exe");
}

TEST_F(KelProcess, UninstallDeletesTheRecordsSaysSoAndSavesNothing) {
  {
    testing::ChildProcess install("\"" + KelPath + "\" /install", folder.Path());
    const auto question = install.WaitForMessageBox();
    ASSERT_TRUE(question);
    testing::ChildProcess::Press(*question, IDOK);
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

TEST(KelFile, DeclaresPerMonitorDpiAwareness) {
  testing::ExpectPerMonitorDpiAware(KelPath);
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
