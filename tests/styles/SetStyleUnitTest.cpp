// The set-style dialog over the main window in this process, driven by its
// controls' messages, with scripted message boxes.
#include "styles/SetStyleUnit.h"

#include <algorithm>

#include "tests/mainwindow/MainWindowFixture.h"
#include "ui/Layout.h"

namespace seltane {
namespace {

using Form = TSetStyleForm;
using Lines = std::vector<std::string>;
constexpr PromptAnswer Yes = PromptAnswer::Yes, No = PromptAnswer::No,
                       Cancel = PromptAnswer::Cancel;
const std::string DimsHeader = ";kel dims file\r\n;Don't modify this file\r\n";

class SetStyle : public MainWindow {
 protected:
  SetStyle() { rules = &sizeRules; }
  ~SetStyle() override { dialog.reset(); }

  // The main window, then the dialog over it, as at program start.
  void Open(const std::optional<std::string>& dims) {
    if (dims) {
      std::string error;
      ASSERT_TRUE(WriteFileReplacing(folder / "dims.dat", *dims, error));
    }
    if (!form) {
      Start();
    }
    dialog = std::make_unique<Form>(
        SetStyleServices{*options, prompter, sizeRules, *form, folder.Path()});
    ASSERT_TRUE(dialog->Create());
  }
  static int Box(int style) { return Form::idStyleCheckBox + style; }
  static int All(int style) { return Form::idAllRadioButton + style; }
  static int ListId(int style) { return Form::idDimListBox + style; }
  HWND Item(int id) { return GetDlgItem(dialog->Handle(), id); }
  void Click(int id) {
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(id)));
  }
  bool Checked(int id) { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The system tells the dialog of a mouse press in a list, then the list
  // takes it.
  void Press(uint8_t style) {
    RECT list{};
    GetWindowRect(Item(ListId(style)), &list);
    POINT centre{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
    ScreenToClient(dialog->Handle(), &centre);
    SendMessageA(dialog->Handle(), WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(centre.x, centre.y));
  }
  void SelectLine(uint8_t style, int line) {
    SendMessageA(Item(ListId(style)), LB_SETCURSEL, line, 0);
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(ListId(style), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(ListId(style))));
  }
  void Type(std::array<const char*, 4> fields) {
    for (int i = 0; i < 4; ++i) {
      SetWindowTextA(Item(Form::idXSizeStartEdit + 2 * i), fields[i]);
    }
  }
  std::array<std::string, 4> Fields() {
    std::array<std::string, 4> texts;
    for (int i = 0; i < 4; ++i) {
      char text[32] = {};
      GetWindowTextA(Item(Form::idXSizeStartEdit + 2 * i), text, sizeof text);
      texts[i] = text;
    }
    return texts;
  }
  Lines ListLines(uint8_t style) {
    HWND list = Item(ListId(style));
    Lines lines;
    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
      char text[64] = {};
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      lines.push_back(text);
    }
    return lines;
  }
  int Selected(uint8_t style) {
    return static_cast<int>(SendMessageA(Item(ListId(style)), LB_GETCURSEL, 0, 0));
  }
  // Each list box shows its rules line for line; gives the rules of one.
  Lines Rules(uint8_t style) {
    for (uint8_t s = 0; s < WallpaperStyleCount; ++s) {
      Lines held;
      for (const TDim& dim : sizeRules.dims.Lists[s]) {
        held.push_back(dim.Text);
      }
      EXPECT_EQ(ListLines(s), held) << "style " << int(s);
    }
    return ListLines(style);
  }
  std::vector<std::string> Told() {
    std::vector<std::string> texts;
    for (const auto& record : prompter.records) {
      texts.push_back(record.text);
    }
    prompter.records.clear();
    return texts;
  }

  SizeRules sizeRules;
  std::unique_ptr<Form> dialog;
};

TEST_F(SetStyle, EachStoredModeShowsOneRadioAndComesBackAtTheEnd) {
  for (const uint8_t stored : {0, 1, 2, 3, 4, 5, 6, 9}) {
    options->StyleStretch = options->StyleTile = options->StyleFitHeight = true;
    options->StyleCenter = options->StyleFitWidth = options->StyleFitWindow = false;
    options->AutoStyleType = stored;
    options->StyleCheckCrossIncluding = false;
    options->StyleSetForNew = false;
    Open(std::nullopt);
    const bool all = stored >= 1 && stored <= 6;
    EXPECT_EQ(Checked(Form::idChooseDimRadioButton), !all) << int(stored);
    for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
      EXPECT_EQ(Checked(All(style)), stored == style + 1) << int(stored);
      EXPECT_EQ(Checked(Box(style)), !all && style % 2 == 0) << int(stored);
    }
    EXPECT_FALSE(Checked(Form::idCrossIncludeCheckBox));
    EXPECT_FALSE(Checked(Form::idSetForNewCheckBox));

    dialog->FormDestroy();
    const TOptions reread({registry, prompter, [this] { return folder.Path(); }, false});
    EXPECT_EQ(reread.AutoStyleType, stored);
    EXPECT_EQ(reread.StyleStretch, !all);  // an "all" mode stores every flag off
    EXPECT_FALSE(reread.StyleCenter);
    EXPECT_FALSE(reread.StyleCheckCrossIncluding);
    EXPECT_FALSE(reread.StyleSetForNew);
  }
  // Whatever is pressed, exactly one of the seven is on.
  for (int id : {All(2), All(5), int{Form::idChooseDimRadioButton}, All(0)}) {
    Click(id);
    int on = Checked(Form::idChooseDimRadioButton);
    for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
      on += Checked(All(style));
    }
    EXPECT_EQ(on, 1);
    EXPECT_TRUE(Checked(id));
  }
}

TEST_F(SetStyle, RuleListsStayLineForLineWithTheRules) {
  Open(DimsHeader + "[Stretch]\r\n1024 x 768\r\n[Center]\r\n800 x 600\r\n" +
       "[Tile]\r\n32 - 200 x 32 - 200\r\n");
  EXPECT_EQ(Rules(wsTile), Lines{"32 - 200 x 32 - 200"});
  Click(Form::idAddBtn);
  EXPECT_EQ(Told(), Lines{"First field cannot be empty"});

  // The editing row moves beside the tile list; 800 x 600 is asked about
  // three times; the center rule goes.
  Press(wsTile);
  RECT list{}, add{};
  GetWindowRect(Item(ListId(wsTile)), &list);
  GetWindowRect(Item(Form::idAddBtn), &add);
  EXPECT_EQ(add.top - list.top, ScaleToDpi(24, dialog->Dpi()));
  Type({"800", "", "600", ""});
  prompter.answers = {No, Yes, Yes};
  Click(Form::idAddBtn);
  EXPECT_EQ(Told(), (Lines{"This image size includes 800 x 600. Delete?",
                           "This image size is including 800 x 600. Add anyway?",
                           "This image size crossing 800 x 600. Delete?"}));
  EXPECT_EQ(Rules(wsCenter), Lines{});
  EXPECT_EQ(Rules(wsTile), (Lines{"32 - 200 x 32 - 200", "800 x 600"}));

  // Insert in the focused center list still adds beside the editing row.
  Type({"640", "", "480", ""});
  SendMessageA(Item(ListId(wsCenter)), WM_KEYDOWN, VK_INSERT, 1);
  EXPECT_EQ(Rules(wsTile), (Lines{"32 - 200 x 32 - 200", "640 x 480", "800 x 600"}));

  // A Yes, then Cancel: the first rule stays deleted, nothing is added.
  Type({"0", "2000", "0", "2000"});
  prompter.answers = {Yes, Cancel};
  Click(Form::idAddBtn);
  EXPECT_EQ(Told().size(), 2u);
  EXPECT_EQ(Rules(wsStretch), Lines{});
  EXPECT_EQ(Rules(wsTile), (Lines{"32 - 200 x 32 - 200", "640 x 480", "800 x 600"}));

  // Change: the selected rule fills the row and moves to its sorted place,
  // still selected; with nothing selected Change asks and does nothing.
  Click(Form::idCrossIncludeCheckBox);  // no questions from here on
  EXPECT_FALSE(sizeRules.StyleCheckCrossIncluding);
  SelectLine(wsTile, 0);
  EXPECT_EQ(Fields(), (std::array<std::string, 4>{"32", "200", "32", "200"}));
  Type({"900", "", "700", ""});
  Click(Form::idModifyBtn);
  EXPECT_EQ(Rules(wsTile), (Lines{"640 x 480", "800 x 600", "900 x 700"}));
  EXPECT_EQ(Selected(wsTile), 2);
  Click(Form::idCrossIncludeCheckBox);  // 900 x 700 is held: a change would ask
  SendMessageA(Item(ListId(wsTile)), LB_SETCURSEL, -1, 0);
  Click(Form::idModifyBtn);
  Click(Form::idDeleteBtn);
  EXPECT_EQ(Rules(wsTile), (Lines{"640 x 480", "800 x 600", "900 x 700"}));

  // Delete selects the line that took the deleted one's place, or the one
  // before it at the end; the Delete key works as the button.
  SelectLine(wsTile, 2);
  SendMessageA(Item(ListId(wsTile)), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(Rules(wsTile), (Lines{"640 x 480", "800 x 600"}));
  EXPECT_EQ(Selected(wsTile), 1);
  SelectLine(wsTile, 0);
  Click(Form::idDeleteBtn);
  Click(Form::idDeleteBtn);
  EXPECT_EQ(Rules(wsTile), Lines{});
  EXPECT_EQ(Selected(wsTile), LB_ERR);
  EXPECT_TRUE(Told().empty());
}

TEST_F(SetStyle, DimsFileIsWrittenWhenTheDialogClosesAfterAChange) {
  const std::string dims = folder / "dims.dat";
  Open(DimsHeader + "[Tile]\r\n800 x 600\r\n");
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(dims, "untouched", error));
  // Delete and Change with nothing selected change nothing: nothing is
  // written at close.
  Press(wsStretch);
  Type({"1", "", "1", ""});
  Click(Form::idDeleteBtn);
  Click(Form::idModifyBtn);
  Click(Form::idCancelBtn);
  EXPECT_EQ(ReadWholeFile(dims), "untouched");

  // A write that fails at close is told; the change waits for the next close.
  Click(Form::idAddBtn);
  ASSERT_TRUE(DeleteFileA(dims.c_str()) && CreateDirectoryA(dims.c_str(), nullptr));
  PostMessageA(Item(Form::idXSizeStartEdit), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(dialog->ShowModal(), IDCANCEL);
  const Lines told = Told();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].rfind("The size rules could not be written:\n" + dims, 0), 0u) << told[0];
  ASSERT_TRUE(RemoveDirectoryA(dims.c_str()));
  PostMessageA(Item(Form::idXSizeStartEdit), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(dialog->ShowModal(), IDCANCEL);
  EXPECT_EQ(ReadWholeFile(dims), DimsHeader + "[Stretch]\r\n1 x 1\r\n[Tile]\r\n800 x 600\r\n");
  EXPECT_EQ(Told(), Lines{});

  // Nothing is left unsaved for the end of the run.
  ASSERT_TRUE(WriteFileReplacing(dims, "untouched", error));
  dialog->FormDestroy();
  EXPECT_EQ(ReadWholeFile(dims), "untouched");
}

// Posted to a control: a mouse press that ends outside it, which gives it
// the focus without clicking it, then keys.
void FocusAndPress(HWND control, std::initializer_list<WPARAM> keys) {
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
  for (WPARAM key : keys) {
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
  }
}

TEST_F(SetStyle, EnterPressesTheFocusedButtonAndAddFromTheEdits) {
  Open(DimsHeader + "[Stretch]\r\n1 x 1\r\n2 x 2\r\n");
  Told();
  Click(Form::idCrossIncludeCheckBox);  // off: no questions
  Press(wsStretch);
  struct Case {
    int focused;
    const char* field;  // typed into the first and third edits
    Lines rules;
    bool listStyled;
  };
  const Case cases[] = {
      {Form::idYSizeEndEdit, "5", {"1 x 1", "2 x 2", "5 x 5"}, false},
      {Form::idModifyBtn, "6", {"2 x 2", "5 x 5", "6 x 6"}, false},
      {Form::idDeleteBtn, "7", {"5 x 5", "6 x 6"}, false},
      {Form::idSetBtn, "8", {"5 x 5", "6 x 6"}, true},
      {Form::idCancelBtn, "9", {"5 x 5", "6 x 6"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focused);
    SelectLine(wsStretch, 0);
    Type({c.field, "", c.field, ""});
    form->list.ListChanged = false;
    FocusAndPress(Item(c.focused), {VK_RETURN});
    PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);  // ends the dialog whatever Enter did
    EXPECT_EQ(dialog->ShowModal(), IDCANCEL);
    MSG left;
    while (PeekMessageA(&left, dialog->Handle(), 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(Rules(wsStretch), c.rules);
    EXPECT_EQ(form->list.ListChanged, c.listStyled);
  }
  EXPECT_EQ(Told(), Lines{});
}

TEST_F(SetStyle, SetForAllListGivesTheFocusBackToItsButton) {
  Open(DimsHeader + "[Center]\r\n4 x 3\r\n");
  Told();
  Type({"9", "", "9", ""});
  // Space presses the button; from it Tab reaches Close, which Enter
  // presses. From the dialog itself Tab would reach a control whose Enter
  // is Add.
  FocusAndPress(Item(Form::idSetBtn), {VK_SPACE, VK_TAB, VK_RETURN});
  PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), IDCANCEL);
  MSG left;
  while (PeekMessageA(&left, dialog->Handle(), 0, 0, PM_REMOVE)) {
  }
  EXPECT_EQ(RowText(0, lcStyle), "center");  // the pass ran, by size
  EXPECT_EQ(Rules(wsStretch), Lines{});
  EXPECT_EQ(Told(), Lines{});
}

TEST_F(SetStyle, SetForAllListStylesTheRowsAndShowsTheSelectedStyle) {
  // The pictures: b.bmp 4x3 (tile), A.bmp 8x2 (stretch), c c.bmp 5x5 (fit
  // height), whose file goes missing.
  Open(DimsHeader + "[Center]\r\n4 x 3\r\n[Fit Width]\r\n0 - 9 x 0 - 9\r\n");
  Told();
  DeleteFileA((folder / "c c.bmp").c_str());
  Select({0});
  form->list.ListChanged = false;
  Click(Box(wsFitWidth));  // off: center and the others
  Click(Form::idSetBtn);
  EXPECT_EQ(form->list.ListChanged, true);
  EXPECT_EQ(Told(), Lines{});
  // Nothing checked matched A.bmp, and c c.bmp could not be read.
  EXPECT_EQ(RowText(0, lcStyle), "center");
  EXPECT_EQ(RowText(1, lcStyle), "stretch");
  EXPECT_EQ(RowText(2, lcStyle), "fit height");
  EXPECT_EQ(form->StyleBoxIndex(), wsCenter);
  EXPECT_NE(GetWindowLongA(Item(Form::idSetBtn), GWL_STYLE) & WS_VISIBLE, 0);  // back

  // Selected with its file missing, c c.bmp is not removed by the pass.
  options->DeleteNotExisting = false;
  Select({2});
  options->DeleteNotExisting = true;
  Click(All(wsFitScreen));
  Click(Form::idSetBtn);
  EXPECT_EQ(RowCount(), 3);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(RowText(row, lcStyle), "fit screen");
  }
  EXPECT_EQ(form->StyleBoxIndex(), wsFitScreen);
}

TEST_F(SetStyle, CloseWhileSetForAllListRunsStopsItBetweenPicturesAndCloses) {
  Open(DimsHeader + "[Center]\r\n4 x 3\r\n");
  Told();
  Type({"1", "", "1", ""});
  Click(Form::idAddBtn);  // a change, written when the dialog closes
  // Enough pictures (b.bmp, 4 x 3) for the pass to handle messages on its
  // way.
  std::vector<kelWide>& pictures = form->list.PictureList;
  pictures.assign(20000, pictures[0]);
  for (kelWide& picture : pictures) {
    picture.Style = wsTile;
  }
  form->RefreshRows();
  PostMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(Form::idSetBtn, BN_CLICKED),
               reinterpret_cast<LPARAM>(Item(Form::idSetBtn)));
  PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), IDCANCEL);

  // The pictures before the stop are restyled, those after it untouched.
  const auto stop = std::find_if(pictures.begin(), pictures.end(),
                                 [](const kelWide& picture) { return picture.Style != wsCenter; });
  EXPECT_NE(stop, pictures.begin());
  ASSERT_NE(stop, pictures.end());
  EXPECT_TRUE(std::all_of(stop, pictures.end(),
                          [](const kelWide& picture) { return picture.Style == wsTile; }));
  EXPECT_EQ(RowText(0, lcStyle), "center");
  EXPECT_EQ(RowText(static_cast<int>(stop - pictures.begin()), lcStyle), "tile");
  EXPECT_NE(GetWindowLongA(Item(Form::idSetBtn), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(ReadWholeFile(folder / "dims.dat"),
            DimsHeader + "[Stretch]\r\n1 x 1\r\n[Center]\r\n4 x 3\r\n");
  EXPECT_EQ(Told(), Lines{});
}

TEST_F(SetStyle, AddedPicturesTakeTheSettingsAtOnce) {
  options->StyleSetForNew = true;
  Open(DimsHeader + "[Fit Height]\r\n4 x 3\r\n");
  Told();
  Click(All(wsCenter));
  ASSERT_TRUE(form->AddPictureEntry(folder / "b.bmp", wsStretch));
  Click(Form::idChooseDimRadioButton);
  Click(Box(wsFitHeight));
  ASSERT_TRUE(form->AddPictureEntry(folder / "b.bmp", wsStretch));
  Click(Form::idSetForNewCheckBox);
  ASSERT_TRUE(form->AddPictureEntry(folder / "b.bmp", wsTile));
  const auto& pictures = form->list.PictureList;
  ASSERT_EQ(pictures.size(), 6u);
  EXPECT_EQ(pictures[3].Style, wsCenter);
  EXPECT_EQ(pictures[4].Style, wsFitHeight);
  EXPECT_EQ(pictures[5].Style, wsTile);
  EXPECT_FALSE(options->StyleSetForNew);
}

}  // namespace
}  // namespace seltane
