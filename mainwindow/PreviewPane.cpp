#include "mainwindow/PreviewPane.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "styles/WallpaperLayout.h"

namespace seltane {

namespace {

// The size a picture of the stored size is drawn at in an area: reduced in
// proportion to fit, never enlarged, rounded up.
PictureSize FittedSize(PictureSize stored, PictureSize area) {
  const double scale = std::min({1.0, static_cast<double>(area.width) / std::max(1, stored.width),
                                 static_cast<double>(area.height) / std::max(1, stored.height)});
  return {std::max(1, static_cast<int32_t>(std::ceil(stored.width * scale))),
          std::max(1, static_cast<int32_t>(std::ceil(stored.height * scale)))};
}

uint64_t PixelCount(int64_t width, int64_t height) {
  return static_cast<uint64_t>(std::max<int64_t>(0, width)) *
         static_cast<uint64_t>(std::max<int64_t>(0, height));
}

// The pixels a decoder that reduces by eighths gives for the wanted size.
uint64_t ReducedPixels(PictureSize stored, PictureSize wanted) {
  const PictureSize reduced = ReducedSize(stored, ReductionEighths(stored, wanted));
  return PixelCount(reduced.width, reduced.height);
}

// A copy of the whole picture scaled to `size`; none when the memory cannot
// be had.
std::shared_ptr<const Picture> ResizedCopy(const Picture& picture, PictureSize size,
                                           uint64_t maxPixels) {
  auto copy = std::make_shared<Picture>();
  copy->stored = picture.stored;
  if (AllocatePixels(size.width, size.height, maxPixels, *copy) != PictureError::None) {
    return nullptr;
  }
  copy->part = picture.part;
  WallpaperLayout stretched;
  stretched.kind = WallpaperLayout::Kind::Single;
  stretched.target = {0, 0, size.width, size.height};
  try {
    DrawWallpaper(stretched,
                  {picture.pixels.get(), picture.width, picture.height, picture.Stride()},
                  {copy->pixels.get(), size.width, size.height, copy->Stride()});
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return copy;
}

}  // namespace

std::shared_ptr<const Picture> WithinPixels(std::shared_ptr<const Picture> picture,
                                            const DecodeOptions& wanted, uint64_t maxPixels) {
  if (!picture || !picture->pixels || PixelCount(picture->width, picture->height) <= maxPixels ||
      !picture->Whole()) {
    return picture;  // a part is no larger than the screen it is shown on
  }
  const PictureSize stored = picture->stored;
  auto smaller = std::make_shared<Picture>();
  smaller->stored = stored;
  if (wanted.shownPart && picture->width == stored.width && picture->height == stored.height) {
    const PicturePart part = ClampedPart(wanted.shownPart(stored), stored);
    if (PixelCount(part.width, part.height) <= maxPixels && !(part == picture->part)) {
      if (AllocatePixels(part.width, part.height, maxPixels, *smaller) != PictureError::None) {
        return picture;
      }
      smaller->part = part;
      for (int32_t y = 0; y < part.height; ++y) {
        std::memcpy(smaller->pixels.get() + y * smaller->Stride(),
                    picture->pixels.get() + (part.top + y) * picture->Stride() + part.left * 4,
                    static_cast<std::size_t>(smaller->Stride()));
      }
      return smaller;
    }
  }
  // Reduced in proportion: to the size it is drawn at when that is within
  // the limit (rounded up, so that it still covers it), else to the limit.
  const double width = picture->width;
  const double height = picture->height;
  const double limit = std::sqrt(static_cast<double>(maxPixels) / (width * height));
  PictureSize size{static_cast<int32_t>(width * limit), static_cast<int32_t>(height * limit)};
  if (wanted.drawnSize) {
    const PictureSize drawn = wanted.drawnSize(stored);
    const double scale = std::max(drawn.width / width, drawn.height / height);
    const PictureSize covering{static_cast<int32_t>(std::ceil(width * scale)),
                               static_cast<int32_t>(std::ceil(height * scale))};
    if (scale < limit && PixelCount(covering.width, covering.height) <= maxPixels) {
      size = covering;
    }
  }
  size = {std::clamp(size.width, 1, picture->width), std::clamp(size.height, 1, picture->height)};
  auto reduced = ResizedCopy(*picture, size, maxPixels);
  return reduced ? reduced : picture;
}

std::shared_ptr<const Picture> ReducedToDrawn(std::shared_ptr<const Picture> picture,
                                              const DecodeOptions& wanted) {
  if (!picture || !picture->pixels || !picture->Whole() || !wanted.drawnSize) {
    return picture;
  }
  const PictureSize drawn = wanted.drawnSize(picture->stored);
  const double width = picture->width;
  const double height = picture->height;
  // The smallest size in proportion that still covers the drawn size.
  const double scale = std::max(drawn.width / width, drawn.height / height);
  if (scale >= 1) {
    return picture;
  }
  const PictureSize size{std::max(1, static_cast<int32_t>(std::ceil(width * scale - 1e-9))),
                         std::max(1, static_cast<int32_t>(std::ceil(height * scale - 1e-9)))};
  if (size.width >= picture->width && size.height >= picture->height) {
    return picture;
  }
  auto reduced = ResizedCopy(*picture, size, PixelCount(picture->width, picture->height));
  return reduced ? reduced : picture;
}

DecodeOptions FittingIn(PictureSize area) {
  DecodeOptions options;
  options.drawnSize = [area](PictureSize stored) { return FittedSize(stored, area); };
  return options;
}

bool Covers(const Picture& picture, const DecodeOptions& wanted) {
  const PictureSize stored = picture.stored;
  if (!picture.Whole()) {
    // A part is decoded at its own size, and gives only what lies in it.
    if (!wanted.shownPart || picture.width != picture.part.width ||
        picture.height != picture.part.height) {
      return false;
    }
    const PicturePart need = wanted.shownPart(stored);
    const PicturePart& has = picture.part;
    return need.left >= has.left && need.top >= has.top &&
           need.left + need.width <= has.left + has.width &&
           need.top + need.height <= has.top + has.height;
  }
  if (picture.width >= stored.width && picture.height >= stored.height) {
    return true;  // decoded whole at its own size
  }
  if (!wanted.drawnSize) {
    return false;
  }
  const PictureSize drawn = wanted.drawnSize(stored);
  return picture.width >= std::min(drawn.width, stored.width) &&
         picture.height >= std::min(drawn.height, stored.height);
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
  const DecodeOptions wanted = Wanted(rows[row]);
  std::shared_ptr<const Picture> next;
  if (plan.shownFrom == ShownPictureSource::SwapWithCache) {
    next = cache_;
  } else if (plan.shownFrom == ShownPictureSource::CopyFromBuffer) {
    next = buffer_;
  }
  if (next && follower_ && !Covers(*next, wanted)) {
    // Kept for the pane alone, before the follower came.
    if (auto larger = Load(rows[row].FullPath, wanted, PreviewLoad::Larger)) {
      next = std::move(larger);
    }
  }
  if (!next) {
    next = Load(rows[row].FullPath, wanted,
                follower_ ? PreviewLoad::ShownCovered : PreviewLoad::Shown);
    if (!next) {
      screen_.Redraw();
      return false;
    }
  }
  if (plan.shownFrom == ShownPictureSource::SwapWithCache || plan.copyShownToCache) {
    cache_ = shown_;
  }
  indexes_ = plan.after;
  if (follower_) {
    // The follower covers the pane: its screen is drawn first, the pane
    // under it after.
    shown_ = std::move(next);
    shownPath_ = rows[row].FullPath;
    if (shown) {
      shown(*shown_);
    }
    follower_->PictureShown();
    screen_.Show(shown_);
  } else {
    Show(std::move(next), rows[row].FullPath);
    if (shown) {
      shown(*shown_);
    }
  }
  if (plan.rowToBuffer != NoRow) {
    const DecodeOptions ahead = Wanted(rows[plan.rowToBuffer]);
    buffer_ = Load(rows[plan.rowToBuffer].FullPath, ahead, PreviewLoad::Buffered);
    if (follower_) {
      // Scaled now, while nothing waits, so that the step to it copies it.
      buffer_ = ReducedToDrawn(std::move(buffer_), ahead);
    }
    if (!buffer_) {
      ForgetBufferedPicture(indexes_);
    }
  }
  return true;
}

bool PreviewPane::ShowFile(const std::string& path) {
  RowsChanged(NoRow);
  auto picture = Load(path, FittingIn(screen_.Area()), PreviewLoad::Shown);
  if (!picture) {
    screen_.Redraw();
    return false;
  }
  Show(std::move(picture), path);
  return true;
}

void PreviewPane::RowsChanged(int shownRow) {
  ForgetKept();
  indexes_.ShownIndex = shown_ ? shownRow : NoRow;
}

void PreviewPane::Forget() {
  RowsChanged(NoRow);
  shown_.reset();
  shownPath_.clear();
  screen_.Show(nullptr);
}

void PreviewPane::AreaChanged() {
  const DecodeOptions wanted = FittingIn(screen_.Area());
  if ((buffer_ && !Covers(*buffer_, wanted)) || (cache_ && !Covers(*cache_, wanted))) {
    ForgetKept();
  }
  if (shown_ && !Covers(*shown_, wanted)) {
    if (auto larger = Load(shownPath_, wanted, PreviewLoad::Larger)) {
      Show(std::move(larger), shownPath_);
    }
  }
}

std::shared_ptr<const Picture> PreviewPane::ShownCovering(const DecodeOptions& wanted) {
  if (!shown_ || Covers(*shown_, wanted)) {
    return shown_;
  }
  auto larger = Load(shownPath_, wanted, PreviewLoad::Larger);
  return larger ? larger : shown_;
}

void PreviewPane::Show(std::shared_ptr<const Picture> picture, const std::string& path) {
  shown_ = std::move(picture);
  shownPath_ = path;
  screen_.Show(shown_);
}

DecodeOptions PreviewPane::Wanted(const kelWide& row) const {
  DecodeOptions wanted = FittingIn(screen_.Area());
  if (follower_) {
    wanted.drawnSize = [pane = wanted.drawnSize, follower = follower_, style = row.Style,
                        maxPixels = maxPixels_](PictureSize stored) {
      const PictureSize a = pane(stored);
      const PictureSize b = follower->SizeFor(stored, style);
      const PictureSize both{std::max(a.width, b.width), std::max(a.height, b.height)};
      // A large picture centred or tiled at its own size is not kept whole
      // for the follower: it decodes the part it shows.
      return ReducedPixels(stored, both) <= maxPixels ? both : a;
    };
  }
  return wanted;
}

std::shared_ptr<const Picture> PreviewPane::Load(const std::string& path,
                                                 const DecodeOptions& wanted, PreviewLoad purpose) {
  return WithinPixels(loader_.Load(path, wanted, purpose), wanted, maxPixels_);
}

void PreviewPane::ForgetKept() {
  ForgetBufferedAndCached(indexes_);
  buffer_.reset();
  cache_.reset();
}

}  // namespace seltane
