// The about box: the program's name, the version of kel.exe's own version
// resource, the Windows family it runs on, and the maker's lines and
// contacts, the web page and the mail address being links that the shell
// opens.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "ui/ModalDialog.h"

namespace seltane {

enum AboutBoxControl {
  idProductName = 100,
  idVersionCaption,
  idVersionNumberLabel,
  idWinVersionCaption,
  idWinVersionLabel,
  idMakerLine1,
  idMakerLine2,
  idLabel8,  // the web page
  idLabel6,  // the mail address
  idAboutOKBtn = IDOK,
};

inline constexpr const char* AboutCaption = "About";
inline constexpr const char* UnknownVersionText = "0.0.0.0";
inline constexpr const char* Win9xFamilyText = "9x/me";
inline constexpr const char* NtFamilyText = "nt/2k/xp";
inline constexpr const char* MakerWebPage = "https://seltane.invalid/";
inline constexpr const char* MakerMailAddress = "seltane@seltane.invalid";
// What the shell opens for the mail link: this, then the label's text.
inline constexpr const char* MailLinkPrefix = "mailto: ";
inline constexpr COLORREF LinkColour = RGB(0, 128, 128);  // teal

struct AboutBoxServices {
  bool win9xFamily = false;
  std::string programFile;  // the file whose version the box shows: kel.exe
  // Opens an address through the shell; none: the shell's "open" itself.
  std::function<void(const std::string& address)> openLink = nullptr;
};

class TAboutBox : public ModalDialog {
 public:
  explicit TAboutBox(AboutBoxServices services) : services_(std::move(services)) {}

  // Creates the hidden box, owned by `owner`, and fills it (FormCreate);
  // false on failure.
  bool Create(HWND owner);

  // ---- Handlers, named after their controls
  void FormCreate();
  void Label6Click();  // the mail address
  void Label8Click();  // the web page
  // Over either link the cursor is the hand, over the rest of the box the
  // arrow.
  void Label6MouseMove();
  void FormMouseMove();
  void OKBtnClick();

  std::string Text(int id) const;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool IsLink(HWND control) const;
  void Open(const std::string& address);

  AboutBoxServices services_;
};

}  // namespace seltane
