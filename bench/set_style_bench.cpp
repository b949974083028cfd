// Times the set-style dialog: "Set for all list" over a list of 65,535
// JPEG photographs of common camera and screen sizes, styled by size rules
// (each picture measured from its file's header) and in the mode "all";
// beside it, the full decode of 200 of the same files; and creating the
// dialog with 1,530 rules, 255 in each list.
//
// The photographs are eight real JPEG files with a camera's metadata in
// front, each listed under 8,192 names: hard links, so that opening and
// reading each listed file's header costs what it costs for distinct files,
// without gigabytes on disk.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchPictures.h"
#include "bench/BenchServices.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "styles/SetStyleUnit.h"
#include "tests/support/TempFolder.h"
#include "ui/Window.h"

using namespace seltane;

namespace {

using Clock = std::chrono::steady_clock;
using Form = TSetStyleForm;

constexpr int Pictures = 65535;
constexpr std::array<std::array<int, 2>, 8> PhotographSizes = {{{1600, 1200},
                                                                {1920, 1080},
                                                                {2048, 1536},
                                                                {2560, 1600},
                                                                {3000, 2000},
                                                                {3264, 2448},
                                                                {4000, 3000},
                                                                {4608, 3456}}};

// The eight photographs, then the listed names in 256 folders; the paths of
// the eight come back in `originals`.
bool MakePhotographs(const std::string& root, std::vector<std::string>& originals,
                     std::vector<kelWide>& listed) {
  std::string error;
  CreateDirectoryA(root.c_str(), nullptr);
  for (std::size_t i = 0; i < PhotographSizes.size(); ++i) {
    const auto [width, height] = PhotographSizes[i];
    const std::string path = root + "\\original " + std::to_string(i) + ".jpg";
    const int seed = static_cast<int>(i);
    if (!WriteFileReplacing(
            path, bench::WithCameraMetadata(bench::PhotographJpeg(width, height, seed), seed),
            error)) {
      return false;
    }
    originals.push_back(path);
  }
  for (int i = 0; i < Pictures; ++i) {
    const std::string folder = root + "\\album " + std::to_string(i / 256);
    if (i % 256 == 0) {
      CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string path = folder + "\\IMG_" + std::to_string(10000 + i) + ".jpg";
    if (!CreateHardLinkA(path.c_str(), originals[i % originals.size()].c_str(), nullptr)) {
      return false;
    }
    kelWide picture;
    picture.FullPath = path;
    picture.FileName = path.substr(path.rfind('\\') + 1);
    listed.push_back(std::move(picture));
  }
  return true;
}

// Rules as a user keeps them: screen sizes to stretch, small pictures to
// tile, large photographs to fit the screen.
const char* const Rules =
    ";kel dims file\r\n;Don't modify this file\r\n"
    "[Stretch]\r\n1920 x 1080\r\n2560 x 1600\r\n1600 x 1200\r\n"
    "[Center]\r\n1024 x 768\r\n800 x 600\r\n"
    "[Tile]\r\n32 - 256 x 32 - 256\r\n"
    "[Fit Width]\r\n2048 - 3000 x 1536\r\n"
    "[Fit Height]\r\n0 - 1024 x 1024 - 4096\r\n"
    "[Fit Window]\r\n3000 - 8000 x 2000 - 6000\r\n";

std::string ManyRules() {
  std::string text = ";kel dims file\r\n;Don't modify this file\r\n";
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    text += std::string(DimsSectionHeads[style]) + "\r\n";
    for (int i = 0; i < static_cast<int>(MaxDimsPerList); ++i) {
      text += DimText(static_cast<uint16_t>(640 + i), static_cast<uint16_t>(1000 + i),
                      static_cast<uint16_t>(480 + style), 0) +
              "\r\n";
    }
  }
  return text;
}

double PressSeconds(Form& dialog, int id) {
  const auto start = Clock::now();
  SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog.Handle(), id)));
  return bench::SecondsSince(start);
}

}  // namespace

int main() {
  RegisterControlClasses();
  testing::TempFolder folder;
  std::vector<std::string> originals;
  std::vector<kelWide> listed;
  auto start = Clock::now();
  if (!MakePhotographs(folder / "photos", originals, listed) ||
      !bench::WriteList(folder / "photos.lst", listed)) {
    std::printf("the photographs could not be written (hard links: error %lu)\n", GetLastError());
    return 1;
  }
  const double makeSeconds = bench::SecondsSince(start);
  std::string error;
  WriteFileReplacing(folder / "dims.dat", Rules, error);

  bench::BenchServices services(folder.Path());
  TOptions& options = services.options;
  options.WallpaperList = folder / "photos.lst";
  SizeRules rules;
  TForm1 form({options, services.prompter, services.dialogs, {}, false, folder.Path(), &rules});
  Form dialog({options, services.prompter, rules, form, folder.Path()});
  if (!form.Create() || !dialog.Create() || form.list.PictureList.size() != Pictures) {
    std::printf("the main window or the dialog could not be created\n");
    return 1;
  }
  form.Show(SW_SHOW);

  // The first pass reads every file once and warms the cache.
  const double firstSeconds = PressSeconds(dialog, Form::idSetBtn);
  const double bySizeSeconds = PressSeconds(dialog, Form::idSetBtn);
  std::array<int, WallpaperStyleCount> styled{};
  for (const kelWide& picture : form.list.PictureList) {
    ++styled[picture.Style];
  }
  PressSeconds(dialog, Form::idAllRadioButton + int{wsCenter});
  const double allSeconds = PressSeconds(dialog, Form::idSetBtn);
  const bool allCentred =
      std::all_of(form.list.PictureList.begin(), form.list.PictureList.end(),
                  [](const kelWide& picture) { return picture.Style == wsCenter; });

  constexpr std::size_t Decoded = 200;
  const double decodeSeconds = bench::FullDecodeSeconds(originals, Decoded);

  CreateDirectoryA((folder / "many").c_str(), nullptr);
  WriteFileReplacing(folder / "many\\dims.dat", ManyRules(), error);
  SizeRules manyRules;
  start = Clock::now();
  Form many({options, services.prompter, manyRules, form, folder / "many"});
  const bool manyCreated = many.Create();
  const double createSeconds = bench::SecondsSince(start);
  std::size_t manyCount = 0;
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    manyCount += static_cast<std::size_t>(
        SendMessageA(GetDlgItem(many.Handle(), Form::idDimListBox + style), LB_GETCOUNT, 0, 0));
  }

  std::printf("set style: Set for all list, %d JPEG photographs (%zu sizes, made in %.1f s)\n",
              Pictures, PhotographSizes.size(), makeSeconds);
  std::printf("  by size rules, measured from the headers: %.2f s: %.0f pictures per second\n",
              bySizeSeconds, Pictures / bySizeSeconds);
  std::printf("    (first pass, warming the cache: %.2f s)\n", firstSeconds);
  std::printf(
      "    styles: stretch %d, center %d, tile %d, fit width %d, fit height %d, "
      "fit screen %d\n",
      styled[0], styled[1], styled[2], styled[3], styled[4], styled[5]);
  std::printf("  all to one style:                         %.1f ms\n", allSeconds * 1000);
  std::printf("  full decode of %zu of the same files: %.2f s: %.1f pictures per second\n", Decoded,
              decodeSeconds, Decoded / decodeSeconds);
  std::printf("set style: creating the dialog with %zu rules: %.1f ms\n", manyCount,
              createSeconds * 1000);
  return allCentred && manyCreated && manyCount == 6 * MaxDimsPerList ? 0 : 1;
}
