// The fullscreen preview over the main window of this process: what it draws
// for each style and for no picture, its keys, wheel and clicks as posted
// messages, and the message boxes raised while it shows.
#include "mainwindow/FullscreenPreview.h"

#include "platform/Win32Prompter.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/TestJpeg.h"

namespace seltane {
namespace {

constexpr uint32_t Colour = 0x336699;  // the fixture's pictures

class Fullscreen : public MainWindow {
 protected:
  void Open() {
    Start();
    preview = std::make_unique<TFullscreenPreviewForm>(*form);
    ASSERT_TRUE(preview->Create());
  }
  void SetStyleBox(int style) {
    SendMessageA(GetDlgItem(form->Handle(), idStyleComboBox), CB_SETCURSEL, style, 0);
  }
  void PostKey(WPARAM key) {
    PostMessageA(preview->Image(), WM_KEYDOWN, key, 1);
    PostMessageA(preview->Image(), WM_KEYUP, key, 0xC0000001);
  }
  void PostWheel(int delta) {
    PostMessageA(preview->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
  }
  void PostClick(UINT down, UINT up) {
    PostMessageA(preview->Image(), down, 0, MAKELPARAM(10, 10));
    PostMessageA(preview->Image(), up, 0, MAKELPARAM(10, 10));
  }
  uint32_t Centre() const {
    return preview->PixelAt(preview->ScreenSize().width / 2, preview->ScreenSize().height / 2);
  }
  uint32_t Corner() const { return preview->PixelAt(0, 0); }
  // The calls the recording common.dll saw, one a line.
  std::string Recorded() { return ReadWholeFile(folder / "record.txt").value_or(""); }

  void SetUp() override {
    SetEnvironmentVariableA("SELTANE_TEST_RECORD", (folder / "record.txt").c_str());
  }
  void TearDown() override {
    preview.reset();
    SetEnvironmentVariableA("SELTANE_TEST_RECORD", nullptr);
  }

  std::unique_ptr<TFullscreenPreviewForm> preview;
};

TEST_F(Fullscreen, DrawsTheSelectedRowAsTheWallpaperWillBeOverTheMainWindowsMonitor) {
  Open();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  // Row 0 is b.bmp, 4 x 3, tiled; row 1 A.bmp, 8 x 2, stretched; row 2
  // c c.bmp, 5 x 5, fit height: at its own size in the middle.
  struct Case {
    int row;
    int styleBox;  // as the user set it after selecting; -1: the row's own
    bool corner;
  };
  for (const Case& c : {Case{0, -1, true}, Case{1, -1, true}, Case{2, -1, false},
                        Case{1, wsCenter, false}, Case{2, wsStretch, true}}) {
    Select({c.row});
    if (c.styleBox >= 0) {
      SetStyleBox(c.styleBox);
    }
    preview->FormShow();
    SCOPED_TRACE(::testing::Message() << "row " << c.row << ", box " << c.styleBox);
    EXPECT_EQ(preview->DrawnRow(), c.row);
    EXPECT_EQ(preview->ScreenSize(),
              (LayoutSize{monitor.rcMonitor.right - monitor.rcMonitor.left,
                          monitor.rcMonitor.bottom - monitor.rcMonitor.top}));
    EXPECT_EQ(Centre(), Colour);
    EXPECT_EQ(Corner(), c.corner ? Colour : 0u);
  }
  EXPECT_EQ(preview->HintText(), L"Left button - exit, right button - set as wallpaper");
}

TEST_F(Fullscreen, DecodesThePictureAtTheSizeTheStyleNeedsNotThePanesReducedCopy) {
  // Fine stripes, which a JPEG reduced for the pane loses: drawn at its own
  // size on the screen they must still be there.
  const std::string stripes = testing::EncodeJpeg(600, 400, {}, [](int x, int, uint8_t* rgb) {
    rgb[0] = rgb[1] = rgb[2] = (x / 2) % 2 == 0 ? 0 : 255;
  });
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "stripes.jpg", stripes, error));
  WriteList("pics.lst", {{folder / "stripes.jpg", wsCenter}});
  Open();
  Select({0});
  ASSERT_LT(form->ShownPicture()->width, 600);
  preview->FormShow();
  const int left = (preview->ScreenSize().width - 600) / 2;
  const int y = preview->ScreenSize().height / 2;
  const uint32_t dark = preview->PixelAt(left + 1, y) & 0xFF;
  const uint32_t light = preview->PixelAt(left + 3, y) & 0xFF;
  EXPECT_LT(dark, 64u);
  EXPECT_GT(light, 192u);
}

TEST_F(Fullscreen, KeysAndTheWheelStepWithinTheListAndEnterAndEscClose) {
  Open();
  struct Case {
    int from;
    UINT message;  // a key or the wheel
    int value;     // the key, or how far the wheel turned (up: positive)
    int to;
  };
  const Case cases[] = {
      {0, WM_KEYDOWN, VK_DOWN, 1},
      {0, WM_KEYDOWN, VK_NEXT, 1},
      {1, WM_MOUSEWHEEL, -WHEEL_DELTA, 2},
      {2, WM_KEYDOWN, VK_DOWN, 2},
      {2, WM_KEYDOWN, VK_NEXT, 2},
      {2, WM_MOUSEWHEEL, -WHEEL_DELTA, 2},
      {2, WM_KEYDOWN, VK_UP, 1},
      {2, WM_KEYDOWN, VK_PRIOR, 1},
      {1, WM_MOUSEWHEEL, WHEEL_DELTA, 0},
      {0, WM_KEYDOWN, VK_UP, 0},
      {0, WM_KEYDOWN, VK_PRIOR, 0},
      {0, WM_MOUSEWHEEL, WHEEL_DELTA, 0},
      {1, WM_KEYDOWN, VK_LEFT, 1},
      {1, WM_MOUSEWHEEL, WHEEL_DELTA / 2, 1},
      {1, WM_MOUSEWHEEL, WHEEL_DELTA / 2, 0},  // the rest of the notch
  };
  for (const Case& c : cases) {
    Select({c.from});
    preview->FormShow();
    if (c.message == WM_KEYDOWN) {
      SendMessageA(preview->Image(), WM_KEYDOWN, c.value, 1);
    } else {
      SendMessageA(preview->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, c.value), 0);
    }
    SCOPED_TRACE(::testing::Message() << "from row " << c.from << ", " << c.value);
    EXPECT_EQ(form->SelectedRows(), std::vector<int>{c.to});
    EXPECT_EQ(preview->DrawnRow(), c.to);
  }
  form->ClearSelection();
  SendMessageA(preview->Image(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_TRUE(form->SelectedRows().empty());

  // Closed, the selected row has the focus mark again, whichever row had it.
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    Select({1});
    ListView_SetItemState(ListView(), 0, LVIS_FOCUSED, LVIS_FOCUSED);
    PostKey(key);
    preview->ShowModal();
    EXPECT_FALSE(IsWindowVisible(preview->Handle()));
    EXPECT_EQ(form->SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(form->FocusedRow(), 1);
    EXPECT_EQ(GetFocus(), ListView());
  }
}

TEST_F(Fullscreen, ARightClickSetsTheDrawnPictureAndAnyOtherClickOnlyCloses) {
  Open();
  Select({2});
  PostClick(WM_MBUTTONDOWN, WM_MBUTTONUP);
  preview->ShowModal();
  PostClick(WM_LBUTTONDOWN, WM_LBUTTONUP);
  preview->ShowModal();
  EXPECT_EQ(Recorded(), "");
  PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP);
  preview->ShowModal();
  EXPECT_EQ(Recorded(), "SetWallpaper 4 " + (folder / "c c.bmp") + "\n");
  EXPECT_EQ(options->LastWallpaper, folder / "c c.bmp");
  // With no style in the box the picture is set as it is shown: centred.
  SetStyleBox(-1);
  PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP);
  preview->ShowModal();
  EXPECT_EQ(Recorded(), "SetWallpaper 4 " + (folder / "c c.bmp") + "\nSetWallpaper 1 " +
                            (folder / "c c.bmp") + "\n");

  // Stepped onto a picture that is gone: the pane and the screen keep the
  // picture before, and a right click sets that one in its own style; the
  // next step goes on from the row stepped onto.
  options->DeleteNotExisting = false;
  DeleteFileA((folder / "b.bmp").c_str());
  Select({1});
  preview->FormShow();
  preview->FormKeyDown(VK_UP);
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(preview->DrawnRow(), 1);
  const std::string setBefore = Recorded();
  PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP);
  preview->ShowModal();
  EXPECT_EQ(Recorded(), setBefore + "SetWallpaper 0 " + (folder / "A.bmp") + "\n");
  preview->FormKeyDown(VK_DOWN);
  EXPECT_EQ(form->SelectedRows(), std::vector<int>{1});
}

TEST_F(Fullscreen, AfterASortAndWithSeveralRowsSelectedItDrawsSetsAndStepsFromThePanesPicture) {
  constexpr uint32_t Red = 0xCC0000;
  testing::WriteBitmap(folder / "b.bmp", 4, 3, Red);
  Open();
  Select({0});                               // b.bmp, tiled
  form->KelListViewColumnClick(lcFileName);  // A.bmp, b.bmp, c c.bmp
  EXPECT_EQ(form->StatusText(0), "2/3");
  preview->FormShow();
  EXPECT_EQ(preview->DrawnRow(), 1);
  EXPECT_EQ(Corner(), Red);
  PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP);
  preview->ShowModal();
  EXPECT_EQ(Recorded(), "SetWallpaper 2 " + (folder / "b.bmp") + "\n");

  // Selected in turn, the last row selected is in the pane: it is drawn,
  // set, and stepped from.
  struct Case {
    std::vector<int> rows;
    int shown;
    std::string set;
    std::vector<int> afterDown;
  };
  for (const Case& c : {Case{{1, 2}, 2, "4 " + (folder / "c c.bmp"), {1, 2}},
                        Case{{2, 0}, 0, "0 " + (folder / "A.bmp"), {1}}}) {
    SCOPED_TRACE(c.set);
    Select(c.rows);
    preview->FormShow();
    EXPECT_EQ(preview->DrawnRow(), c.shown);
    EXPECT_EQ(Centre(), Colour);
    const std::string before = Recorded();
    PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP);
    preview->ShowModal();
    EXPECT_EQ(Recorded(), before + "SetWallpaper " + c.set + "\n");
    EXPECT_EQ(form->FocusedRow(), c.shown);
    preview->FormKeyDown(VK_DOWN);
    EXPECT_EQ(form->SelectedRows(), c.afterDown);
  }
}

TEST_F(Fullscreen, WithoutAPictureEveryStyleIsBlackAndTheKeysStillWork) {
  const std::string broken = folder / "broken.jpg";
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(
      broken, testing::EncodeJpeg(64, 64, {}, [](int, int, uint8_t*) {}).substr(0, 300), error));
  for (const bool empty : {true, false}) {
    SCOPED_TRACE(empty ? "an empty list" : "a picture that failed to load");
    WriteList("pics.lst", empty ? std::vector<std::pair<std::string, uint8_t>>{}
                                : std::vector<std::pair<std::string, uint8_t>>{{broken, 0}});
    Open();
    for (int style = -1; style <= wsFitScreen; ++style) {
      SetStyleBox(style);
      preview->FormShow();
      EXPECT_EQ(preview->DrawnRow(), -1) << style;
      EXPECT_EQ(Centre(), 0u) << style;
    }
    for (WPARAM key : {VK_DOWN, VK_UP, VK_NEXT}) {
      PostKey(key);
    }
    PostWheel(-WHEEL_DELTA);
    PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP);
    preview->ShowModal();
    EXPECT_EQ(Recorded(), "");
    preview.reset();
    form.reset();
  }
}

// Notes what it drew as it closes.
class InspectedFullscreen : public TFullscreenPreviewForm {
 public:
  using TFullscreenPreviewForm::TFullscreenPreviewForm;
  int drawnRow = -1;
  uint32_t centre = 0;

 protected:
  void OnHidden() override {
    drawnRow = DrawnRow();
    centre = PixelAt(ScreenSize().width / 2, ScreenSize().height / 2);
    TFullscreenPreviewForm::OnHidden();
  }
};

TEST_F(Fullscreen, ALargeCentredPictureIsKeptReducedAndTheScreenGetsThePartItShows) {
  // Centred at its own size it would take more than a copy may.
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "big.jpg",
                                 testing::EncodeJpeg(6000, 3000, {},
                                                     [](int, int, uint8_t* rgb) {
                                                       rgb[0] = 0x33;
                                                       rgb[1] = 0x66;
                                                       rgb[2] = 0x99;
                                                     }),
                                 error));
  WriteList("pics.lst", {{folder / "b.bmp", wsCenter}, {folder / "big.jpg", wsCenter}});
  Start();
  InspectedFullscreen over(*form);
  ASSERT_TRUE(over.Create());
  Select({0});
  PostMessageA(over.Image(), WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(over.Image(), WM_KEYDOWN, VK_ESCAPE, 1);
  over.ShowModal();
  EXPECT_EQ(over.drawnRow, 1);
  EXPECT_NEAR(static_cast<int>(over.centre & 0xFF), 0x99, 4);
  const auto& shown = form->ShownPicture();
  ASSERT_NE(shown, nullptr);
  EXPECT_LE(static_cast<uint64_t>(shown->width) * shown->height, PreviewCopyPixels);
}

// Notes the window each message box would be owned by.
class OwnerRecordingPrompter : public testing::ScriptedPrompter {
 public:
  PromptAnswer Ask(const std::string& text, const std::string& caption, PromptButtons buttons,
                   PromptIcon icon) override {
    owners.push_back(PromptOwnerWindow());
    return ScriptedPrompter::Ask(text, caption, buttons, icon);
  }
  std::vector<HWND> owners;
};

// A window of another program, in effect: it takes the activation when it
// is sent WM_APP.
LRESULT CALLBACK ActivateOnRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    SetActiveWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Fullscreen, MessageBoxesRaisedWhileItShowsAreOwnedByIt) {
  options->DeleteConfirm = false;
  OwnerRecordingPrompter ownerPrompter;
  form = std::make_unique<TForm1>(MainWindowServices{*options,
                                                     ownerPrompter,
                                                     dialogs,
                                                     {RecordingLibraryPath, RecordingLibraryPath},
                                                     false,
                                                     folder / "program"});
  ASSERT_TRUE(form->Create());
  TFullscreenPreviewForm over(*form);
  ASSERT_TRUE(over.Create());
  WNDCLASSA otherClass{};
  otherClass.lpfnWndProc = ActivateOnRequest;
  otherClass.hInstance = GetModuleHandleA(nullptr);
  otherClass.lpszClassName = "SeltaneTestOtherProgram";
  RegisterClassA(&otherClass);
  HWND other = CreateWindowExA(0, otherClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, otherClass.hInstance, nullptr);
  Select({1});
  DeleteFileA((folder / "c c.bmp").c_str());
  // Another window is active when the wheel or a key steps onto the
  // missing picture.
  PostMessageA(other, WM_APP, 0, 0);
  PostMessageA(over.Image(), WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(over.Image(), WM_KEYDOWN, VK_ESCAPE, 1);
  over.ShowModal();
  ASSERT_EQ(ownerPrompter.records.size(), 1u);
  EXPECT_EQ(ownerPrompter.records[0].text, "Picture " + (folder / "c c.bmp") + " not found");
  EXPECT_EQ(ownerPrompter.owners[0], over.Handle());
  EXPECT_EQ(RowCount(), 2);  // removed, as the options say
  EXPECT_NE(PromptOwnerWindow(), over.Handle());
  DestroyWindow(other);
}

}  // namespace
}  // namespace seltane
