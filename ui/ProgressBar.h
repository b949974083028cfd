// A smooth progress bar laid over a window's controls (in kel, over a
// button) for the length of one long command, from 0 to a count in steps of
// one. The bar goes when the object ends.
#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/Layout.h"

namespace seltane {

class ProgressBar {
 public:
  ProgressBar(HWND parent, const LayoutRect& place, std::size_t count);
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;
  ~ProgressBar();

  // Moves the bar to the position and draws it at once.
  void SetPosition(std::size_t position);
  HWND Handle() const { return bar_; }

 private:
  HWND bar_ = nullptr;
};

}  // namespace seltane
