// Times whole kelrun.exe runs on a list of 65,535 pictures, choosing a
// picture near the end and then the first one, beside a recording
// common.dll. The options key is prepared for the runs and put back after.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "data/ListFormat.h"
#include "data/ListState.h"
#include "data/RegistryOptions.h"
#include "platform/Files.h"
#include "platform/Win32Registry.h"
#include "tests/support/KeyBackup.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace seltane;

double RunKelrun(const std::string& folder) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = "\"" + folder + "\\kelrun.exe\" /forcetime";
  const auto start = std::chrono::steady_clock::now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode == 0 ? seconds : -1;
}

double MedianOfRuns(const std::string& folder, const char* next, int runs) {
  SetEnvironmentVariableA("SELTANE_TEST_NEXT", next);
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    times.push_back(RunKelrun(folder));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  constexpr int Pictures = 65535;
  constexpr int Chosen = 65000;
  testing::KeyBackup options{RegistryKeyNames.Key};
  testing::TempFolder folder;
  CopyFileA(SELTANE_KELRUN_EXE, (folder / "kelrun.exe").c_str(), FALSE);
  CopyFileA(SELTANE_RECORDING_COMMON_DLL, (folder / "common.dll").c_str(), FALSE);

  ListState list;
  list.ListPath = folder / "big.lst";
  for (int i = 0; i < Pictures; ++i) {
    list.AddPictureEntry(
        folder / ("folder " + std::to_string(i % 1000)) + "\\picture " + std::to_string(i) + ".jpg",
        static_cast<uint8_t>(i % 6), 1024, 768, false);
  }
  std::string error;
  WriteFileReplacing(list.ListPath,
                     FormatListFile(list.PictureList, {}, {false, true}, CompareLowerAZ), error);
  WriteFileReplacing(RandomFilePath(list.ListPath),
                     FormatRandomFile(UsedFlags(list.PictureList), false), error);
  for (int chosen : {0, Chosen}) {
    const std::string picture = list.PictureList[chosen].FullPath;
    CreateDirectoryA(std::string(picture.substr(0, picture.rfind('\\'))).c_str(), nullptr);
    WriteFileReplacing(picture, "x", error);
  }

  Win32Registry registry;
  registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key,
                      RegistryKeyNames.LastChangeTime, EncodeDouble(0));
  registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, RegistryKeyNames.ChangeDays,
                      EncodeDWord(1));
  registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, RegistryKeyNames.RandomType,
                      EncodeDWord(0));
  registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key,
                      RegistryKeyNames.WallpaperList, EncodeString(list.ListPath));

  const double nearEnd = MedianOfRuns(folder.Path(), "65000", 7);
  const double first = MedianOfRuns(folder.Path(), "0", 7);
  std::printf("kelrun, %d pictures, whole process, median of 7 runs\n", Pictures);
  std::printf("  chosen picture %d: %.3f s\n", Chosen, nearEnd);
  std::printf("  chosen picture 0:     %.3f s\n", first);
  if (nearEnd > 0 && first > 0) {
    std::printf("  difference:           %+.0f%%\n", (nearEnd / first - 1) * 100);
  }
  return nearEnd > 0 && first > 0 ? 0 : 1;
}
