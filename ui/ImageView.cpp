#include "ui/ImageView.h"

#include <algorithm>

#include "platform/BgraBitmap.h"

namespace seltane {

ImageView::~ImageView() {
  FreeFrame();
}

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
      if (frameDc_ != nullptr) {
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, frameDc_,
               area.left, area.top, SRCCOPY);
      }
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
  if (frameDc_ != nullptr && size == frameSize_) {
    return;
  }
  FreeFrame();
  if (size.width <= 0 || size.height <= 0) {
    return;
  }
  const BITMAPINFO info = TopDownBgraInfo(size.width, size.height);
  void* bits = nullptr;
  frameBitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (frameBitmap_ == nullptr) {
    return;
  }
  frameDc_ = CreateCompatibleDC(nullptr);
  oldBitmap_ = SelectObject(frameDc_, frameBitmap_);
  framePixels_ = static_cast<uint32_t*>(bits);
  frameSize_ = size;
  Render();
}

void ImageView::FreeFrame() {
  if (frameDc_ != nullptr) {
    SelectObject(frameDc_, oldBitmap_);
    DeleteDC(frameDc_);
    DeleteObject(frameBitmap_);
  }
  frameDc_ = nullptr;
  frameBitmap_ = nullptr;
  framePixels_ = nullptr;
  frameSize_ = {};
}

void ImageView::Render() {
  if (frameDc_ == nullptr) {
    return;
  }
  const RECT all{0, 0, frameSize_.width, frameSize_.height};
  FillRect(frameDc_, &all, GetSysColorBrush(COLOR_BTNFACE));
  if (picture_ && picture_->width > 0 && picture_->height > 0) {
    DrawPicture(frameDc_, *picture_, PictureArea(*picture_));
  }
}

void ImageView::CopyToScreen(const RECT& area) {
  HDC dc = GetDC(Handle());
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, frameDc_,
         area.left, area.top, SRCCOPY);
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
  if (frameDc_ == nullptr || partial.width <= 0 || partial.height <= 0 || rows <= 0) {
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
  SetStretchBltMode(frameDc_, HALFTONE);
  SetBrushOrgEx(frameDc_, 0, 0, nullptr);
  StretchDIBits(frameDc_, area.left, area.top, area.right - area.left, drawnRows, 0, 0,
                partial.width, shownRows, partial.pixels.get(), &info, DIB_RGB_COLORS, SRCCOPY);
  CopyToScreen({area.left, area.top, area.right, area.top + drawnRows});
}

uint32_t ImageView::PixelAt(int x, int y) const {
  if (framePixels_ == nullptr || x < 0 || y < 0 || x >= frameSize_.width ||
      y >= frameSize_.height) {
    return 0;
  }
  GdiFlush();
  return framePixels_[static_cast<std::size_t>(y) * frameSize_.width + x] & 0xFFFFFF;
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
