#include "ui/ImageView.h"

#include <algorithm>

#include "platform/BgraBitmap.h"

namespace seltane {

bool ImageView::Create(HWND parent, int id) {
  const RECT bounds{0, 0, 10, 10};
  if (!CreateOfClass("SeltaneImageView", "", WS_CHILD | WS_VISIBLE, bounds, parent,
                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  MakeFrame();
  return true;
}

void ImageView::Show(std::shared_ptr<const Picture> picture) {
  picture_ = std::move(picture);
  Redraw();
}

void ImageView::Redraw() {
  Render();
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

LRESULT ImageView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      frame_.CopyTo(dc, paint.rcPaint);
      EndPaint(Handle(), &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the frame covers the whole control
    case WM_SIZE:
      MakeFrame();
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONUP:
      // The parent decides what a double click does.
      SendMessageA(GetParent(Handle()), WM_COMMAND,
                   MAKEWPARAM(GetDlgCtrlID(Handle()), message == WM_LBUTTONDBLCLK ? 1 : 2),
                   reinterpret_cast<LPARAM>(Handle()));
      return 0;
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

void ImageView::MakeFrame() {
  const LayoutSize size = Area();
  if (size == frame_.Size()) {
    return;
  }
  if (frame_.Make(size)) {
    Render();
  }
}

void ImageView::Render() {
  if (frame_.Dc() == nullptr) {
    return;
  }
  const RECT all{0, 0, frame_.Size().width, frame_.Size().height};
  FillRect(frame_.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
  if (picture_ && picture_->width > 0 && picture_->height > 0) {
    DrawPicture(frame_.Dc(), *picture_, PictureArea(*picture_));
  }
}

void ImageView::CopyToScreen(const RECT& area) {
  HDC dc = GetDC(Handle());
  frame_.CopyTo(dc, area);
  ReleaseDC(Handle(), dc);
}

RECT ImageView::PictureArea(const Picture& picture) const {
  const LayoutSize area = Area();
  const double scale = std::min({1.0, static_cast<double>(area.width) / picture.width,
                                 static_cast<double>(area.height) / picture.height});
  const int width = std::max(1, static_cast<int>(picture.width * scale + 0.5));
  const int height = std::max(1, static_cast<int>(picture.height * scale + 0.5));
  const int left = (area.width - width) / 2;
  const int top = (area.height - height) / 2;
  return RECT{left, top, left + width, top + height};
}

void ImageView::ShowPartly(const Picture& partial, int32_t rows) {
  if (frame_.Dc() == nullptr || partial.width <= 0 || partial.height <= 0 || rows <= 0) {
    return;
  }
  const RECT area = PictureArea(partial);
  const int drawnRows = MulDiv(area.bottom - area.top, rows, partial.height);
  if (drawnRows <= 0) {
    return;
  }
  // The rows so far, drawn from the picture being filled.
  const int32_t shownRows = std::min(rows, partial.height);
  const BITMAPINFO info = TopDownBgraInfo(partial.width, shownRows);
  SetStretchBltMode(frame_.Dc(), HALFTONE);
  SetBrushOrgEx(frame_.Dc(), 0, 0, nullptr);
  StretchDIBits(frame_.Dc(), area.left, area.top, area.right - area.left, drawnRows, 0, 0,
                partial.width, shownRows, partial.pixels.get(), &info, DIB_RGB_COLORS, SRCCOPY);
  CopyToScreen({area.left, area.top, area.right, area.top + drawnRows});
}

uint32_t ImageView::PixelAt(int x, int y) const {
  return frame_.PixelAt(x, y);
}

void DrawPicture(HDC dc, const Picture& picture, const RECT& target) {
  const BITMAPINFO info = TopDownBgraInfo(picture.width, picture.height);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                0, 0, picture.width, picture.height, picture.pixels.get(), &info, DIB_RGB_COLORS,
                SRCCOPY);
}

}  // namespace seltane
