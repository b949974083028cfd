// A control that shows a decoded picture scaled down in proportion to fit
// and centred; smaller pictures are shown at their own size.
#pragma once

#include <memory>

#include "platform/Picture.h"
#include "ui/Window.h"

namespace seltane {

class ImageView : public Window {
 public:
  bool Create(HWND parent, int id);
  void Show(std::shared_ptr<const Picture> picture);
  // Draws the top rows of a picture that is still being decoded, at once.
  void ShowPartly(const Picture& partial, int32_t rows);
  const std::shared_ptr<const Picture>& Shown() const { return picture_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc);
  RECT PictureArea(const Picture& picture) const;
  std::shared_ptr<const Picture> picture_;
};

// Draws the picture's pixels into the rectangle, smoothing when reducing.
void DrawPicture(HDC dc, const Picture& picture, const RECT& target);

}  // namespace seltane
