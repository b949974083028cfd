// The main window created in this process and driven with its own command
// ids and list view messages, with scripted message boxes and file dialogs.
#include "startup/KelrunRun.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/TestJpeg.h"
#include "ui/TaskbarWindow.h"
#include "ui/Window.h"

namespace seltane {

std::string RecordingLibraryPath;

namespace {

TEST_F(MainWindow, StartShowsTheListAndTheLastWallpapersRow) {
  options->LastWallpaper = folder / "A.bmp";
  Start();
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(RowText(0, 0), "b.bmp");
  EXPECT_EQ(RowText(0, 1), "tile");
  EXPECT_EQ(RowText(2, 2), folder / "c c.bmp");
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(form->FocusedRow(), 1);
  EXPECT_EQ(form->Caption(), "Seltane - A.bmp - [pics]");
  EXPECT_EQ(form->StatusText(0), "2/3");
  EXPECT_EQ(form->StatusText(1), "8x2");
  EXPECT_EQ(form->StatusText(2), folder / "A.bmp");
  EXPECT_EQ(form->StyleBoxIndex(), 0);
  EXPECT_EQ(form->list.PictureList[1].Width, 8);
  ASSERT_TRUE(form->ShownPicture());
  EXPECT_TRUE(prompter.records.empty());
  for (const auto& [id, hint] : std::vector<std::pair<int, std::wstring>>{
           {idAddBtn, L"Add file or forlder (right click for wide mode)"},
           {idDelBtn, L"Delete file from list"},
           {idSetBtn, L"Set current picture as wallpaper"},
           {idFullScreenBtn, L"Fullscreent preview"},
           {idKelImage, L"Double click for fullscreen preview"}}) {
    EXPECT_EQ(form->HintText(id), hint) << id;
  }
}

TEST_F(MainWindow, StartWithoutTheLastWallpaperSelectsTheFirstRowWithoutFocus) {
  Start();
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(form->FocusedRow(), -1);
  EXPECT_EQ(form->StyleBoxIndex(), 2);
}

TEST_F(MainWindow, TheTaskbarButtonKeepsTheProgramsNameAndMinimisesTheProgram) {
  TaskbarWindow taskbar;
  ASSERT_TRUE(taskbar.Create("Seltane"));
  taskbarOwner = taskbar.Handle();
  Start();
  taskbar.SetMainWindow(form->Handle());
  // Started minimised from a shortcut: the program is, the window is not.
  form->Show(SW_SHOWMINNOACTIVE);
  taskbar.Show(SW_SHOWMINNOACTIVE);
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), taskbar.Handle());
  EXPECT_TRUE(IsIconic(taskbar.Handle()));
  EXPECT_FALSE(IsIconic(form->Handle()));
  EXPECT_FALSE(IsWindowVisible(form->Handle()));

  SendMessageA(taskbar.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  Select({1});
  EXPECT_EQ(form->Caption(), "Seltane - A.bmp - [pics]");
  char title[64] = {};
  GetWindowTextA(taskbar.Handle(), title, sizeof title);
  EXPECT_STREQ(title, "Seltane");

  // The main window's minimise box minimises the program.
  SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(taskbar.Handle()));
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  form.reset();  // before the taskbar window, which owns it, ends
}

TEST_F(MainWindow, MissingListFoundInTheProgramFolderOpensAfterAsking) {
  CopyFileA((folder / "pics.lst").c_str(), (folder / "program\\gone.lst").c_str(), FALSE);
  options->WallpaperList = folder / "gone.lst";
  prompter.answers.push_back(PromptAnswer::Yes);
  Start();
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_NE(prompter.records[0].text.find("But file " + (folder / "program\\gone.lst")),
            std::string::npos);
  EXPECT_EQ(prompter.records[0].caption, "File open error");
  EXPECT_EQ(prompter.records[0].buttons, PromptButtons::YesNoCancel);
  EXPECT_EQ(form->list.ListPath, folder / "program\\gone.lst");
  EXPECT_EQ(RowCount(), 3);
  form->FormDestroy();
  EXPECT_EQ(options->WallpaperList, folder / "program\\gone.lst");
}

TEST_F(MainWindow, MissingListIsCreatedOrAnotherOpenedOrNothing) {
  options->WallpaperList = folder / "new.lst";
  prompter.answers.push_back(PromptAnswer::Yes);
  Start();
  EXPECT_EQ(ReadWholeFile(folder / "new.lst"), ";kel list file\r\n;Don't modify this file\r\n");
  EXPECT_EQ(RowCount(), 0);
  form.reset();

  options->WallpaperList = folder / "other.lst";
  prompter.answers.push_back(PromptAnswer::No);
  dialogs.openAnswers.push_back({folder / "pics.lst"});
  Start();
  EXPECT_EQ(RowCount(), 3);
  EXPECT_EQ(dialogs.shown.back().filter, "Wallpapers list (*.lst)|*.lst");
  form.reset();

  options->WallpaperList = folder / "other.lst";
  prompter.answers.push_back(PromptAnswer::Cancel);
  Start();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(form->list.ListPath, folder / "other.lst");
}

TEST_F(MainWindow, DeleteAsksAndSelectsTheRowThatTookThePlace) {
  Start();
  Select({1, 2});
  prompter.answers.push_back(PromptAnswer::Cancel);
  Command(idDelBtn);
  EXPECT_EQ(RowCount(), 3);
  prompter.answers.push_back(PromptAnswer::Ok);
  Command(idNDeleteFile);
  EXPECT_EQ(prompter.records.back().text, "Delete from list?");
  EXPECT_EQ(prompter.records.back().caption, "Confirmation");
  EXPECT_EQ(Names(), std::vector<std::string>{"b.bmp"});
  EXPECT_EQ(RowCount(), 1);
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{0});
  EXPECT_TRUE(form->list.ListChanged && form->list.RandomChanged);
  EXPECT_EQ(form->Preview().Indexes().BufferedIndex, NoRow);

  // Nothing selected: still asked, then nothing happens.
  Select({});
  prompter.answers.push_back(PromptAnswer::Ok);
  Command(idDelBtn);
  EXPECT_EQ(RowCount(), 1);
}

// Several selected rows move as a block and stay selected, press after
// press; a single row moves alone.
TEST_F(MainWindow, MovingTakesTheSelectedRowsAlong) {
  Start();
  Select({0, 2});
  Command(idNMoveUp);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "c c.bmp", "A.bmp"}));
  EXPECT_EQ(form->SelectedRows(), (std::vector<int>{0, 1}));
  EXPECT_EQ(form->FocusedRow(), 1);
  EXPECT_EQ(RowText(1, 0), "c c.bmp");
  EXPECT_EQ(form->Preview().Indexes().ShownIndex, 1);  // the pane's picture goes along
  Command(idNMoveUp);                                  // already first
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "c c.bmp", "A.bmp"}));
  Command(idNMoveDown);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A.bmp", "b.bmp", "c c.bmp"}));
  EXPECT_EQ(form->SelectedRows(), (std::vector<int>{1, 2}));
  EXPECT_EQ(form->FocusedRow(), 2);
  Command(idNMoveDown);  // already last
  EXPECT_EQ(Names(), (std::vector<std::string>{"A.bmp", "b.bmp", "c c.bmp"}));
  EXPECT_EQ(form->SelectedRows(), (std::vector<int>{1, 2}));

  Select({0});
  Command(idNMoveDown);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "A.bmp", "c c.bmp"}));
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{1});
  Command(idNMoveUp);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A.bmp", "b.bmp", "c c.bmp"}));
  EXPECT_EQ(form->FocusedRow(), 0);
  EXPECT_TRUE(form->list.ListChanged && form->list.RandomChanged);
}

TEST_F(MainWindow, SortingByAColumnMarksItsHeaderAndSavesInTheNewOrder) {
  Start();
  Select({2});
  NMLISTVIEW click{};
  click.hdr = {ListView(), idKelListView, LVN_COLUMNCLICK};
  click.iSubItem = lcStyle;
  SendMessageA(form->Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(form->HeaderText(lcStyle), "Style +");
  EXPECT_EQ(Names(), (std::vector<std::string>{"A.bmp", "b.bmp", "c c.bmp"}));
  SendMessageA(form->Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(form->HeaderText(lcStyle), "Style -");
  EXPECT_EQ(Names(), (std::vector<std::string>{"c c.bmp", "b.bmp", "A.bmp"}));
  EXPECT_EQ(RowText(0, 1), "fit height");
  // The selection stays with its picture.
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{0});
  Command(idNSaveList);
  const std::string saved = ReadWholeFile(folder / "pics.lst").value_or("");
  EXPECT_NE(saved.find("[Files]\r\n4 0 0 c c\r\n2 0 0 b\r\n0 0 0 A\r\n"), std::string::npos);
}

TEST_F(MainWindow, StyleBoxRestylesTheSelectedRows) {
  Start();
  Select({0, 1});
  HWND styleBox = GetDlgItem(form->Handle(), idStyleComboBox);
  SendMessageA(styleBox, CB_SETCURSEL, 3, 0);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(idStyleComboBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(styleBox));
  EXPECT_EQ(form->list.PictureList[0].Style, 3);
  EXPECT_EQ(form->list.PictureList[1].Style, 3);
  EXPECT_EQ(form->list.PictureList[2].Style, 4);
  EXPECT_EQ(RowText(1, 1), "fit width");
  EXPECT_TRUE(form->list.ListChanged);
  EXPECT_FALSE(form->list.RandomChanged);
}

TEST_F(MainWindow, SaveAfterNewListAsksForAFileAndLeavesTheOldOne) {
  Start();
  const auto before = ReadWholeFile(folder / "pics.lst");
  Command(idNNewList);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_TRUE(form->ListUnnamed);
  Command(idNSaveList);
  EXPECT_EQ(dialogs.saveShown, 1);
  EXPECT_EQ(dialogs.shown.back().defaultExtension, "lst");
  EXPECT_EQ(ReadWholeFile(folder / "pics.lst"), before);

  dialogs.saveAnswers.push_back(folder / "fresh.lst");
  Command(idNSaveListAs);
  EXPECT_FALSE(form->ListUnnamed);
  EXPECT_EQ(ReadWholeFile(folder / "fresh.lst"), ";kel list file\r\n;Don't modify this file\r\n");
}

TEST_F(MainWindow, AFileThatIsNotAListIsNeverWrittenOver) {
  const std::string notes = "my notes\r\n";
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "notes.lst", notes, error));
  Start();
  dialogs.openAnswers.push_back({folder / "notes.lst"});
  prompter.answers.push_back(PromptAnswer::Ok);  // "Invalid format of list file"
  Command(idNOpenList);
  EXPECT_EQ(prompter.records.back().text, "Invalid format of list file");
  EXPECT_TRUE(form->ListUnnamed);
  dialogs.openAnswers.push_back({folder / "c c.bmp"});
  Command(idNAddFile);
  EXPECT_EQ(Names(), std::vector<std::string>{"c c.bmp"});
  Command(idNSaveList);  // asks for a name; cancelled
  EXPECT_EQ(dialogs.saveShown, 1);
  EXPECT_EQ(ReadWholeFile(folder / "notes.lst"), notes);
}

// Held open by another program: the marks it keeps are never lost.
TEST_F(MainWindow, AListWhoseRandomFileCannotBeReadIsNeverWrittenOver) {
  WriteList("other.lst", {{folder / "c c.bmp", 1}});
  const std::string random = folder / "other.rnd";
  const auto marks = ReadWholeFile(random);
  HANDLE lock = CreateFileA(random.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Start();
  dialogs.openAnswers.push_back({folder / "other.lst"});
  prompter.answers.push_back(PromptAnswer::Ok);  // "The random file could not be read: ..."
  Command(idNOpenList);
  EXPECT_NE(prompter.records.back().text.find(random), std::string::npos);
  EXPECT_EQ(Names(), std::vector<std::string>{"c c.bmp"});
  EXPECT_TRUE(form->ListUnnamed);
  Command(idNSaveList);  // asks for a name; cancelled
  EXPECT_EQ(dialogs.saveShown, 1);
  CloseHandle(lock);
  EXPECT_EQ(ReadWholeFile(random), marks);
}

TEST_F(MainWindow, OpenListSavesTheCurrentOneFirst) {
  WriteList("other.lst", {{folder / "c c.bmp", 1}});
  Start();
  Select({0});
  prompter.answers.push_back(PromptAnswer::Ok);
  Command(idDelBtn);
  dialogs.openAnswers.push_back({folder / "other.lst"});
  Command(idNOpenList);
  EXPECT_EQ(Names(), std::vector<std::string>{"c c.bmp"});
  EXPECT_EQ(form->list.ListPath, folder / "other.lst");
  // The changed list was saved before the other one was opened.
  EXPECT_EQ(ReadWholeFile(folder / "pics.lst").value_or("").find("b\r\n"), std::string::npos);
}

TEST_F(MainWindow, SetAsWallpaperRecordsThePictureAndFindRandomlyKeepsTheMarks) {
  Start();
  Select({2});
  HWND styleBox = GetDlgItem(form->Handle(), idStyleComboBox);
  SendMessageA(styleBox, CB_SETCURSEL, 1, 0);
  // A change the library could not make is told and not recorded.
  const double lastChange = options->LastChangeTime;
  SetEnvironmentVariableA("SELTANE_TEST_SET_FAILS", "1");
  Command(idSetBtn);
  SetEnvironmentVariableA("SELTANE_TEST_SET_FAILS", nullptr);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, WallpaperNotSetText(folder / "c c.bmp"));
  EXPECT_EQ(options->LastChangeTime, lastChange);
  EXPECT_EQ(options->LastWallpaper, "");

  Command(idSetBtn);
  EXPECT_EQ(options->LastWallpaper, folder / "c c.bmp");
  EXPECT_GT(options->LastChangeTime, 40000.0);
  EXPECT_TRUE(form->list.RandomChanged);

  form->list.PictureList[0].Used = true;
  Command(idNFindrandomly);
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{0});  // the recording library chooses 0
  EXPECT_TRUE(form->list.PictureList[0].Used);
  EXPECT_FALSE(form->list.PictureList[1].Used);
}

TEST_F(MainWindow, MissingPictureIsReportedAndOfferedForDeletion) {
  Start();
  DeleteFileA((folder / "c c.bmp").c_str());
  prompter.answers.push_back(PromptAnswer::Ok);  // the message
  prompter.answers.push_back(PromptAnswer::Ok);  // "Delete from list?"
  Select({2});
  ASSERT_EQ(prompter.records.size(), 2u);
  EXPECT_EQ(prompter.records[0].text, "Picture " + (folder / "c c.bmp") + " not found");
  EXPECT_EQ(prompter.records[0].caption, "File not found");
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Warning);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "A.bmp"}));

  // A picture on a share that cannot be reached now is not missing: it stays.
  const std::string present = form->list.PictureList[1].FullPath;
  form->list.PictureList[1].FullPath = "\\\\offline-host\\share\\A.bmp";
  Select({1});
  EXPECT_EQ(prompter.records.size(), 2u);
  EXPECT_EQ(form->list.PictureList.size(), 2u);
  form->list.PictureList[1].FullPath = present;

  options->DeleteNotExisting = false;
  DeleteFileA((folder / "A.bmp").c_str());
  const std::string caption = form->Caption();
  Select({1});
  EXPECT_EQ(prompter.records.size(), 2u);
  EXPECT_EQ(form->Caption(), caption);
}

TEST_F(MainWindow, SteppingWithBufferAndCacheFollowsThePlan) {
  options->BufferImages = true;
  options->CasheImages = true;
  Start();  // selects row 0, which buffers row 1
  EXPECT_EQ(form->Preview().Indexes().BufferedIndex, 1);
  Select({1});
  Select({2});
  Select({1});
  EXPECT_EQ(form->Preview().Indexes().CachedIndex, 2);
  EXPECT_EQ(form->Preview().Indexes().ShownIndex, 1);
  EXPECT_EQ(form->Preview().Indexes().BufferedIndex, 0);
  EXPECT_EQ(form->StatusText(1), "8x2");
}

TEST_F(MainWindow, AddedPicturesAreMeasuredFromTheirHeaders) {
  Start();
  testing::WriteBitmap(folder / "wide.bmp", 640, 2, 0xFFFFFF);
  EXPECT_TRUE(form->AddPictureEntry(folder / "wide.bmp", 3));
  ASSERT_EQ(RowCount(), 4);
  EXPECT_EQ(RowText(3, 0), "wide.bmp");
  EXPECT_EQ(form->list.PictureList[3].Width, 640);
  EXPECT_EQ(form->list.PictureList[3].Height, 2);
  EXPECT_EQ(form->list.PictureList[3].Style, 3);
  EXPECT_FALSE(form->list.PictureList[3].Used);

  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "notes.jpg", "not a picture", error));
  EXPECT_FALSE(form->AddPictureEntry(folder / "notes.jpg", 0));
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, "Cannot add picture " + (folder / "notes.jpg"));
  EXPECT_EQ(prompter.records[0].caption, "");
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Information);
  EXPECT_EQ(RowCount(), 4);

  // An edited photograph with 8 MiB of metadata before its frame header.
  const std::string photo = testing::EncodeJpeg(
      64, 48, {}, [](int, int, uint8_t* rgb) { rgb[0] = rgb[1] = rgb[2] = 90; });
  ASSERT_TRUE(WriteFileReplacing(folder / "edited.jpg", testing::WithMetadata(photo, 128), error));
  EXPECT_TRUE(form->AddPictureEntry(folder / "edited.jpg", 0));
  ASSERT_EQ(RowCount(), 5);
  EXPECT_EQ(form->list.PictureList[4].Width, 64);
}

TEST_F(MainWindow, AddedPicturesTakeTheirStyleFromTheSizeRules) {
  SizeRules rules;
  AddDim(rules.dims, wsTile, DimFromNumbers(640, 0, 2, 0));
  form = std::make_unique<TForm1>(MainWindowServices{*options,
                                                     prompter,
                                                     dialogs,
                                                     {RecordingLibraryPath, RecordingLibraryPath},
                                                     false,
                                                     folder / "program",
                                                     &rules});
  ASSERT_TRUE(form->Create());
  testing::WriteBitmap(folder / "ruled.bmp", 640, 2, 0);
  testing::WriteBitmap(folder / "other.bmp", 5, 2, 0);
  EXPECT_TRUE(form->AddPictureEntry(folder / "ruled.bmp", wsStretch));
  EXPECT_EQ(form->list.PictureList.back().Style, wsTile);
  // No rule matches: the style the style box shows.
  SendMessageA(GetDlgItem(form->Handle(), idStyleComboBox), CB_SETCURSEL, wsCenter, 0);
  EXPECT_TRUE(form->AddPictureEntry(folder / "other.bmp", wsStretch));
  EXPECT_EQ(form->list.PictureList.back().Style, wsCenter);
  options->StyleSetForNew = false;
  EXPECT_TRUE(form->AddPictureEntry(folder / "ruled.bmp", wsStretch));
  EXPECT_EQ(form->list.PictureList.back().Style, wsStretch);
}

TEST_F(MainWindow, AddFilesSkipsDuplicatesAndSelectsTheLastRow) {
  Start();
  testing::WriteBitmap(folder / "new.bmp", 3, 3, 0);
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "text.jpg", "text", error));
  dialogs.openAnswers.push_back(
      {folder / "new.bmp", folder / "NEW.BMP", folder / "text.jpg", folder / "B.bmp"});
  Command(idAddBtn);
  EXPECT_TRUE(dialogs.shown.back().multipleFiles);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "A.bmp", "c c.bmp", "new.bmp"}));
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, "Cannot add picture " + (folder / "text.jpg"));
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{3});
  EXPECT_TRUE(form->list.ListChanged && form->list.RandomChanged);
}

class FolderSearch : public MainWindow {
 protected:
  FolderSearch() {
    CreateDirectoryA((folder / "R").c_str(), nullptr);
    CreateDirectoryA((folder / "R\\sub").c_str(), nullptr);
    testing::WriteBitmap(folder / "R\\one.bmp", 2, 2, 0);
    testing::WriteBitmap(folder / "R\\sub\\two.bmp", 2, 2, 0);
    std::string error;
    WriteFileReplacing(folder / "R\\skip.pcx", "x", error);
    CopyFileA((folder / "b.bmp").c_str(), (folder / "R\\b.bmp").c_str(), FALSE);
  }
  std::string ButtonText(int id) {
    char text[64] = {};
    GetDlgItemTextA(form->Handle(), id, text, sizeof text);
    return text;
  }
};

TEST_F(FolderSearch, WithoutConfirmationFoundPicturesAreAddedAndCounted) {
  options->AutoAddConfirm = false;
  Start();
  form->ScanFolders({folder / "R", folder / "gone"}, true);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"b.bmp", "A.bmp", "c c.bmp", "b.bmp", "one.bmp", "two.bmp"}));
  ASSERT_EQ(prompter.records.size(), 2u);
  EXPECT_EQ(prompter.records[0].text, "Folder " + (folder / "gone") + " not found");
  EXPECT_EQ(prompter.records[1].text, "3 pictures have been added");
  EXPECT_EQ(prompter.records[1].caption, "Folder has been added");
  EXPECT_TRUE(form->list.ListChanged && form->list.RandomChanged);
}

TEST_F(FolderSearch, AddFolderSearchesThePickedFolder) {
  options->AutoAddConfirm = false;
  options->NoRepeats = true;
  Start();
  SetEnvironmentVariableA("SELTANE_TEST_FOLDER", (folder / "R").c_str());
  Command(idNAddFolder);
  SetEnvironmentVariableA("SELTANE_TEST_FOLDER", nullptr);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"b.bmp", "A.bmp", "c c.bmp", "b.bmp", "one.bmp", "two.bmp"}));
  // Nothing picked: nothing happens.
  prompter.records.clear();
  Command(idNAddFolder);
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_EQ(RowCount(), 6);
}

TEST_F(FolderSearch, FilteringLeavesOutPicturesAlreadyListed) {
  options->AutoAddConfirm = false;
  WriteList("pics.lst", {{folder / "R\\ONE.bmp", 0}});
  Start();
  form->ScanFolders({folder / "R"}, true);
  EXPECT_EQ(Names(), (std::vector<std::string>{"ONE.bmp", "b.bmp", "two.bmp"}));
}

TEST_F(FolderSearch, PickModeAddsOnlyTheCheckedPictures) {
  Start();
  form->ScanFolders({folder / "R"}, false);
  ASSERT_TRUE(form->InPickMode());
  EXPECT_EQ(form->Caption(), "Select pictures to add");
  EXPECT_EQ(ButtonText(idAddBtn), "OK");
  EXPECT_EQ(ButtonText(idDelBtn), "Cancel");
  EXPECT_EQ(ButtonText(idSetBtn), "(un)Check all");
  EXPECT_FALSE(GetWindowLongA(ListView(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(form->HintText(idAddBtn), L"");
  EXPECT_EQ(form->HintText(idDelBtn), L"");
  EXPECT_EQ(form->HintText(idSetBtn), L"Set current picture as wallpaper");
  ASSERT_EQ(ListView_GetItemCount(form->PickList()), 3);
  Command(idNNewList);  // the list's menus are off in pick mode
  EXPECT_EQ(RowCount(), 3);

  Command(idSetBtn);  // all were checked: none now
  EXPECT_FALSE(ListView_GetCheckState(form->PickList(), 0));
  Command(idSetBtn);
  EXPECT_TRUE(ListView_GetCheckState(form->PickList(), 2));
  ListView_SetCheckState(form->PickList(), 0, FALSE);
  Command(idAddBtn);
  EXPECT_FALSE(form->InPickMode());
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "A.bmp", "c c.bmp", "one.bmp", "two.bmp"}));
  EXPECT_EQ(prompter.records.back().text, "2 pictures have been added");
  EXPECT_EQ(ButtonText(idAddBtn), "Add...");
  EXPECT_EQ(form->HintText(idAddBtn), L"Add file or forlder (right click for wide mode)");
  // The pane showed the found pictures: the selected row is shown again.
  EXPECT_EQ(form->Caption(), "Seltane - b.bmp - [pics]");
  EXPECT_EQ(form->StatusText(0), "1/5");
  EXPECT_TRUE(GetWindowLongA(ListView(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(FolderSearch, CancelledPickModeAddsNothingAndASecondSearchJoinsTheFirst) {
  Start();
  form->ScanFolders({folder / "R\\sub"}, false);
  form->ScanFolders({folder / "R\\sub"}, false);
  ASSERT_TRUE(form->InPickMode());
  EXPECT_EQ(ListView_GetItemCount(form->PickList()), 2);
  Command(idDelBtn);
  EXPECT_FALSE(form->InPickMode());
  EXPECT_EQ(RowCount(), 3);
  EXPECT_EQ(ButtonText(idDelBtn), "Delete");
  EXPECT_EQ(ButtonText(idSetBtn), "Set as wallpaper");
  EXPECT_TRUE(prompter.records.empty());
}

TEST_F(MainWindow, ExitStoresTheWindowAndTheListInTheOptions) {
  Start();
  Select({0});
  prompter.answers.push_back(PromptAnswer::Ok);
  Command(idDelBtn);
  form->FormDestroy();
  EXPECT_EQ(options->WallpaperList, folder / "pics.lst");
  EXPECT_EQ(options->ListViewNameWidth, 83);
  EXPECT_EQ(options->ListViewFullNameWidth, 191);
  EXPECT_GE(options->Width, MinimumWindowWidth);
  EXPECT_EQ(DecodeString(registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key,
                                            "WallpaperList")),
            folder / "pics.lst");
  EXPECT_EQ(ReadWholeFile(folder / "pics.lst").value_or("").find("b\r\n"), std::string::npos);
}

}  // namespace
}  // namespace seltane

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: forms_tests RECORDING-COMMON.DLL\n");
    return 2;
  }
  seltane::RecordingLibraryPath = argv[1];
  seltane::RegisterControlClasses();
  return RUN_ALL_TESTS();
}
