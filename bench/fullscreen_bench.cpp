// Times the fullscreen preview on an off-screen 1920 x 1080 screen, from the
// key to the screen painted: a step to a row already buffered, steps with
// nothing buffered (each 4000 x 3000 photograph decoded reduced and drawn in
// fit screen), and composing a 1 x 1 picture tiled over the screen.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/BenchClock.h"
#include "data/ListFormat.h"
#include "mainwindow/FullscreenPreview.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/PrintingPrompter.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestJpeg.h"
#include "tests/support/TestPictures.h"
#include "ui/Window.h"

using namespace seltane;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ScreenWidth = 1920, ScreenHeight = 1080;
constexpr int Photos = 8;

// The preview over a screen of its own size, wherever the display is.
class OffScreenPreview : public TFullscreenPreviewForm {
 public:
  using TFullscreenPreviewForm::TFullscreenPreviewForm;

 protected:
  RECT ScreenBounds() const override { return {0, 0, ScreenWidth, ScreenHeight}; }
};

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// One step: from the key to the screen painted, and to the key handled
// (with the next row buffered).
struct Step {
  double painted;
  double handled;
  bool buffered;
};

// Image1's procedure is wrapped to time each key it takes.
WNDPROC imageProcedure = nullptr;
TForm1* steppedForm = nullptr;
Clock::time_point painted;
std::vector<Step> steps;

LRESULT CALLBACK TimeSteps(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_KEYDOWN) {
    const LRESULT result = CallWindowProcA(imageProcedure, window, message, wParam, lParam);
    if (message == WM_PAINT) {
      painted = Clock::now();
    }
    return result;
  }
  const bool buffered =
      steppedForm->Preview().Indexes().BufferedIndex == steppedForm->SelectedRow() + 1;
  painted = {};
  const auto start = Clock::now();
  const LRESULT result = CallWindowProcA(imageProcedure, window, message, wParam, lParam);
  if (painted != Clock::time_point{}) {
    steps.push_back({Milliseconds(painted - start), Milliseconds(Clock::now() - start), buffered});
  }
  return result;
}

bool WriteList(testing::TempFolder& folder, const std::string& name,
               const std::vector<std::pair<std::string, uint8_t>>& pictures) {
  ListState list;
  for (const auto& [path, style] : pictures) {
    list.AddPictureEntry(path, style, 0, 0, false);
  }
  std::string error;
  return WriteFileReplacing(
      folder / name, FormatListFile(list.PictureList, {}, {false, true}, CompareLowerAZ), error);
}

// Photographs of 4,000 x 3,000 with a little detail, so that they decode as
// real ones do, in fit screen.
bool PhotoList(testing::TempFolder& folder) {
  std::vector<std::pair<std::string, uint8_t>> pictures;
  std::string error;
  for (int i = 0; i < Photos; ++i) {
    const std::string jpeg = testing::EncodeJpeg(4000, 3000, {}, [i](int x, int y, uint8_t* rgb) {
      rgb[0] = static_cast<uint8_t>(x * 7 + y * 3 + i * 40);
      rgb[1] = static_cast<uint8_t>((x ^ y) + i * 13);
      rgb[2] = static_cast<uint8_t>(y / 7 + x / 11);
    });
    const std::string path = folder / ("photo " + std::to_string(i) + ".jpg");
    if (!WriteFileReplacing(path, jpeg, error)) {
      return false;
    }
    pictures.emplace_back(path, wsFitScreen);
  }
  return WriteList(folder, "photos.lst", pictures);
}

// Steps down the whole list in the fullscreen preview, timing each step.
std::vector<Step> StepThrough(TOptions& options, testing::PrintingPrompter& prompter,
                              testing::ScriptedDialogs& dialogs, const std::string& folder) {
  TForm1 form({options, prompter, dialogs, {}, false, folder});
  if (!form.Create()) {
    return {};
  }
  form.Show(SW_SHOW);
  OffScreenPreview preview(form);
  if (!preview.Create()) {
    return {};
  }
  steppedForm = &form;
  steps.clear();
  imageProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(preview.Image(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimeSteps)));
  for (int step = 1; step < static_cast<int>(form.list.PictureList.size()); ++step) {
    PostMessageA(preview.Image(), WM_KEYDOWN, VK_DOWN, 1);
  }
  PostMessageA(preview.Image(), WM_KEYDOWN, VK_ESCAPE, 1);
  preview.ShowModal();
  SetWindowLongPtrA(preview.Image(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(imageProcedure));
  return steps;
}

void PrintFigures(const char* what, std::vector<double> figures) {
  if (figures.empty()) {
    std::printf("  %-34s no figures\n", what);
    return;
  }
  std::sort(figures.begin(), figures.end());
  std::printf("  %-34s median %.1f ms, worst %.1f ms\n", what, figures[figures.size() / 2],
              figures.back());
}

}  // namespace

int main() {
  RegisterControlClasses();
  testing::TempFolder folder;
  if (!PhotoList(folder)) {
    std::printf("the photographs could not be written\n");
    return 1;
  }
  testing::FakeRegistry registry;
  testing::PrintingPrompter prompter;
  testing::ScriptedDialogs dialogs;
  TOptions options({registry, prompter, [&] { return folder.Path(); }, false});
  options.WallpaperList = folder / "photos.lst";
  options.Width = 832;
  options.Height = 600;
  std::printf("fullscreen preview, off-screen %dx%d, %d photographs of 4000x3000 in fit screen\n",
              ScreenWidth, ScreenHeight, Photos);

  options.BufferImages = true;
  options.CasheImages = true;
  std::vector<double> toPainted;
  std::vector<double> handled;
  const std::vector<Step> bufferedSteps = StepThrough(options, prompter, dialogs, folder.Path());
  // The first step finds the next row buffered for the pane alone.
  for (std::size_t i = 1; i < bufferedSteps.size(); ++i) {
    if (bufferedSteps[i].buffered) {
      toPainted.push_back(bufferedSteps[i].painted);
      handled.push_back(bufferedSteps[i].handled);
    }
  }
  PrintFigures("next row, buffered, key to painted:", toPainted);
  PrintFigures("  with the row after it buffered:", handled);

  options.BufferImages = false;
  options.CasheImages = false;
  toPainted.clear();
  for (const Step& step : StepThrough(options, prompter, dialogs, folder.Path())) {
    toPainted.push_back(step.painted);
  }
  PrintFigures("next row, decoded, key to painted:", toPainted);

  if (!testing::WriteBitmap(folder / "dot.bmp", 1, 1, 0x336699) ||
      !WriteList(folder, "dot.lst", {{folder / "dot.bmp", wsTile}})) {
    return 1;
  }
  options.WallpaperList = folder / "dot.lst";
  TForm1 dot({options, prompter, dialogs, {}, false, folder.Path()});
  OffScreenPreview preview(dot);
  if (!dot.Create() || !preview.Create()) {
    return 1;
  }
  std::vector<double> tiled;
  for (int i = 0; i < 10; ++i) {
    const auto start = Clock::now();
    preview.FormShow();
    tiled.push_back(bench::SecondsSince(start) * 1000);
  }
  if (preview.DrawnRow() != 0 || preview.PixelAt(ScreenWidth - 1, ScreenHeight - 1) != 0x336699) {
    std::printf("the 1x1 picture was not tiled over the screen\n");
    return 1;
  }
  PrintFigures("1x1 picture tiled, composed:", tiled);
  return 0;
}
