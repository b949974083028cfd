#include "ui/ProgressBar.h"

#include <commctrl.h>

#include "ui/Window.h"

namespace seltane {

ProgressBar::ProgressBar(HWND parent, const LayoutRect& place, std::size_t count) {
  bar_ = CreateChild(parent, PROGRESS_CLASSA, "", PBS_SMOOTH, 0);
  SetWindowPos(bar_, HWND_TOP, place.left, place.top, place.width, place.height, 0);
  SendMessageA(bar_, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
  SendMessageA(bar_, PBM_SETSTEP, 1, 0);
  UpdateWindow(bar_);
}

ProgressBar::~ProgressBar() {
  DestroyWindow(bar_);
}

void ProgressBar::SetPosition(std::size_t position) {
  SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  UpdateWindow(bar_);
}

}  // namespace seltane
