// The main window created in this process with a list of three small
// pictures, scripted message boxes and file dialogs, and the recording
// stand-in for the libraries.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "data/ListFormat.h"
#include "data/ListState.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestPictures.h"

namespace seltane {

// The recording common.dll, given on the command line.
extern std::string RecordingLibraryPath;

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    prompter.answers.push_back(PromptAnswer::Ok);  // first start: defaults
    options = std::make_unique<TOptions>(
        OptionsEnvironment{registry, prompter, [this] { return folder.Path(); }, false});
    prompter.records.clear();
    CreateDirectoryA((folder / "program").c_str(), nullptr);
    for (const auto& [name, width, height] : std::vector<std::tuple<std::string, int, int>>{
             {"b.bmp", 4, 3}, {"A.bmp", 8, 2}, {"c c.bmp", 5, 5}}) {
      testing::WriteBitmap(folder / name, width, height, 0x336699);
    }
    WriteList("pics.lst", {{folder / "b.bmp", 2}, {folder / "A.bmp", 0}, {folder / "c c.bmp", 4}});
    options->WallpaperList = folder / "pics.lst";
  }
  ~MainWindow() override { form.reset(); }

  void WriteList(const std::string& name, std::vector<std::pair<std::string, uint8_t>> pictures) {
    ListState state;
    for (auto& [path, style] : pictures) {
      state.AddPictureEntry(path, style, 0, 0, false);
    }
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(
        folder / name, FormatListFile(state.PictureList, {}, {}, CompareLowerAZ), error));
    ASSERT_TRUE(WriteFileReplacing(RandomFilePath(folder / name),
                                   FormatRandomFile(UsedFlags(state.PictureList), false), error));
  }
  void Start() {
    form = std::make_unique<TForm1>(MainWindowServices{*options,
                                                       prompter,
                                                       dialogs,
                                                       {RecordingLibraryPath, RecordingLibraryPath},
                                                       false,
                                                       folder / "program",
                                                       rules});
    ASSERT_TRUE(form->Create());
  }
  void Command(int id) { SendMessageA(form->Handle(), WM_COMMAND, id, 0); }
  HWND ListView() { return GetDlgItem(form->Handle(), idKelListView); }
  int RowCount() { return static_cast<int>(SendMessageA(ListView(), LVM_GETITEMCOUNT, 0, 0)); }
  std::string RowText(int row, int column) {
    char text[512] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(ListView(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  // Selects the rows as a user would, the last one focused.
  void Select(std::vector<int> rows) {
    ListView_SetItemState(ListView(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const UINT state = LVIS_SELECTED | (i + 1 == rows.size() ? LVIS_FOCUSED : 0);
      ListView_SetItemState(ListView(), rows[i], state, state);
    }
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const kelWide& picture : form->list.PictureList) {
      names.push_back(picture.FileName);
    }
    return names;
  }

  testing::TempFolder folder;
  testing::FakeRegistry registry;
  testing::ScriptedPrompter prompter;
  testing::ScriptedDialogs dialogs;
  std::unique_ptr<TOptions> options;
  const SizeRules* rules = nullptr;  // none: added pictures keep their style
  std::unique_ptr<TForm1> form;
};

}  // namespace seltane
