// Times the main window: with a list of 65,535 pictures, from creating it to
// the shown window, sorting the list by a column, and the memory the process
// takes above what it took at its start once the pane shows a photograph of
// 1,920 x 1,080 (Wine leaves the private bytes at 0: the committed bytes
// are the figure there); with a list of large
// photographs and buffering on, selecting the next row (already buffered)
// from the click to the preview pane painted.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchPictures.h"
#include "bench/BenchServices.h"
#include "data/ListFormat.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "tests/support/TempFolder.h"
#include "ui/Window.h"

using namespace seltane;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Pictures = 65535;

// When the preview pane last finished painting: its window procedure is
// wrapped to note it.
WNDPROC paneProcedure = nullptr;
Clock::time_point panePainted;

LRESULT CALLBACK NotePaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(paneProcedure, window, message, wParam, lParam);
  if (message == WM_PAINT) {
    panePainted = Clock::now();
  }
  return result;
}

// The process's private bytes and working set.
PROCESS_MEMORY_COUNTERS_EX Memory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters;
}

double Mebibytes(SIZE_T after, SIZE_T before) {
  return (static_cast<double>(after) - static_cast<double>(before)) / (1024 * 1024);
}

bool LargeList(testing::TempFolder& folder, ListState& list) {
  for (int i = 0; i < Pictures; ++i) {
    list.AddPictureEntry("C:\\Pictures\\folder " + std::to_string(i % 1000) + "\\picture " +
                             std::to_string((i * 7919) % Pictures) + ".jpg",
                         static_cast<uint8_t>(i % 6), 1024, 768, false);
  }
  std::string error;
  return bench::WriteList(folder / "big.lst", list.PictureList) &&
         WriteFileReplacing(folder / "big.rnd",
                            FormatRandomFile(UsedFlags(list.PictureList), false), error);
}

// Photographs of 2,560 x 1,600.
bool PhotoList(testing::TempFolder& folder, int count) {
  ListState list;
  std::string error;
  for (int i = 0; i < count; ++i) {
    const std::string path = folder / ("photo " + std::to_string(i) + ".jpg");
    if (!WriteFileReplacing(path, bench::PhotographJpeg(2560, 1600, i), error)) {
      return false;
    }
    list.AddPictureEntry(path, wsFitScreen, 2560, 1600, false);
  }
  return bench::WriteList(folder / "photos.lst", list.PictureList);
}

}  // namespace

int main() {
  // What Wine and this program take before any window or list.
  const PROCESS_MEMORY_COUNTERS_EX empty = Memory();
  RegisterControlClasses();
  testing::TempFolder folder;
  ListState list;
  if (!LargeList(folder, list)) {
    std::printf("the list could not be written\n");
    return 1;
  }
  list = {};  // only the window's own copy stays

  bench::BenchServices services(folder.Path());
  TOptions& options = services.options;
  options.WallpaperList = folder / "big.lst";
  options.DeleteNotExisting = false;  // the pictures themselves are not there

  auto start = Clock::now();
  TForm1 form({options, services.prompter, services.dialogs, {}, false, folder.Path()});
  if (!form.Create()) {
    std::printf("the main window could not be created\n");
    return 1;
  }
  form.Show(SW_SHOW);
  const double startSeconds = bench::SecondsSince(start);

  NMLISTVIEW click{};
  click.hdr = {GetDlgItem(form.Handle(), idKelListView), idKelListView, LVN_COLUMNCLICK};
  click.iSubItem = lcFullPath;
  start = Clock::now();
  SendMessageA(form.Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&click));
  UpdateWindow(form.Handle());
  const double sortSeconds = bench::SecondsSince(start);

  std::printf("main window, %zu pictures\n", form.list.PictureList.size());
  std::printf("  start to shown window:  %.3f s\n", startSeconds);
  std::printf("  sort by full path:      %.3f s\n", sortSeconds);
  // The pane showing a photograph of 1,920 x 1,080.
  std::string error;
  const std::string photograph = folder / "photograph.jpg";
  if (!WriteFileReplacing(photograph, bench::PhotographJpeg(1920, 1080, 0), error) ||
      !form.Preview().ShowFile(photograph)) {
    std::printf("the photograph could not be shown\n");
    return 1;
  }
  const PROCESS_MEMORY_COUNTERS_EX open = Memory();
  std::printf("  memory above the process at its start, pane showing a 1920x1080 photograph:\n");
  std::printf(
      "    private bytes %.1f MiB, committed %.1f MiB, working set %.1f MiB (peak %.1f MiB)\n",
      Mebibytes(open.PrivateUsage, empty.PrivateUsage),
      Mebibytes(open.PagefileUsage, empty.PagefileUsage),
      Mebibytes(open.WorkingSetSize, empty.WorkingSetSize),
      Mebibytes(open.PeakWorkingSetSize, empty.WorkingSetSize));
  if (form.list.PictureList.size() != Pictures) {
    return 1;
  }

  constexpr int Photos = 12;
  if (!PhotoList(folder, Photos)) {
    std::printf("the photographs could not be written\n");
    return 1;
  }
  options.WallpaperList = folder / "photos.lst";
  options.BufferImages = true;
  options.CasheImages = true;
  options.Width = 832;
  options.Height = 600;
  TForm1 photos({options, services.prompter, services.dialogs, {}, false, folder.Path()});
  if (!photos.Create()) {
    return 1;
  }
  photos.Show(SW_SHOW);
  HWND pane = GetDlgItem(photos.Handle(), idKelImage);
  paneProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NotePaint)));
  HWND rows = GetDlgItem(photos.Handle(), idKelListView);
  std::vector<double> toPainted;
  std::vector<double> wholeStep;
  for (int row = 1; row < Photos; ++row) {
    const int before = photos.Preview().Indexes().BufferedIndex;
    start = Clock::now();
    panePainted = {};
    // A click: the row alone selected and focused.
    ListView_SetItemState(rows, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(rows, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    wholeStep.push_back(bench::SecondsSince(start) * 1000);
    if (before != row || panePainted == Clock::time_point{}) {
      std::printf("row %d was not shown from the buffer\n", row);
      return 1;
    }
    toPainted.push_back(std::chrono::duration<double, std::milli>(panePainted - start).count());
  }
  std::sort(toPainted.begin(), toPainted.end());
  std::sort(wholeStep.begin(), wholeStep.end());
  const int paneWidth = photos.Image().Area().width;
  const int paneHeight = photos.Image().Area().height;
  std::printf("next row, buffered, %d photographs of 2560x1600, pane %dx%d\n", Photos, paneWidth,
              paneHeight);
  std::printf("  click to pane painted:  median %.1f ms, worst %.1f ms\n",
              toPainted[toPainted.size() / 2], toPainted.back());
  std::printf("  with the next row buffered: median %.1f ms, worst %.1f ms\n",
              wholeStep[wholeStep.size() / 2], wholeStep.back());
  return 0;
}
