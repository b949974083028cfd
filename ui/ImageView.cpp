#include "ui/ImageView.h"

#include <algorithm>

namespace seltane {

bool ImageView::Create(HWND parent, int id) {
  const RECT bounds{0, 0, 10, 10};
  return CreateOfClass("SeltaneImageView", "", WS_CHILD | WS_VISIBLE, bounds, parent,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void ImageView::Show(std::shared_ptr<const Picture> picture) {
  picture_ = std::move(picture);
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT ImageView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      Paint(dc);
      EndPaint(Handle(), &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
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

RECT ImageView::PictureArea(const Picture& picture) const {
  RECT client;
  GetClientRect(Handle(), &client);
  const int areaWidth = client.right - client.left;
  const int areaHeight = client.bottom - client.top;
  const double scale = std::min({1.0, static_cast<double>(areaWidth) / picture.width,
                                 static_cast<double>(areaHeight) / picture.height});
  const int width = std::max(1, static_cast<int>(picture.width * scale + 0.5));
  const int height = std::max(1, static_cast<int>(picture.height * scale + 0.5));
  const int left = (areaWidth - width) / 2;
  const int top = (areaHeight - height) / 2;
  return RECT{left, top, left + width, top + height};
}

void ImageView::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!picture_ || picture_->width <= 0 || picture_->height <= 0) {
    return;
  }
  DrawPicture(dc, *picture_, PictureArea(*picture_));
}

void ImageView::ShowPartly(const Picture& partial, int32_t rows) {
  if (partial.width <= 0 || partial.height <= 0 || rows <= 0) {
    return;
  }
  const RECT area = PictureArea(partial);
  const int drawnRows = MulDiv(area.bottom - area.top, rows, partial.height);
  if (drawnRows <= 0) {
    return;
  }
  // The rows so far, drawn straight from the picture being filled.
  const int32_t shownRows = std::min(rows, partial.height);
  HDC dc = GetDC(Handle());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = partial.width;
  info.bmiHeader.biHeight = -shownRows;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, area.left, area.top, area.right - area.left, drawnRows, 0, 0, partial.width,
                shownRows, partial.pixels.get(), &info, DIB_RGB_COLORS, SRCCOPY);
  ReleaseDC(Handle(), dc);
}

void DrawPicture(HDC dc, const Picture& picture, const RECT& target) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                0, 0, picture.width, picture.height, picture.pixels.get(), &info, DIB_RGB_COLORS,
                SRCCOPY);
}

}  // namespace seltane
