#include "mainwindow/PreviewPane.h"

#include <algorithm>
#include <cmath>

namespace seltane {

PictureSize DrawnSize(PictureSize stored, PictureSize area) {
  const double scale = std::min({1.0, static_cast<double>(area.width) / std::max(1, stored.width),
                                 static_cast<double>(area.height) / std::max(1, stored.height)});
  return {std::max(1, static_cast<int32_t>(std::ceil(stored.width * scale))),
          std::max(1, static_cast<int32_t>(std::ceil(stored.height * scale)))};
}

bool NeedsLargerDecode(const Picture& picture, PictureSize area) {
  if (picture.width >= picture.stored.width && picture.height >= picture.stored.height) {
    return false;  // decoded whole
  }
  const PictureSize wanted = DrawnSize(picture.stored, area);
  return wanted.width > picture.width || wanted.height > picture.height;
}

bool PreviewPane::Select(int row, const std::vector<kelWide>& rows, PreviewOptions options,
                         const std::function<void(const Picture&)>& shown) {
  if (row < 0 || row >= static_cast<int>(rows.size())) {
    return false;
  }
  if (options.BufferImages != lastOptions_.BufferImages ||
      options.CasheImages != lastOptions_.CasheImages) {
    // While an option was off its picture was not kept up: start afresh.
    ForgetKept();
    lastOptions_ = options;
  }
  const PreviewPlan plan =
      PlanPreviewSelection(indexes_, row, static_cast<int>(rows.size()), options);
  std::shared_ptr<const Picture> next;
  if (plan.shownFrom == ShownPictureSource::SwapWithCache) {
    next = cache_;
  } else if (plan.shownFrom == ShownPictureSource::CopyFromBuffer) {
    next = buffer_;
  }
  if (!next) {
    next = loader_.Load(rows[row].FullPath, screen_.Area(), PreviewLoad::Shown);
    if (!next) {
      screen_.Redraw();
      return false;
    }
  }
  if (plan.shownFrom == ShownPictureSource::SwapWithCache || plan.copyShownToCache) {
    cache_ = shown_;
  }
  Show(std::move(next), rows[row].FullPath);
  indexes_ = plan.after;
  if (shown) {
    shown(*shown_);
  }
  if (plan.rowToBuffer != NoRow) {
    buffer_ = loader_.Load(rows[plan.rowToBuffer].FullPath, screen_.Area(), PreviewLoad::Buffered);
    if (!buffer_) {
      ForgetBufferedPicture(indexes_);
    }
  }
  return true;
}

bool PreviewPane::ShowFile(const std::string& path) {
  RowsChanged();
  auto picture = loader_.Load(path, screen_.Area(), PreviewLoad::Shown);
  if (!picture) {
    screen_.Redraw();
    return false;
  }
  Show(std::move(picture), path);
  return true;
}

void PreviewPane::RowsChanged() {
  ForgetKept();
  indexes_.ShownIndex = NoRow;
}

void PreviewPane::Forget() {
  RowsChanged();
  shown_.reset();
  shownPath_.clear();
  screen_.Show(nullptr);
}

void PreviewPane::AreaChanged() {
  const PictureSize area = screen_.Area();
  if ((buffer_ && NeedsLargerDecode(*buffer_, area)) ||
      (cache_ && NeedsLargerDecode(*cache_, area))) {
    ForgetKept();
  }
  if (shown_ && NeedsLargerDecode(*shown_, area)) {
    if (auto larger = loader_.Load(shownPath_, area, PreviewLoad::Larger)) {
      Show(std::move(larger), shownPath_);
    }
  }
}

std::shared_ptr<const Picture> PreviewPane::ShownCovering(PictureSize area) {
  if (!shown_ || !NeedsLargerDecode(*shown_, area)) {
    return shown_;
  }
  auto larger = loader_.Load(shownPath_, area, PreviewLoad::Larger);
  return larger ? larger : shown_;
}

void PreviewPane::Show(std::shared_ptr<const Picture> picture, const std::string& path) {
  shown_ = std::move(picture);
  shownPath_ = path;
  screen_.Show(shown_);
}

void PreviewPane::ForgetKept() {
  ForgetBufferedAndCached(indexes_);
  buffer_.reset();
  cache_.reset();
}

}  // namespace seltane
