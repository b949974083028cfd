// A control that shows a decoded picture scaled down in proportion to fit
// and centred; smaller pictures are shown at their own size.
//
// What the control shows is kept in a frame of its own size and copied to
// the screen, so that rows drawn while another picture decodes can be taken
// back: Redraw draws the shown picture whole again.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Picture.h"
#include "ui/FrameBitmap.h"
#include "ui/Layout.h"
#include "ui/Window.h"

namespace seltane {

class ImageView : public Window {
 public:
  bool Create(HWND parent, int id);
  // Shows the picture (none: an empty pane) and paints it at once.
  void Show(std::shared_ptr<const Picture> picture);
  // Draws the top rows of a picture that is still being decoded over what
  // is shown, at once. The shown picture stays what it was.
  void ShowPartly(const Picture& partial, int32_t rows);
  // Paints the shown picture whole again, over any rows drawn meanwhile.
  void Redraw();
  const std::shared_ptr<const Picture>& Shown() const { return picture_; }
  // The size of the area pictures are drawn in.
  LayoutSize Area() const { return ClientSize(Handle()); }
  // The colour the pane shows at a point, as 0xRRGGBB.
  uint32_t PixelAt(int x, int y) const;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void MakeFrame();
  void Render();
  void CopyToScreen(const RECT& area);
  RECT PictureArea(const Picture& picture) const;

  std::shared_ptr<const Picture> picture_;
  FrameBitmap frame_;
};

// Draws the picture's pixels into the rectangle, smoothing when reducing.
void DrawPicture(HDC dc, const Picture& picture, const RECT& target);

}  // namespace seltane
