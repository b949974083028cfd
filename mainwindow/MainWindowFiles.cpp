// The main window's list files: opening the current list at start-up and
// later, new lists, saving, and what is stored at the end of the run.
#include "data/ListFiles.h"
#include "data/ListFormat.h"
#include "data/PathText.h"
#include "mainwindow/MainTexts.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"

namespace seltane {
namespace {

FileDialogOptions ListDialog() {
  return {ListFileFilter, ListFileExtension, false};
}

}  // namespace

bool TForm1::OpenListFile() {
  if (!FileExists(list.ListPath)) {
    const std::string candidate =
        services_.programFolder + "\\" + std::string(FileNamePart(list.ListPath));
    const bool candidateExists = FileExists(candidate);
    // A first start takes the list without asking, as Yes does; it tells of
    // it in one message of its own.
    const PromptAnswer answer =
        services_.options.FirstStart()
            ? PromptAnswer::Yes
            : services_.prompter.Ask(
                  MissingListQuestion(list.ListPath, candidateExists ? candidate : std::string()),
                  FileOpenErrorCaption, PromptButtons::YesNoCancel, PromptIcon::Question);
    if (answer == PromptAnswer::Yes) {
      if (candidateExists) {
        list.ListPath = candidate;
      } else {
        std::string error;
        if (!WriteFileReplacing(list.ListPath, FormatListFile({}, {}, {}, CompareLowerAZ), error)) {
          services_.prompter.Tell(ListNotCreatedText(list.ListPath, error), "Error",
                                  PromptIcon::Error);
          return false;
        }
      }
    } else if (answer == PromptAnswer::No) {
      const std::vector<std::string> chosen = services_.dialogs.OpenFiles(ListDialog());
      if (chosen.empty()) {
        return false;
      }
      list.ListPath = chosen.front();
    } else {
      return false;
    }
  }
  ++listsOpened_;
  const ListRead read = ReadListFile(list, services_.prompter);
  if (read == ListRead::NotAList || read == ListRead::Unreadable ||
      read == ListRead::LoadedKeepFiles) {
    // Never written over: the list goes on without a name, and saving it
    // asks for one.
    ListUnnamed = true;
  }
  RefreshRowsShowing(NoRow);
  return read == ListRead::Loaded || read == ListRead::LoadedKeepFiles;
}

bool TForm1::StartNewList() {
  if (!ListUnnamed) {
    if (!WriteListFiles(list, services_.options, services_.prompter)) {
      return false;  // keep the list that could not be saved
    }
  } else if (!list.PictureList.empty()) {
    NSaveListAsClick();
    if (ListUnnamed) {
      return false;  // the save was cancelled or failed: keep the list
    }
  }
  ClearSelection();
  list.PictureList.clear();
  RefreshRowsShowing(NoRow);
  ListUnnamed = true;
  ++listsOpened_;
  return true;
}

void TForm1::NNewListClick() {
  StartNewList();
}

void TForm1::NOpenListClick() {
  const std::vector<std::string> chosen = services_.dialogs.OpenFiles(ListDialog());
  if (chosen.empty() || !StartNewList()) {
    return;
  }
  ListUnnamed = false;
  list.ListPath = chosen.front();
  OpenListFile();
}

void TForm1::NSaveListClick() {
  if (ListUnnamed) {
    NSaveListAsClick();
  } else {
    WriteListFiles(list, services_.options, services_.prompter);
  }
}

void TForm1::NSaveListAsClick() {
  const auto chosen = services_.dialogs.SaveFile(ListDialog());
  if (!chosen) {
    return;
  }
  list.ListPath = *chosen;
  MarkListAndRandomChanged(list);
  if (WriteListFiles(list, services_.options, services_.prompter)) {
    ListUnnamed = false;
  }
}

void TForm1::FormDestroy() {
  if (destroyed_) {
    return;
  }
  destroyed_ = true;
  preview_->Forget();
  if (ListUnnamed) {
    NSaveListAsClick();
  } else {
    NSaveListClick();
  }
  TOptions& options = services_.options;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  const RECT& normal = placement.rcNormalPosition;
  ScreenRect bounds{normal.left, normal.top, normal.right, normal.bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) {
    // Stored as screen coordinates, which the next start creates it at.
    const RECT& screen = monitor.rcMonitor;
    const RECT& work = monitor.rcWork;
    bounds = WorkAreaToScreen(bounds, {screen.left, screen.top, screen.right, screen.bottom},
                              {work.left, work.top, work.right, work.bottom});
  }
  // Edges are kept as their low 16 bits, as the options store them.
  options.Left = static_cast<uint16_t>(bounds.left);
  options.Top = static_cast<uint16_t>(bounds.top);
  options.Width = static_cast<uint16_t>(bounds.right - bounds.left);
  options.Height = static_cast<uint16_t>(bounds.bottom - bounds.top);
  options.LeftPanelWidth = static_cast<uint16_t>(leftPanelWidth_);
  options.ListViewNameWidth = static_cast<uint16_t>(ListView_GetColumnWidth(listView_, 0));
  options.ListViewFullNameWidth = static_cast<uint16_t>(ListView_GetColumnWidth(listView_, 2));
  options.WallpaperList = list.ListPath;
  options.Save();
}

}  // namespace seltane
