// The about box over the main window of this process: the version read from
// kel.exe's own resource, the Windows family, the links, and its button.
#include "mainwindow/Unit2.h"

#include "Version.h"
#include "tests/mainwindow/MainWindowFixture.h"

namespace seltane {
namespace {

TEST_F(MainWindow, TheAboutBoxShowsKelsVersionAndOpensItsLinks) {
  Start();
  std::vector<std::string> opened;
  TAboutBox box(
      {false, SELTANE_KEL_EXE, [&](const std::string& address) { opened.push_back(address); }});
  ASSERT_TRUE(box.Create(form->Handle()));
  EXPECT_EQ(box.Text(idVersionNumberLabel), std::to_string(SELTANE_VERSION_MAJOR) + "." +
                                                std::to_string(SELTANE_VERSION_MINOR) + "." +
                                                std::to_string(SELTANE_VERSION_PATCH) + ".0");
  EXPECT_EQ(box.Text(idWinVersionLabel), "nt/2k/xp");

  for (int id : {idLabel6, idLabel8}) {
    SendMessageA(box.Handle(), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.Handle(), id)));
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"mailto: seltane@seltane.invalid",
                                              "https://seltane.invalid/"}));

  // The links are teal and underlined, with the hand over them; the rest of
  // the box has the arrow.
  HDC dc = CreateCompatibleDC(nullptr);
  for (int id : {idLabel6, idLabel8, idMakerLine1}) {
    const bool link = id != idMakerLine1;
    HWND label = GetDlgItem(box.Handle(), id);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(box.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetTextColor(dc) == RGB(0, 128, 128), link) << id;
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfUnderline != 0, link) << id;
    SendMessageA(box.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, link ? IDC_HAND : IDC_ARROW)) << id;
  }
  DeleteDC(dc);

  // OK is the default and the cancel button.
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageA(GetDlgItem(box.Handle(), IDOK), WM_KEYDOWN, key, 1);
    EXPECT_EQ(box.ShowModal(), IDOK) << key;
  }

  // A program file without a version resource leaves the version unknown.
  TAboutBox plain({true, folder / "b.bmp"});
  ASSERT_TRUE(plain.Create(form->Handle()));
  EXPECT_EQ(plain.Text(idVersionNumberLabel), "0.0.0.0");
  EXPECT_EQ(plain.Text(idWinVersionLabel), "9x/me");
}

}  // namespace
}  // namespace seltane
