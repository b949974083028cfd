#include "mainwindow/FullscreenPreview.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "mainwindow/MainTexts.h"
#include "mainwindow/Unit1.h"
#include "styles/WallpaperPicture.h"

namespace seltane {

// Image1: the control that fills the window and shows the composed screen.
// Its clicks and keys are the window's.
class FullscreenImage : public Window {
 public:
  explicit FullscreenImage(TFullscreenPreviewForm& form) : form_(form) {}

  bool Create(HWND parent) {
    return CreateOfClass("SeltaneFullscreenImage", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1},
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idImage1)));
  }
  void Repaint() {
    InvalidateRect(Handle(), nullptr, FALSE);
    UpdateWindow(Handle());
  }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        form_.Paint(dc, paint.rcPaint);
        EndPaint(Handle(), &paint);
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;  // the composed screen covers the whole control
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK:
      case WM_XBUTTONDOWN:
      case WM_XBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        SetCapture(Handle());
        form_.Image1MouseDown(message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK);
        return 0;
      case WM_LBUTTONUP:
      case WM_MBUTTONUP:
      case WM_XBUTTONUP:
      case WM_RBUTTONUP:
        if (GetCapture() == Handle()) {
          ReleaseCapture();  // which ends the closing click too
        }
        form_.Image1MouseUp();
        return 0;
      case WM_CAPTURECHANGED:
        // A message box took the mouse (setting the wallpaper failed).
        form_.Image1MouseUp();
        return 0;
      case WM_KEYDOWN:
        form_.FormKeyDown(static_cast<unsigned>(wParam));
        return 0;
      default:
        // The wheel goes on to the window.
        return Window::OnMessage(message, wParam, lParam);
    }
  }

 private:
  TFullscreenPreviewForm& form_;
};

TFullscreenPreviewForm::TFullscreenPreviewForm(TForm1& main) : main_(main) {}

TFullscreenPreviewForm::~TFullscreenPreviewForm() {
  main_.Preview().Follow(nullptr);
}

bool TFullscreenPreviewForm::Create() {
  const RECT bounds{0, 0, 1, 1};  // placed over the monitor each time it shows
  if (!CreateModalWindow(main_.Handle(), "SeltaneFullscreenPreview", MainCaption,
                         WS_POPUP | WS_CLIPCHILDREN, 0, bounds)) {
    return false;
  }
  image_ = std::make_unique<FullscreenImage>(*this);
  if (!image_->Create(Handle())) {
    return false;
  }
  if (hints_.Create(Handle())) {
    hints_.Add(image_->Handle(), Image1Hint);
  }
  Place();
  return true;
}

void TFullscreenPreviewForm::OnShow() {
  Place();
  wheelDelta_ = 0;
  closing_ = false;
  main_.Preview().Follow(this);
  FormShow();
}

void TFullscreenPreviewForm::OnHidden() {
  FormClose();
}

RECT TFullscreenPreviewForm::ScreenBounds() const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(main_.Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return monitor.rcMonitor;
}

void TFullscreenPreviewForm::Place() {
  const RECT screen = ScreenBounds();
  const int width = screen.right - screen.left;
  const int height = screen.bottom - screen.top;
  SetWindowPos(Handle(), nullptr, screen.left, screen.top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (image_) {
    MoveWindow(image_->Handle(), 0, 0, width, height, FALSE);
  }
}

void TFullscreenPreviewForm::FormShow() {
  drawnRow_ = -1;
  if (frame_.Make(ClientSize(Handle()))) {
    const LayoutSize size = frame_.Size();
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(size.width) * 4;
    GdiFlush();
    std::memset(frame_.Pixels(), 0, static_cast<std::size_t>(stride) * size.height);
    // The pane's picture, whichever rows are selected: the one a right click
    // sets. After a step onto a file that is missing or could not be decoded
    // that is still the one before.
    const int row = main_.Preview().Indexes().ShownIndex;
    if (row >= 0) {
      const int box = main_.StyleBoxIndex();
      const uint8_t style = static_cast<uint8_t>(box >= 0 ? box : wsCenter);
      try {
        const auto picture =
            main_.Preview().ShownCovering(WallpaperDecodeOptions({size.width, size.height}, style));
        if (picture) {
          DrawWallpaperPicture(*picture, style, {frame_.Pixels(), size.width, size.height, stride});
          drawnRow_ = row;
        }
      } catch (const std::bad_alloc&) {
        std::memset(frame_.Pixels(), 0, static_cast<std::size_t>(stride) * size.height);
      }
    }
  }
  if (image_) {
    image_->Repaint();
  }
}

void TFullscreenPreviewForm::Paint(HDC dc, const RECT& area) const {
  if (frame_.Dc() != nullptr) {
    frame_.CopyTo(dc, area);
  } else {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

void TFullscreenPreviewForm::FormKeyDown(unsigned key) {
  switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
      EndModal(IDOK);
      break;
    case VK_PRIOR:
    case VK_UP:
      Step(-1);
      break;
    case VK_NEXT:
    case VK_DOWN:
      Step(1);
      break;
    default:
      break;
  }
}

void TFullscreenPreviewForm::FormMouseWheelDown() {
  Step(1);
}

void TFullscreenPreviewForm::FormMouseWheelUp() {
  Step(-1);
}

void TFullscreenPreviewForm::Wheel(int delta) {
  // A notch is WHEEL_DELTA; finer wheels and touch pads send parts of one.
  wheelDelta_ += delta;
  while (wheelDelta_ >= WHEEL_DELTA) {
    wheelDelta_ -= WHEEL_DELTA;
    FormMouseWheelUp();
  }
  while (wheelDelta_ <= -WHEEL_DELTA) {
    wheelDelta_ += WHEEL_DELTA;
    FormMouseWheelDown();
  }
}

void TFullscreenPreviewForm::Step(int rows) {
  if (closing_ || main_.SelectedRow() < 0) {
    return;
  }
  // From the row stepped to last, which has the focus mark, also when its
  // picture could not be shown; else from the row on the screen.
  const std::vector<int> selected = main_.SelectedRows();
  int row = main_.FocusedRow();
  if (std::find(selected.begin(), selected.end(), row) == selected.end()) {
    const int shown = main_.Preview().Indexes().ShownIndex;
    row = shown >= 0 ? shown : selected.front();
  }
  const int next = row + rows;
  if (next < 0 || next >= static_cast<int>(main_.list.PictureList.size())) {
    return;
  }
  shownInStep_ = false;
  main_.ClearSelection();
  // Selecting shows the row's picture in the preview (PictureShown draws
  // it) or tells why it cannot; a missing file may be removed instead.
  main_.SelectOnly(next, true);
  if (!shownInStep_) {
    FormShow();
  }
}

void TFullscreenPreviewForm::PictureShown() {
  shownInStep_ = true;
  FormShow();
}

PictureSize TFullscreenPreviewForm::SizeFor(PictureSize stored, uint8_t style) const {
  const LayoutSize screen = ClientSize(Handle());
  return WallpaperDecodeOptions({screen.width, screen.height}, style).drawnSize(stored);
}

void TFullscreenPreviewForm::Image1MouseDown(bool rightButton) {
  if (closing_) {
    return;
  }
  closing_ = true;
  // Only the picture on the screen, which is the pane's: a black screen sets
  // nothing.
  if (rightButton && drawnRow_ >= 0 && drawnRow_ == main_.Preview().Indexes().ShownIndex) {
    main_.SetBtnClick();
  }
}

void TFullscreenPreviewForm::Image1MouseUp() {
  if (closing_) {
    EndModal(IDOK);
  }
}

void TFullscreenPreviewForm::FormClose() {
  main_.Preview().Follow(nullptr);
  frame_.Free();
  drawnRow_ = -1;
  closing_ = false;
  main_.FocusSelectedRow();
}

std::wstring TFullscreenPreviewForm::HintText() const {
  return hints_.Text(Image());
}

HWND TFullscreenPreviewForm::Image() const {
  return image_ ? image_->Handle() : nullptr;
}

LRESULT TFullscreenPreviewForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      FormKeyDown(static_cast<unsigned>(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      if (image_) {
        MoveWindow(image_->Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), FALSE);
      }
      return 0;
    case WmDpiChanged:
    case WM_DISPLAYCHANGE:
      // It keeps covering the monitor, whatever size the system suggests.
      Place();
      if (Showing()) {
        FormShow();
      }
      return 0;
    default:
      return ModalDialog::OnMessage(message, wParam, lParam);
  }
}

}  // namespace seltane
