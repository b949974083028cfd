#include "mainwindow/Unit2.h"

#include <shellapi.h>

#include "mainwindow/MainTexts.h"
#include "platform/System.h"

namespace seltane {
namespace {

constexpr DWORD Label = SS_LEFT | SS_NOPREFIX;
constexpr DWORD Link = Label | SS_NOTIFY;

// The box as designed at 96 DPI: the name large at the top, the facts in two
// columns, the maker's lines and links, OK at the bottom.
const DialogControl AboutControls[] = {
    {idProductName, "STATIC", MainCaption, Label, {16, 12, 260, 28}},
    {idVersionCaption, "STATIC", "version", Label, {16, 50, 76, 16}},
    {idVersionNumberLabel, "STATIC", UnknownVersionText, Label, {96, 50, 180, 16}},
    {idWinVersionCaption, "STATIC", "working on", Label, {16, 68, 76, 16}},
    {idWinVersionLabel, "STATIC", "", Label, {96, 68, 180, 16}},
    {idMakerLine1, "STATIC", "A wallpaper changer for Windows", Label, {16, 96, 260, 16}},
    {idMakerLine2, "STATIC", "by the Seltane project", Label, {16, 114, 260, 16}},
    {idLabel8, "STATIC", MakerWebPage, Link, {16, 140, 260, 16}},
    {idLabel6, "STATIC", MakerMailAddress, Link, {16, 158, 260, 16}},
    {idAboutOKBtn, "BUTTON", "OK", WS_TABSTOP, {108, 188, 75, 25}},
};

}  // namespace

bool TAboutBox::Create(HWND owner) {
  DialogFrame frame;
  frame.className = "SeltaneAboutBox";
  frame.caption = AboutCaption;
  frame.client = {292, 225};
  if (!CreateDialogWindow(owner, frame, AboutControls)) {
    return false;
  }
  SetControlFont(Control(idProductName), 14);
  SetControlFont(Control(idLabel8), 8, true);
  SetControlFont(Control(idLabel6), 8, true);
  SetDefaultButton(idAboutOKBtn);
  SetCancelButton(idAboutOKBtn);
  FormCreate();
  return true;
}

void TAboutBox::FormCreate() {
  if (const auto version = FileVersion(services_.programFile)) {
    SetWindowTextA(Control(idVersionNumberLabel), version->c_str());
  }
  SetWindowTextA(Control(idWinVersionLabel),
                 services_.win9xFamily ? Win9xFamilyText : NtFamilyText);
}

void TAboutBox::Label6Click() {
  Open(MailLinkPrefix + Text(idLabel6));
}

void TAboutBox::Label8Click() {
  Open(Text(idLabel8));
}

void TAboutBox::Open(const std::string& address) {
  if (services_.openLink) {
    services_.openLink(address);
  } else {
    ShellExecuteA(Handle(), "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

void TAboutBox::Label6MouseMove() {
  SetCursor(LoadCursorA(nullptr, IDC_HAND));
}

void TAboutBox::FormMouseMove() {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void TAboutBox::OKBtnClick() {
  EndModal(IDOK);
}

std::string TAboutBox::Text(int id) const {
  char text[256] = {};
  GetWindowTextA(Control(id), text, sizeof text);
  return text;
}

bool TAboutBox::IsLink(HWND control) const {
  return control != nullptr && (control == Control(idLabel6) || control == Control(idLabel8));
}

void TAboutBox::OnCommand(int id, int code, HWND) {
  if (id == idAboutOKBtn && code == BN_CLICKED) {
    OKBtnClick();
  } else if (id == idLabel6 && code == STN_CLICKED) {
    Label6Click();
  } else if (id == idLabel8 && code == STN_CLICKED) {
    Label8Click();
  }
}

LRESULT TAboutBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      // Asked first by the control under the mouse, then by the box itself.
      if (LOWORD(lParam) != HTCLIENT) {
        break;
      }
      if (IsLink(reinterpret_cast<HWND>(wParam))) {
        Label6MouseMove();
      } else {
        FormMouseMove();
      }
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      const LRESULT brush = ModalDialog::OnMessage(message, wParam, lParam);
      if (IsLink(reinterpret_cast<HWND>(lParam))) {
        SetTextColor(reinterpret_cast<HDC>(wParam), LinkColour);
      }
      return brush;
    }
    default:
      break;
  }
  return ModalDialog::OnMessage(message, wParam, lParam);
}

}  // namespace seltane
