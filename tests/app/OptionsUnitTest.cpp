// The options dialog in this process over the main window, driven by
// posted clicks and keys, with the options store on the fake registry.
#include "app/OptionsUnit.h"

#include "app/OptionsValues.h"

#include "tests/mainwindow/MainWindowFixture.h"

namespace seltane {
namespace {

// The check boxes the user can change and the options they stand for.
constexpr std::pair<int, bool TOptions::*> Boxes[] = {
    {idCasheCheckBox, &TOptions::CasheImages},
    {idIncrementalDisplayCheckBox, &TOptions::IncrementalDisplay},
    {idShowExtensionCheckBox, &TOptions::ShowExtensions},
    {idDeleteCheckBox, &TOptions::DeleteNotExisting},
    {idDeleteConfirmCheckBox, &TOptions::DeleteConfirm},
    {idNoRepeatsCheckBox, &TOptions::NoRepeats},
    {idStoreSizesCheckBox, &TOptions::StoreSizes},
    {idAutoRunCheckBox, &TOptions::AutoRun},
};

class OptionsDialog : public MainWindow {
 protected:
  void Open(TOptions& shown) {
    dialog = std::make_unique<TOptionsForm>(shown, prompter);
    ASSERT_TRUE(dialog->Create(form->Handle()));
  }
  HWND Item(int id) { return GetDlgItem(dialog->Handle(), id); }
  bool Checked(int id) { return IsDlgButtonChecked(dialog->Handle(), id) == BST_CHECKED; }
  void Click(int id) { PostMessageA(Item(id), BM_CLICK, 0, 0); }
  // Types over a field's text once the dialog shows.
  void Type(int id, const std::string& text) {
    PostMessageA(Item(id), EM_SETSEL, 0, -1);
    PostMessageA(Item(id), WM_CHAR, '\b', 1);
    for (char digit : text) {
      PostMessageA(Item(id), WM_CHAR, digit, 1);
    }
  }
  void TypeDays(const std::string& text) { Type(idDayEdit, text); }
  // Moves from the first page to the page with the keys once the dialog
  // shows.
  void ShowPage(int page) {
    HWND pages = Item(idOptionsPageControl);
    PostMessageA(dialog->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pages), TRUE);
    for (int step = 0; step < page; ++step) {
      Key(pages, VK_RIGHT);
    }
  }
  std::string Days() {
    char text[16] = {};
    GetWindowTextA(Item(idDayEdit), text, sizeof text);
    return text;
  }
  void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
  }
  std::unique_ptr<TOptionsForm> dialog;
};

TEST_F(OptionsDialog, EveryControlGoesToTheRegistryOnSaveAndComesBackAtTheNextStart) {
  Start();
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on ? "ticked" : "unticked");
    // Every option the opposite of what the user then chooses.
    for (const auto& [id, option] : Boxes) {
      (*options).*option = !on;
    }
    options->AutoRunUser = on;
    options->RandomType = on ? 0 : 2;
    options->ChangeDays = 9;
    options->BufferImages = on;  // shown, not changeable
    Open(*options);
    // "Autorun" greys the day field and the choice: ticked first, unticked
    // last.
    if (on) {
      Click(idAutoRunCheckBox);
    }
    Click(idRandomItemFirst + (on ? 2 : 1));
    ShowPage(2);  // a radio button is chosen on its page only
    Click(idAutorunUserItemFirst + (on ? 1 : 0));
    for (const auto& [id, option] : Boxes) {
      if (id != idAutoRunCheckBox) {
        Click(id);
      }
    }
    TypeDays(on ? "255" : "0");
    if (!on) {
      Click(idAutoRunCheckBox);
    }
    Click(idOkBtn);
    EXPECT_EQ(dialog->ShowModal(), IDOK);
    ASSERT_TRUE(options->Save());

    // Read back as the next start reads the store: no question.
    TOptions stored({registry, prompter, [this] { return folder.Path(); }, false});
    for (const auto& [id, option] : Boxes) {
      EXPECT_EQ(stored.*option, on) << id;
    }
    EXPECT_EQ(stored.AutoRunUser, !on);
    EXPECT_EQ(stored.RandomType, on ? 2 : 1);
    EXPECT_EQ(stored.ChangeDays, on ? 255 : 0);
    EXPECT_EQ(stored.BufferImages, on);
    // Autorun for all users: under HKEY_LOCAL_MACHINE only; off: nowhere.
    EXPECT_EQ(registry.Has(RegistryRoot::LocalMachine, RunKey, AutoRunValueName), on);
    EXPECT_FALSE(registry.Has(RegistryRoot::CurrentUser, RunKey, AutoRunValueName));

    Open(stored);
    for (const auto& [id, option] : Boxes) {
      EXPECT_EQ(Checked(id), on) << id;
    }
    EXPECT_EQ(Checked(idBufferCheckBox), on);
    EXPECT_FALSE(IsWindowEnabled(Item(idBufferCheckBox)));
    EXPECT_TRUE(Checked(idRandomItemFirst + (on ? 2 : 1)));
    EXPECT_TRUE(Checked(idAutorunUserItemFirst + (on ? 1 : 0)));
    Key(Item(idDayEdit), VK_ESCAPE);
    EXPECT_EQ(dialog->ShowModal(), IDCANCEL);
    EXPECT_EQ(Days(), on ? "255" : "0");
  }
  prompter.records.clear();
}

TEST_F(OptionsDialog, CancelKeepsTheBoxesAsLeftAndTheNextOkTakesThem) {
  options->AutoRun = true;
  options->ChangeDays = 5;
  options->RandomType = 3;  // written by another program: no item stands for it
  Start();
  Open(*options);
  EXPECT_TRUE(Checked(idRandomItemFirst));

  Click(idAutoRunCheckBox);
  TypeDays("7");
  Click(idCancelBtn);
  EXPECT_EQ(dialog->ShowModal(), IDCANCEL);
  EXPECT_TRUE(options->AutoRun);
  EXPECT_EQ(options->ChangeDays, 5);
  EXPECT_EQ(options->RandomType, 3);

  // The next showing: "Autorun" still unticked, the day count and every item
  // of the choice greyed, the day field from the options again.
  Key(Item(idDayEdit), VK_RETURN);
  EXPECT_EQ(dialog->ShowModal(), IDOK);
  EXPECT_FALSE(Checked(idAutoRunCheckBox));
  for (int id : {int{idDayEdit}, int{idUpDown1}, int{idLabel3}, int{idRandomRadioGroup},
                 int{idRandomItemFirst}, idRandomItemFirst + 1, idRandomItemFirst + 2}) {
    EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
  }
  EXPECT_TRUE(IsWindowEnabled(Item(idAutorunUserItemFirst + 1)));
  EXPECT_EQ(Days(), "5");
  EXPECT_FALSE(options->AutoRun);
  EXPECT_EQ(options->ChangeDays, 5);
  EXPECT_EQ(options->RandomType, 0);
}

TEST_F(OptionsDialog, ADayFieldWithoutAWholeNumberOfDaysChangesNothing) {
  Start();
  for (const char* days : {"", "256", "999"}) {
    options->AutoRun = true;
    options->CasheImages = true;
    options->ChangeDays = 3;
    Open(*options);
    Click(idAutoRunCheckBox);
    Click(idCasheCheckBox);
    TypeDays(days);
    Click(idOkBtn);  // refused: the dialog stays open
    Click(idCancelBtn);
    EXPECT_EQ(dialog->ShowModal(), IDCANCEL) << days;
    ASSERT_FALSE(prompter.records.empty());
    EXPECT_EQ(prompter.records.back().text,
              std::string("'").append(days).append("' is not a valid integer value"));
    EXPECT_EQ(prompter.records.back().caption, "Seltane");
    EXPECT_TRUE(options->AutoRun) << days;
    EXPECT_TRUE(options->CasheImages) << days;
    EXPECT_EQ(options->ChangeDays, 3) << days;
  }
}

TEST_F(OptionsDialog, TheTimedChangeAndTheHotkeyAreTakenOnlyWhenWindowsCanRunThem) {
  const uint16_t ctrlAltN = MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_ALT);
  struct Case {
    const char* interval;
    int unit;
    uint16_t hotkey;
    const char* told;  // nullptr: taken
  } const cases[] = {
      {"90", 1, ctrlAltN, nullptr},
      {"0", 2, 0, nullptr},
      {"44640", 0, VK_F9, nullptr},
      {"745", 1, 0,
       "Windows' task scheduler repeats a change at most every 744 hours. Enter 0 to "
       "switch the timed change off."},
      {"", 0, 0, "'' is not a valid integer value"},
      {"15", 0, 'N', HotkeyNotUsableMessage},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interval);
    options->ChangeInterval = 7;
    options->ChangeIntervalUnit = 2;
    options->NextHotkey = ctrlAltN;
    prompter.records.clear();
    Open(*options);
    EXPECT_EQ(SendMessageA(Item(idIntervalUnitBox), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(Item(idHotkeyBox), HKM_GETHOTKEY, 0, 0), ctrlAltN);
    Type(idIntervalEdit, c.interval);
    PostMessageA(Item(idIntervalUnitBox), CB_SETCURSEL, c.unit, 0);
    PostMessageA(Item(idHotkeyBox), HKM_SETHOTKEY, c.hotkey, 0);
    Click(idOkBtn);
    if (c.told) {
      Click(idCancelBtn);
    }
    EXPECT_EQ(dialog->ShowModal(), c.told ? IDCANCEL : IDOK);
    if (c.told) {
      ASSERT_EQ(prompter.records.size(), 1u);
      EXPECT_EQ(prompter.records.back().text, c.told);
      EXPECT_EQ(options->ChangeInterval, 7);
      EXPECT_EQ(options->NextHotkey, ctrlAltN);
    } else {
      EXPECT_TRUE(prompter.records.empty());
      EXPECT_EQ(std::to_string(options->ChangeInterval), c.interval);
      EXPECT_EQ(options->ChangeIntervalUnit, c.unit);
      EXPECT_EQ(options->NextHotkey, c.hotkey);
    }
  }
}

TEST_F(OptionsDialog, ThePageLastChosenComesBackWithItsHints) {
  Start();
  Open(*options);
  EXPECT_EQ(dialog->Page(), 0);
  HWND pages = Item(idOptionsPageControl);
  ShowPage(2);
  Key(pages, VK_ESCAPE);
  dialog->ShowModal();
  EXPECT_EQ(dialog->Page(), 2);
  Key(pages, VK_ESCAPE);
  dialog->ShowModal();
  EXPECT_EQ(dialog->Page(), 2);
  // The page's controls are the ones shown (the dialog itself is hidden).
  EXPECT_NE(GetWindowLongA(Item(idStoreSizesCheckBox), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(GetWindowLongA(Item(idAutoRunCheckBox), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(dialog->HintText(idStoreSizesCheckBox), L"Подействует при следующем изменении файла");
  EXPECT_EQ(dialog->HintText(idShowExtensionCheckBox), L"Need restart");
}

}  // namespace
}  // namespace seltane
