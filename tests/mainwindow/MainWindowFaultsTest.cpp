// The main window's answers to what used to go wrong: the preview's kept
// pictures, missing files, minimising, the end of the session, range
// selections, large and damaged pictures, the status bar and the DPI.
#include "data/RegistryOptions.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/TestJpeg.h"

namespace seltane {
namespace {

void WriteJpeg(const std::string& path, int width, int height, uint8_t red, uint8_t green,
               uint8_t blue, std::size_t keepBytes = std::string::npos) {
  const std::string jpeg = testing::EncodeJpeg(width, height, {}, [&](int, int, uint8_t* rgb) {
    rgb[0] = red;
    rgb[1] = green;
    rgb[2] = blue;
  });
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(path, jpeg.substr(0, keepBytes), error));
}

RECT ChildRect(HWND window, int id) {
  RECT rect{};
  HWND child = GetDlgItem(window, id);
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// No two visible controls of the window share a pixel.
void ExpectNoOverlap(HWND window) {
  std::vector<std::pair<int, RECT>> shown;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) {
      shown.emplace_back(GetDlgCtrlID(child), ChildRect(window, GetDlgCtrlID(child)));
    }
  }
  for (std::size_t a = 0; a < shown.size(); ++a) {
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      RECT common;
      EXPECT_FALSE(IntersectRect(&common, &shown[a].second, &shown[b].second))
          << shown[a].first << " and " << shown[b].first;
    }
  }
}

TEST_F(MainWindow, ADeleteInsideADeleteLeavesBufferingAndCachingOn) {
  // Deleting row 0 selects row 1, whose file is missing: its removal runs
  // inside the delete, and both pause the preview's buffering.
  options->BufferImages = true;
  options->CasheImages = true;
  Start();
  DeleteFileA((folder / "A.bmp").c_str());
  Select({0});
  prompter.answers = {PromptAnswer::Ok, PromptAnswer::Ok, PromptAnswer::Ok};
  Command(idDelBtn);
  EXPECT_EQ(Names(), std::vector<std::string>{"c c.bmp"});
  EXPECT_TRUE(options->BufferImages);
  EXPECT_TRUE(options->CasheImages);
}

TEST_F(MainWindow, AfterSortingEachRowShowsAndRecordsItsOwnPicture) {
  Start();
  Select({0});
  Select({1});  // A.bmp shown, b.bmp kept as the picture shown before
  NMLISTVIEW click{};
  click.hdr = {ListView(), idKelListView, LVN_COLUMNCLICK};
  click.iSubItem = lcFileName;
  SendMessageA(form->Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&click));
  ASSERT_EQ(Names(), (std::vector<std::string>{"A.bmp", "b.bmp", "c c.bmp"}));
  Select({2});
  Select({1});
  EXPECT_EQ(form->StatusText(1), "4x3");
  EXPECT_EQ(form->list.PictureList[1].Width, 4);
  EXPECT_EQ(form->list.PictureList[1].Height, 3);
}

TEST_F(MainWindow, SetAsWallpaperSetsThePanesPictureInItsOwnStyle) {
  SetEnvironmentVariableA("SELTANE_TEST_RECORD", (folder / "record.txt").c_str());
  Start();
  options->DeleteNotExisting = false;
  // Several rows selected: the last one is in the pane. A row whose file is
  // gone, selected alone, leaves the pane and the style box as they were.
  struct Case {
    std::vector<int> rows;
    std::string set;
    const char* gone;
  };
  std::string expected;
  for (const Case& c : {Case{{0, 2}, "4 " + (folder / "c c.bmp"), nullptr},
                        Case{{2, 0}, "2 " + (folder / "b.bmp"), nullptr},
                        Case{{1}, "2 " + (folder / "b.bmp"), "A.bmp"}}) {
    if (c.gone) {
      DeleteFileA((folder / c.gone).c_str());
    }
    Select(c.rows);
    Command(idSetBtn);
    expected += "SetWallpaper " + c.set + "\n";
    EXPECT_EQ(ReadWholeFile(folder / "record.txt").value_or(""), expected);
  }
  // "Set randomly" onto a picture that cannot be shown sets nothing.
  DeleteFileA((folder / "b.bmp").c_str());
  Select({2});
  Command(idNSetrandomly);  // the recording library chooses row 0
  const std::string record = ReadWholeFile(folder / "record.txt").value_or("");
  EXPECT_NE(record.find("FindNextPicture", expected.size()), std::string::npos);
  EXPECT_EQ(record.find("SetWallpaper", expected.size()), std::string::npos);
  EXPECT_EQ(options->LastWallpaper, folder / "b.bmp");
  SetEnvironmentVariableA("SELTANE_TEST_RECORD", nullptr);
}

TEST_F(MainWindow, TheStatusFollowsTheShownRowAndNothingShowsWhenItsRowIsGone) {
  WriteList("other.lst", {});
  Start();
  Select({0});                               // b.bmp
  form->KelListViewColumnClick(lcFileName);  // A.bmp, b.bmp, c c.bmp
  EXPECT_EQ(form->StatusText(0), "2/3");
  Command(idNMoveUp);
  EXPECT_EQ(form->StatusText(0), "1/3");
  EXPECT_EQ(form->StatusText(2), folder / "b.bmp");
  CreateDirectoryA((folder / "more").c_str(), nullptr);
  testing::WriteBitmap(folder / "more\\d.bmp", 2, 2, 0x336699);
  options->AutoAddConfirm = false;
  form->ScanFolders({folder / "more"}, false);
  EXPECT_EQ(form->StatusText(0), "1/4");
  EXPECT_EQ(form->Preview().Indexes().ShownIndex, 0);
  Select({2});
  form->RemovePictures({0});  // as the automatic search drops a missing picture
  EXPECT_EQ(form->StatusText(0), "2/3");
  EXPECT_EQ(form->Preview().Indexes().ShownIndex, 1);

  for (const int command : {int{idDelBtn}, int{idNNewList}, int{idNOpenList}}) {
    SCOPED_TRACE(command);
    form.reset();
    Start();
    Select({0, 1, 2});
    ASSERT_NE(form->ShownPicture(), nullptr);
    prompter.answers.push_back(PromptAnswer::Ok);  // "Delete from list?"
    dialogs.openAnswers.push_back({folder / "other.lst"});
    Command(command);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(form->ShownPicture(), nullptr);
    EXPECT_EQ(form->Preview().Indexes().ShownIndex, NoRow);
    EXPECT_EQ(form->Caption(), "Seltane");
    for (int panel = 0; panel < 3; ++panel) {
      EXPECT_EQ(form->StatusText(panel), "");
    }
    prompter.answers.clear();
    dialogs.openAnswers.clear();
    WriteList("pics.lst", {{folder / "b.bmp", 2}, {folder / "A.bmp", 0}, {folder / "c c.bmp", 4}});
    options->WallpaperList = folder / "pics.lst";
  }
}

// Records how deep in the stack each message box was asked for.
class DepthRecordingPrompter : public testing::ScriptedPrompter {
 public:
  PromptAnswer Ask(const std::string& text, const std::string& caption, PromptButtons buttons,
                   PromptIcon icon) override {
    volatile char here = 0;
    depths.push_back(reinterpret_cast<uintptr_t>(&here));
    return ScriptedPrompter::Ask(text, caption, buttons, icon);
  }
  std::vector<uintptr_t> depths;
};

TEST_F(MainWindow, MissingPicturesAreRemovedAloneOneAfterAnother) {
  // Three missing pictures in a row between two that exist: each is removed
  // after its message, the next one's removal not nested in it, and the
  // other selected row stays.
  std::vector<std::pair<std::string, uint8_t>> rows = {{folder / "b.bmp", 0}};
  for (int i = 0; i < 3; ++i) {
    rows.emplace_back(folder / ("gone" + std::to_string(i) + ".bmp"), 0);
  }
  rows.emplace_back(folder / "c c.bmp", 4);
  WriteList("pics.lst", rows);
  options->DeleteConfirm = false;
  DepthRecordingPrompter depthPrompter;
  form = std::make_unique<TForm1>(MainWindowServices{*options,
                                                     depthPrompter,
                                                     dialogs,
                                                     {RecordingLibraryPath, RecordingLibraryPath},
                                                     false,
                                                     folder / "program"});
  ASSERT_TRUE(form->Create());
  Select({0, 1});
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "c c.bmp"}));
  ASSERT_EQ(depthPrompter.records.size(), 3u);
  EXPECT_EQ(depthPrompter.records[2].text, "Picture " + (folder / "gone2.bmp") + " not found");
  EXPECT_EQ(depthPrompter.depths[2], depthPrompter.depths[0]);
  EXPECT_EQ(form->SelectedRows(), (std::vector<int>{0, 1}));
  EXPECT_EQ(form->StatusText(2), folder / "c c.bmp");
  EXPECT_TRUE(form->list.ListChanged && form->list.RandomChanged);
}

TEST_F(MainWindow, AMissingPictureKeptAfterTheQuestionChangesNothing) {
  Start();
  DeleteFileA((folder / "c c.bmp").c_str());
  const std::string caption = form->Caption();
  prompter.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
  Select({0, 2});
  EXPECT_EQ(prompter.records.back().text, "Delete from list?");
  EXPECT_EQ(RowCount(), 3);
  EXPECT_EQ(form->Caption(), caption);
}

TEST_F(MainWindow, MinimisingKeepsTheListPanelsWidth) {
  options->LeftPanelWidth = 330;
  Start();
  form->Show(SW_MINIMIZE);
  form->Show(SW_RESTORE);
  // Made narrow for a while, then wide again: the width comes back.
  SetWindowPos(form->Handle(), nullptr, 0, 0, 380, 300, SWP_NOZORDER | SWP_NOMOVE);
  SetWindowPos(form->Handle(), nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOMOVE);
  const RECT list = ChildRect(form->Handle(), idKelListView);
  EXPECT_EQ(list.right - list.left, 330);
  form->FormDestroy();
  EXPECT_EQ(options->LeftPanelWidth, 330);
}

TEST_F(MainWindow, EndingTheSessionSavesOnceAsAtExit) {
  Start();
  Command(idNNewList);  // unnamed: saving asks for a file
  dialogs.saveAnswers.push_back(folder / "session.lst");
  EXPECT_EQ(SendMessageA(form->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(form->Handle(), WM_ENDSESSION, FALSE, 0);  // cancelled: nothing
  EXPECT_EQ(dialogs.saveShown, 0);
  SendMessageA(form->Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(dialogs.saveShown, 1);
  EXPECT_TRUE(FileExists(folder / "session.lst"));
  EXPECT_EQ(DecodeString(registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key,
                                            "WallpaperList")),
            folder / "session.lst");
  form->FormDestroy();  // the exit that follows saves nothing again
  EXPECT_EQ(dialogs.saveShown, 1);
}

TEST_F(MainWindow, ARangeSelectionShowsItsFocusedRow) {
  Start();
  // Shift+click on row 2 with row 0 selected: one notification for the
  // range, the focus on row 2.
  ListView_SetItemState(ListView(), 2, LVIS_FOCUSED, LVIS_FOCUSED);
  NMLVODSTATECHANGE range{};
  range.hdr = {ListView(), idKelListView, LVN_ODSTATECHANGED};
  range.iFrom = 0;
  range.iTo = 2;
  range.uNewState = LVIS_SELECTED;
  SendMessageA(form->Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(form->StyleBoxIndex(), 4);
  EXPECT_EQ(form->Caption(), "Seltane - c c.bmp - [pics]");
  EXPECT_EQ(form->StatusText(0), "3/3");
}

TEST_F(MainWindow, ALargePictureIsDecodedAgainWhenThePaneGrows) {
  WriteJpeg(folder / "wide.jpg", 2560, 1600, 40, 90, 160);
  WriteList("pics.lst", {{folder / "wide.jpg", 0}});
  options->Width = 500;
  options->Height = 400;
  Start();
  ASSERT_TRUE(form->ShownPicture());
  const int small = form->ShownPicture()->width;
  EXPECT_LT(small, 2560 / 2);
  SetWindowPos(form->Handle(), nullptr, 0, 0, 1000, 760, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_GT(form->ShownPicture()->width, small);
  EXPECT_GE(form->ShownPicture()->width, form->Image().Area().width);
}

TEST_F(MainWindow, AFailedDecodeLeavesThePreviousPictureWhole) {
  // A red picture is shown; a blue one cut in half draws its first rows
  // while it decodes (IncrementalDisplay), then fails.
  options->IncrementalDisplay = true;
  testing::WriteBitmap(folder / "red.bmp", 40, 40, 0xFF0000);
  WriteJpeg(folder / "cut.jpg", 512, 512, 0, 0, 255);
  const std::size_t half = ReadWholeFile(folder / "cut.jpg")->size() / 2;
  WriteJpeg(folder / "cut.jpg", 512, 512, 0, 0, 255, half);
  WriteList("pics.lst", {{folder / "red.bmp", 0}, {folder / "cut.jpg", 0}});
  Start();
  const LayoutSize area = form->Image().Area();
  const int middle = area.width / 2;
  ASSERT_EQ(form->Image().PixelAt(middle, area.height / 2), 0xFF0000u);
  Select({1});
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text.rfind("Cannot show picture " + (folder / "cut.jpg"), 0), 0u);
  EXPECT_EQ(form->Image().PixelAt(middle, area.height / 2), 0xFF0000u);
  // Where the blue rows were drawn, the pane shows its background again
  // (light grey, with as much red as blue).
  for (int y = 0; y < area.height / 2 - 20; y += 5) {
    EXPECT_GT(form->Image().PixelAt(middle, y) >> 16, 0x80u) << y;
  }
}

TEST_F(MainWindow, TheSizePanelShowsTheWholeSize) {
  WriteJpeg(folder / "photo.jpg", 1600, 1200, 90, 90, 90);
  WriteList("pics.lst", {{folder / "photo.jpg", 0}});
  Start();
  ASSERT_EQ(form->StatusText(1), "1600x1200");
  HWND status = GetDlgItem(form->Handle(), idStatusBar);
  RECT panel{};
  SendMessageA(status, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&panel));
  EXPECT_GE(panel.right - panel.left, TextWidth(status, "1600x1200") + 8);
}

TEST_F(MainWindow, AChangeOfDpiScalesTheControlsAndTheirFont) {
  options->LeftPanelWidth = 200;
  Start();
  ExpectNoOverlap(form->Handle());
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  RECT suggested{window.left, window.top, window.left + (window.right - window.left) * 3 / 2,
                 window.top + (window.bottom - window.top) * 3 / 2};
  SendMessageA(form->Handle(), WmDpiChanged, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form->Dpi(), 144);
  const RECT add = ChildRect(form->Handle(), idAddBtn);
  EXPECT_EQ(add.bottom - add.top, ScaleToDpi(25, 144));
  LOGFONTA font{};
  GetObjectA(
      reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(form->Handle(), idAddBtn), WM_GETFONT, 0, 0)),
      sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -16);  // 8 points at 144 DPI
  ExpectNoOverlap(form->Handle());
  form->FormDestroy();
  EXPECT_EQ(options->LeftPanelWidth, 300);  // the same width on the screen
}

}  // namespace
}  // namespace seltane
