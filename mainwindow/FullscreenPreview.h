// The fullscreen preview: the preview pane's picture over the whole monitor
// the main window is on, laid out exactly as the wallpaper will be in the
// style the style box shows, composed in one screen-sized bitmap and shown
// at once. The keys and the wheel step through the main window's list, a
// right click sets the picture as wallpaper, and any click closes.
//
// It keeps no list of its own: it draws the main window's preview picture
// (decoded larger when the pane's copy is reduced) and steps by selecting
// rows in the main window's list. While it shows, the preview pane decodes
// pictures large enough for it too, and tells it of each picture it shows
// before it buffers the next row.
#pragma once

#include <memory>
#include <string>

#include "mainwindow/PreviewPane.h"
#include "ui/FrameBitmap.h"
#include "ui/Hints.h"
#include "ui/ModalDialog.h"

namespace seltane {

class TForm1;
class FullscreenImage;

inline constexpr int idImage1 = 1;
inline constexpr const wchar_t* Image1Hint = L"Left button - exit, right button - set as wallpaper";

class TFullscreenPreviewForm : public ModalDialog, private PreviewFollower {
 public:
  explicit TFullscreenPreviewForm(TForm1& main);
  ~TFullscreenPreviewForm() override;

  // Creates the hidden window, owned by the main window; false on failure.
  bool Create();

  // ---- Handlers

  // Draws the picture the preview pane shows, of the row it belongs to
  // (the focused one of several selected); black when the pane shows no
  // row's picture.
  void FormShow();
  void FormKeyDown(unsigned key);
  void FormMouseWheelDown();
  void FormMouseWheelUp();
  // Any button closes the window once it is released; the right one first
  // sets the drawn picture as wallpaper.
  void Image1MouseDown(bool rightButton);
  void Image1MouseUp();
  // Lets the composed screen go and gives the list the focus on the
  // selected row.
  void FormClose();

  // ---- What the window shows, for tests

  // The row whose picture is drawn; -1 when the screen is black.
  int DrawnRow() const { return drawnRow_; }
  LayoutSize ScreenSize() const { return frame_.Size(); }
  // The colour drawn at a point, as 0xRRGGBB.
  uint32_t PixelAt(int x, int y) const { return frame_.PixelAt(x, y); }
  std::wstring HintText() const;
  HWND Image() const;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnShow() override;
  void OnHidden() override;
  bool DialogKeys() const override { return false; }
  bool CentredOverOwner() const override { return false; }
  // The screen it covers: the monitor the main window is on.
  virtual RECT ScreenBounds() const;

 private:
  friend class FullscreenImage;

  PictureSize SizeFor(PictureSize stored, uint8_t style) const override;
  void PictureShown() override;
  // Covers the main window's monitor.
  void Place();
  void Step(int rows);
  void Wheel(int delta);
  void Paint(HDC dc, const RECT& area) const;

  TForm1& main_;
  std::unique_ptr<FullscreenImage> image_;
  Hints hints_;
  FrameBitmap frame_;
  int drawnRow_ = -1;
  int wheelDelta_ = 0;        // turned but not yet a whole notch
  bool shownInStep_ = false;  // the preview showed a picture during a step
  bool closing_ = false;      // a button is down: the window closes on its release
};

}  // namespace seltane
