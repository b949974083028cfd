// The modal dialog base driven by posted keys, as a user would press them,
// and the hints, in this process.
#include "ui/ModalDialog.h"

#include "tests/mainwindow/MainWindowFixture.h"
#include "ui/Hints.h"

namespace seltane {
namespace {

constexpr int idList = 10;
constexpr int idOk = IDOK;
constexpr int idClose = 11;

// A small sizable dialog: a list box, a default button and a cancel button.
class TestDialog : public ModalDialog {
 public:
  bool Create(HWND owner) {
    static const DialogControl controls[] = {
        {idList,
         "LISTBOX",
         "",
         WS_TABSTOP | WS_BORDER | LBS_NOTIFY,
         {8, 8, 158, 80},
         akLeft | akTop | akRight | akBottom},
        {idOk, "BUTTON", "OK", WS_TABSTOP, {8, 96, 75, 25}, akLeft | akBottom},
        {idClose, "BUTTON", "Close", WS_TABSTOP, {91, 96, 75, 25}, akRight | akBottom},
    };
    DialogFrame frame;
    frame.className = "SeltaneTestDialog";
    frame.caption = "Test";
    frame.client = {174, 129};
    frame.sizable = true;
    frame.minimumSize = {190, 168};
    if (!CreateDialogWindow(owner, frame, controls)) {
      return false;
    }
    for (const char* line : {"one", "two", "three"}) {
      SendMessageA(Control(idList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    SetDefaultButton(idOk);
    SetCancelButton(idClose);
    owner_ = owner;
    return true;
  }
  HWND List() const { return Control(idList); }

  int closePresses = 0;
  bool ownerEnabledWhileShown = true;

 protected:
  void OnCommand(int id, int code, HWND) override {
    if (code != BN_CLICKED) {
      return;
    }
    ownerEnabledWhileShown = IsWindowEnabled(owner_);
    if (id == idOk) {
      EndModal(IDOK);
    } else if (id == idClose) {
      ++closePresses;
      EndModal(IDCANCEL);
    }
  }

 private:
  HWND owner_ = nullptr;
};

void PostKey(HWND window, WPARAM key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

TEST_F(MainWindow, ADialogEndsByItsKeysAndButtonsAndHidesWithTheOwnerEnabled) {
  Start();
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(form->Handle()));
  struct Script {
    const char* name;
    std::vector<WPARAM> keys;  // pressed in the list box
    bool closeBox;
    int result;
    int closePresses;
  };
  const Script scripts[] = {
      {"Esc", {VK_ESCAPE}, false, IDCANCEL, 1},
      {"Enter: the default button", {VK_RETURN}, false, IDOK, 0},
      {"Tab, Tab, then Esc", {VK_DOWN, VK_TAB, VK_TAB, VK_ESCAPE}, false, IDCANCEL, 1},
      {"Tab, Tab, then Enter: the focused button", {VK_TAB, VK_TAB, VK_RETURN}, false, IDCANCEL, 1},
      {"the close box", {}, true, IDCANCEL, 1},
  };
  for (const Script& script : scripts) {
    dialog.closePresses = 0;
    for (WPARAM key : script.keys) {
      PostKey(dialog.List(), key);
    }
    if (script.closeBox) {
      PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(dialog.ShowModal(), script.result) << script.name;
    EXPECT_EQ(dialog.closePresses, script.closePresses) << script.name;
    EXPECT_FALSE(dialog.ownerEnabledWhileShown) << script.name;
    EXPECT_TRUE(IsWindowEnabled(form->Handle())) << script.name;
    EXPECT_FALSE(IsWindowVisible(dialog.Handle())) << script.name;
    EXPECT_TRUE(IsWindow(dialog.Handle())) << script.name;  // hidden, not destroyed
  }
}

TEST_F(MainWindow, KeysPressedInADialogNeverActOnThePictureList) {
  options->DeleteConfirm = false;
  Start();
  Select({0, 1, 2});
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(form->Handle()));
  int result = 0;
  // The dialog opens from the program's message loop, as from a menu.
  form->BindCommand(idNAbout, [&] {
    result = dialog.ShowModal();
    PostQuitMessage(7);
  });
  PostMessageA(form->Handle(), WM_COMMAND, idNAbout, 0);
  for (WPARAM key : {VK_DELETE, VK_INSERT, VK_ESCAPE}) {
    PostKey(dialog.List(), key);
  }
  EXPECT_EQ(RunMessageLoop([&](MSG& message) { return form->TranslateShortcut(message); }), 7);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(RowCount(), 3);         // not deleted
  EXPECT_EQ(dialogs.openShown, 0);  // no file dialog for "Add file..."
  EXPECT_EQ(form->SelectedRows().size(), 3u);

  // The same keys in the main window's list are its commands.
  PostKey(ListView(), VK_DELETE);
  PostQuitMessage(0);
  RunMessageLoop([&](MSG& message) { return form->TranslateShortcut(message); });
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(MainWindow, BoundCommandsAreOffUntilBoundAndOpenFromTheirControls) {
  Start();
  HWND fullscreen = GetDlgItem(form->Handle(), idFullScreenBtn);
  EXPECT_FALSE(IsWindowEnabled(fullscreen));
  EXPECT_NE(GetMenuState(GetMenu(form->Handle()), idNFullscreen, MF_BYCOMMAND) & MF_GRAYED, 0u);
  int opened = 0;
  form->BindCommand(idNFullscreen, [&] { ++opened; });
  EXPECT_TRUE(IsWindowEnabled(fullscreen));
  EXPECT_EQ(GetMenuState(GetMenu(form->Handle()), idNFullscreen, MF_BYCOMMAND) & MF_GRAYED, 0u);
  Command(idNFullscreen);
  Command(idFullScreenBtn);
  SendMessageA(GetDlgItem(form->Handle(), idKelImage), WM_LBUTTONDBLCLK, 0, 0);
  NMHDR doubleClick{ListView(), idKelListView, static_cast<UINT>(NM_DBLCLK)};
  SendMessageA(form->Handle(), WM_NOTIFY, idKelListView, reinterpret_cast<LPARAM>(&doubleClick));
  EXPECT_EQ(opened, 4);
}

TEST(Hints, KeepUnicodeTextsAndCanBeSwitchedOff) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  HWND box = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | BS_CHECKBOX, 0, 0, 50, 20, window,
                             nullptr, nullptr, nullptr);
  {
    Hints hints;
    ASSERT_TRUE(hints.Create(window));
    const std::wstring cyrillic = L"Подействует при следующем изменении файла";
    hints.Add(box, cyrillic);
    EXPECT_EQ(hints.Text(box), cyrillic);
    hints.Enable(box, false);
    EXPECT_EQ(hints.Text(box), L"");
    hints.Enable(box, true);
    EXPECT_EQ(hints.Text(box), cyrillic);
  }
  DestroyWindow(window);
}

}  // namespace
}  // namespace seltane
