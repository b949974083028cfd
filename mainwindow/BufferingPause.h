// Preview buffering and caching switched off for the length of a bulk
// change of the list (deleting, moving, adding), so that the selections it
// causes load the preview plainly.
//
// Pauses nest: a delete whose new selection lands on a missing picture
// deletes again inside the first. Only the outermost pause suspends and
// resumes the options, so an inner one can never remember them as off and
// leave them off for good.
#pragma once

#include "data/RegistryOptions.h"

namespace seltane {

class [[nodiscard]] BufferingPause {
 public:
  // `depth` counts the pauses in force; one counter per options object.
  BufferingPause(TOptions& options, int& depth) : options_(options), depth_(depth) {
    if (depth_++ == 0) {
      options_.SuspendPreviewBuffering();
    }
  }
  BufferingPause(const BufferingPause&) = delete;
  BufferingPause& operator=(const BufferingPause&) = delete;
  ~BufferingPause() {
    if (--depth_ == 0) {
      options_.ResumePreviewBuffering();
    }
  }

 private:
  TOptions& options_;
  int& depth_;
};

}  // namespace seltane
