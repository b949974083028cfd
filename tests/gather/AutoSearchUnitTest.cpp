// The automatic search dialog in this process over the main window, driven
// by posted clicks and keys; the folder picker is the recording library's.
#include "gather/AutoSearchUnit.h"

#include "tests/mainwindow/MainWindowFixture.h"

namespace seltane {
namespace {

class AutoSearchDialog : public MainWindow {
 protected:
  AutoSearchDialog() {
    options->AutoOnStart = false;
    CreateDirectoryA((folder / "new").c_str(), nullptr);
    testing::WriteBitmap(folder / "new\\x.bmp", 3, 3, 0x112233);
    testing::WriteBitmap(folder / "new\\y.bmp", 2, 5, 0x445566);
  }
  ~AutoSearchDialog() override {
    dialog.reset();
    SetEnvironmentVariableA("SELTANE_TEST_FOLDER", nullptr);
  }
  void Open() {
    dialog = std::make_unique<TAutoSearchForm>(*form, *options, prompter);
    ASSERT_TRUE(dialog->Create());
  }
  HWND Item(int id) { return GetDlgItem(dialog->Handle(), id); }
  void Click(int id) { PostMessageA(Item(id), BM_CLICK, 0, 0); }
  void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
  }
  // The folder the folder picker gives.
  void PickFolder(const std::string& path) {
    SetEnvironmentVariableA("SELTANE_TEST_FOLDER", path.c_str());
  }
  std::unique_ptr<TAutoSearchForm> dialog;
};

TEST_F(AutoSearchDialog, MissingPicturesAreAskedAboutThenRemovedInOnePassKeepingTheSelection) {
  WriteList("pics.lst", {{folder / "b.bmp", 0},
                         {folder / "gone1.bmp", 0},
                         {folder / "A.bmp", 0},
                         {folder / "gone2.bmp", 0},
                         {folder / "c c.bmp", 0}});
  options->AutoSearch = false;
  options->BufferImages = true;
  Start();
  Select({2, 4});  // A.bmp, then c c.bmp shown and focused
  Open();
  // "One by one", then OK for the first, Cancel for the second.
  prompter.answers = {PromptAnswer::Cancel, PromptAnswer::Ok, PromptAnswer::Cancel};
  Click(idDoNowButton);
  Click(idAutoSearchCancelBtn);
  // Without a search the dialog stays open until Cancel.
  EXPECT_EQ(dialog->ShowModal(), IDCANCEL);

  ASSERT_EQ(prompter.records.size(), 3u);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "A.bmp", "gone2.bmp", "c c.bmp"}));
  EXPECT_EQ(RowCount(), 4);
  EXPECT_EQ(form->SelectedRows(), (std::vector<int>{1, 3}));
  EXPECT_EQ(form->FocusedRow(), 3);
  EXPECT_EQ(form->StatusText(0), "4/4");  // the shown picture's new place
  EXPECT_EQ(form->Preview().Indexes().CachedIndex, NoRow);
  EXPECT_TRUE(options->BufferImages);  // buffering back on
  EXPECT_TRUE(form->list.ListChanged && form->list.RandomChanged);
}

TEST_F(AutoSearchDialog, ProceedNowSearchesTheFoldersInTheBoxAndClosesTheDialog) {
  options->AutoDelete = false;
  options->AutoAddConfirm = false;
  Start();
  Open();
  PickFolder(folder / "new");
  dialog->AddBtnClick();
  // The same folder again, in other letters: refused.
  PickFolder(folder / "NEW");
  dialog->AddBtnClick();
  EXPECT_EQ(dialog->Folders(), std::vector<std::string>{folder / "new"});
  EXPECT_TRUE(form->list.ListChanged);

  Click(idDoNowButton);
  EXPECT_EQ(dialog->ShowModal(), IDOK);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "A.bmp", "c c.bmp", "x.bmp", "y.bmp"}));
  EXPECT_EQ(prompter.records.back().text, "2 pictures have been added");
  EXPECT_TRUE(form->list.AutoFolders.empty());  // searched, but not confirmed with OK
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(AutoSearchDialog, OnStartSearchesBeforeTheFirstShowingAndNothingIsOfferedTwice) {
  options->AutoOnStart = true;
  options->AutoDelete = false;
  Start();
  form->list.AutoFolders = {folder / "new"};
  Open();
  ASSERT_TRUE(form->InPickMode());
  EXPECT_EQ(ListView_GetItemCount(form->PickList()), 2);

  // "Proceed now" while the pictures are offered offers none of them again.
  Click(idDoNowButton);
  EXPECT_EQ(dialog->ShowModal(), IDOK);
  EXPECT_EQ(ListView_GetItemCount(form->PickList()), 2);

  // At the end the four boxes as confirmed with OK are stored and saved.
  CheckDlgButton(dialog->Handle(), idConfirmAddCheckBox, BST_UNCHECKED);
  Click(idAutoSearchOKBtn);
  dialog->ShowModal();
  dialog->FormDestroy();
  EXPECT_FALSE(options->AutoAddConfirm);
  EXPECT_EQ(DecodeDWord(registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key,
                                           RegistryKeyNames.AutoAddConfirm)),
            0u);
  EXPECT_EQ(DecodeDWord(registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key,
                                           RegistryKeyNames.AutoOnStart)),
            1u);
}

TEST_F(AutoSearchDialog, TheFolderBoxHoldsTheFoldersOfTheListOpenNow) {
  ListState other;
  other.AddPictureEntry(folder / "b.bmp", 0, 4, 3, false);
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(
      folder / "other.lst",
      FormatListFile(other.PictureList, {"C:\\three"}, {true, false}, CompareLowerAZ), error));
  Start();
  form->list.AutoFolders = {"C:\\one", "C:\\two"};
  Open();
  // The Delete key removes the selected folder and both automatic boxes are
  // unticked; Cancel (Esc) puts everything back, and the end of the run
  // stores what was there.
  HWND box = Item(idFoldersListBox);
  SendMessageA(box, LB_SETCURSEL, 0, 0);
  PostMessageA(dialog->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
  Key(box, VK_DELETE);
  Click(idAutoSearchCheckBox);
  Click(idAutoDeleteCheckBox);
  Key(box, VK_ESCAPE);
  dialog->ShowModal();
  EXPECT_EQ(dialog->Folders(), (std::vector<std::string>{"C:\\one", "C:\\two"}));
  EXPECT_EQ(form->list.AutoFolders, (std::vector<std::string>{"C:\\one", "C:\\two"}));
  EXPECT_TRUE(IsDlgButtonChecked(dialog->Handle(), idAutoSearchCheckBox));
  dialog->FormDestroy();
  EXPECT_TRUE(options->AutoSearch && options->AutoDelete);

  // A new list: the box shows the folders the list holds now, not what was
  // left in it for the list before.
  Command(idNNewList);
  Key(box, VK_ESCAPE);
  dialog->ShowModal();
  EXPECT_EQ(dialog->Folders(), (std::vector<std::string>{"C:\\one", "C:\\two"}));

  // Another list opened: its own folders, which OK then keeps.
  dialogs.openAnswers.push_back({folder / "other.lst"});
  Command(idNOpenList);
  Click(idAutoSearchOKBtn);
  EXPECT_EQ(dialog->ShowModal(), IDOK);
  EXPECT_EQ(form->list.AutoFolders, std::vector<std::string>{"C:\\three"});
}

}  // namespace
}  // namespace seltane
