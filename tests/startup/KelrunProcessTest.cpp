// kelrun.exe run as a process beside a recording common.dll, with the real
// options key prepared (saved before and put back after), as Windows would
// start it at log-on.
#include <gtest/gtest.h>

#include "data/DateTime.h"
#include "data/RegistryOptions.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "platform/Win32Registry.h"
#include "startup/KelrunRun.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/KeyBackup.h"
#include "tests/support/ManifestResource.h"
#include "tests/support/TempFolder.h"

namespace seltane {
namespace {

std::string KelrunPath;
std::string RecordingLibraryPath;

class KelrunProcess : public ::testing::Test {
 protected:
  KelrunProcess() {
    CopyFileA(KelrunPath.c_str(), (folder / "kelrun.exe").c_str(), FALSE);
    CopyFileA(RecordingLibraryPath.c_str(), (folder / "common.dll").c_str(), FALSE);
    SetEnvironmentVariableA("SELTANE_TEST_RECORD", (folder / "calls.txt").c_str());
    SetEnvironmentVariableA("SELTANE_TEST_NEXT", "1");
    registry.DeleteKey(RegistryRoot::CurrentUser, RegistryKeyNames.Key);
    Store("LastChangeTime", EncodeDouble(0.0));
    Store("ChangeDays", EncodeDWord(1));
    Store("RandomType", EncodeDWord(1));
    Store("WallpaperList", EncodeString(folder / "pics.lst"));
    Write("pics.lst",
          ";kel list file\r\n;Don't modify this file\r\n[Folders]\r\n" + folder.Path() +
              "\r\n[Extensions]\r\njpg\r\n[Files]\r\n0 0 0 first\r\n4 0 0 second picture\r\n"
              "1 0 0 third\r\n");
    Write("pics.rnd", ";kel random file\r\n;Don't modify this file\r\n3\r\n100");
    Write("first.jpg", "x");
    Write("second picture.jpg", "x");
  }
  void Store(const char* name, const RegistryValue& value) {
    registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, name, value);
  }
  std::optional<RegistryValue> Stored(const char* name) {
    return registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, name);
  }
  void Write(const std::string& name, const std::string& text) {
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(folder / name, text, error)) << error;
  }
  std::string Calls() { return ReadWholeFile(folder / "calls.txt").value_or(""); }
  // Runs kelrun, expects one message box with this text, presses OK and
  // returns the exit code.
  std::optional<DWORD> RunExpectingMessage(const std::string& text,
                                           const std::string& caption = "Error") {
    testing::ChildProcess kelrun("\"" + (folder / "kelrun.exe") + "\"", folder.Path());
    const auto box = kelrun.WaitForMessageBox();
    EXPECT_TRUE(box);
    if (!box) {
      return std::nullopt;
    }
    EXPECT_EQ(box->caption, caption);
    EXPECT_EQ(box->text, text);
    testing::ChildProcess::Press(*box, IDOK);
    return kelrun.WaitForExit();
  }
  std::optional<DWORD> RunQuietly(const std::string& arguments = "") {
    testing::ChildProcess kelrun("\"" + (folder / "kelrun.exe") + "\" " + arguments, folder.Path());
    const auto exitCode = kelrun.WaitForExit();
    EXPECT_FALSE(kelrun.WaitForMessageBox(std::chrono::milliseconds(0)));
    return exitCode;
  }

  testing::KeyBackup options{RegistryKeyNames.Key};
  testing::TempFolder folder;
  Win32Registry registry;
};

TEST_F(KelrunProcess, DueRunChangesTheWallpaperAndRecordsIt) {
  const double before = LocalDateTimeNow();
  EXPECT_EQ(RunQuietly(), 0u);
  EXPECT_EQ(Calls(), "FindNextPicture 2 3 1 100\nSetWallpaper 4 " + folder.Path() +
                         "\\second picture.jpg\n");
  EXPECT_EQ(ReadWholeFile(folder / "pics.rnd"),
            ";kel random file\r\n;Don't modify this file\r\n3\r\n110");
  EXPECT_EQ(DecodeString(Stored("LastWallpaper")), folder.Path() + "\\second picture.jpg");
  const auto changed = DecodeDouble(Stored("LastChangeTime"));
  ASSERT_TRUE(changed);
  EXPECT_GE(*changed, before);
  EXPECT_LT(*changed - before, 1.0 / 24);
}

TEST_F(KelrunProcess, NotDueDoesNothingUnlessForced) {
  Store("LastChangeTime", EncodeDouble(LocalDateTimeNow()));
  EXPECT_EQ(RunQuietly(), 0u);
  EXPECT_EQ(Calls(), "");
  EXPECT_EQ(RunQuietly("/ForceTime"), 0u);
  EXPECT_NE(Calls(), "");
}

TEST_F(KelrunProcess, MissingListIsShownAndEndsWithExitCodeOne) {
  DeleteFileA((folder / "pics.lst").c_str());
  EXPECT_EQ(RunExpectingMessage(kelrun_messages::ListNotFound), 1u);
  EXPECT_EQ(Calls(), "");
}

TEST_F(KelrunProcess, MissingKeyTellsHowToSetUp) {
  registry.DeleteKey(RegistryRoot::CurrentUser, RegistryKeyNames.Key);
  EXPECT_EQ(RunExpectingMessage(kelrun_messages::NotSetUp, "Seltane"), 1u);
}

TEST_F(KelrunProcess, MissingPictureIsPassedOverUnmarked) {
  SetEnvironmentVariableA("SELTANE_TEST_NEXT", "2");
  EXPECT_EQ(RunQuietly(), 0u);
  EXPECT_EQ(Calls(), "FindNextPicture 2 3 1 100\nFindNextPicture 2 3 1 101\nSetWallpaper 4 " +
                         folder.Path() + "\\second picture.jpg\n");
  EXPECT_EQ(ReadWholeFile(folder / "pics.rnd"),
            ";kel random file\r\n;Don't modify this file\r\n3\r\n110");
  EXPECT_EQ(DecodeString(Stored("LastWallpaper")), folder.Path() + "\\second picture.jpg");
}

TEST_F(KelrunProcess, WallpaperTheLibraryCouldNotSetIsNotRecorded) {
  SetEnvironmentVariableA("SELTANE_TEST_SET_FAILS", "1");
  const auto exitCode = RunExpectingMessage(WallpaperNotSetText(folder / "second picture.jpg"));
  SetEnvironmentVariableA("SELTANE_TEST_SET_FAILS", nullptr);
  EXPECT_EQ(exitCode, 1u);
  EXPECT_EQ(ReadWholeFile(folder / "pics.rnd"),
            ";kel random file\r\n;Don't modify this file\r\n3\r\n100");
  EXPECT_EQ(DecodeDouble(Stored("LastChangeTime")), 0.0);
  EXPECT_FALSE(Stored("LastWallpaper"));
}

TEST(KelrunFile, ManifestDeclaresPerMonitorDpiAwarenessAndTheVersion) {
  testing::ExpectPerMonitorDpiAware(KelrunPath);
  testing::ExpectProjectVersion(KelrunPath);
}

}  // namespace
}  // namespace seltane

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: kelrun_process_tests KELRUN.EXE RECORDING-COMMON.DLL\n");
    return 2;
  }
  seltane::KelrunPath = argv[1];
  seltane::RecordingLibraryPath = argv[2];
  return RUN_ALL_TESTS();
}
