// The preview pane: the picture of the selected row, with the row ahead
// decoded in advance (buffer) and the row shown before kept (cache), as the
// plan of PreviewBuffer.h says. Decoding and drawing are reached through two
// small interfaces, so the pane is tested with fakes and the window gives it
// its decoder and its image control.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/PictureEntry.h"
#include "mainwindow/PreviewBuffer.h"
#include "platform/Picture.h"

namespace seltane {

// Decode options for an area that shows the whole picture reduced in
// proportion to fit, never enlarged (the pane).
DecodeOptions FittingIn(PictureSize area);

// The most pixels one decoded copy may have that the pane keeps (the shown
// picture, the buffer, the cache) or hands the fullscreen preview: 64 MiB,
// so that the four stay within 256 MiB, which a 32-bit process can spare
// beside its list and one picture decoding. A 5K screen's worth still fits.
inline constexpr uint64_t PreviewCopyPixels = uint64_t{16} << 20;

// The picture brought within `maxPixels` for what `wanted` draws: itself
// when it is within; decoded whole at its own size, the part `wanted`
// shows, cut out, when that is within; else a copy reduced in proportion,
// to the size it is drawn at or to the limit. Itself also when the copy
// cannot be had.
std::shared_ptr<const Picture> WithinPixels(std::shared_ptr<const Picture> picture,
                                            const DecodeOptions& wanted, uint64_t maxPixels);

// The whole picture reduced in proportion to the smallest size that still
// covers the size `wanted` draws it at, so that drawing it then copies it
// pixel for pixel where a style draws it at that size; itself when it is not
// larger, is a part, or the copy cannot be had.
std::shared_ptr<const Picture> ReducedToDrawn(std::shared_ptr<const Picture> picture,
                                              const DecodeOptions& wanted);

// Whether the picture, as it was decoded, gives at least what a decode with
// `wanted`'s sizes and part would: no smaller, and no less of it.
bool Covers(const Picture& picture, const DecodeOptions& wanted);

enum class PreviewLoad {
  Shown,         // for the screen: failures are told, rows may be drawn as they come
  ShownCovered,  // for the screen while a follower covers the pane: failures are told
  Buffered,      // in advance: silent
  Larger,        // again, for a larger area: silent
};

class PreviewLoader {
 public:
  virtual ~PreviewLoader() = default;
  // The picture decoded with `wanted`'s sizes and part; nothing when it
  // cannot be decoded.
  virtual std::shared_ptr<const Picture> Load(const std::string& path, const DecodeOptions& wanted,
                                              PreviewLoad purpose) = 0;
};

// A second view of the shown picture for a while (the fullscreen preview).
// While it follows the pane, the rows' pictures are decoded large enough for
// it too, and it is told of each newly shown picture before the row ahead is
// buffered, so that it can draw it at once.
class PreviewFollower {
 public:
  virtual ~PreviewFollower() = default;
  // The size a picture of the stored size is drawn at in the style.
  virtual PictureSize SizeFor(PictureSize stored, uint8_t style) const = 0;
  virtual void PictureShown() = 0;
};

class PreviewScreen {
 public:
  virtual ~PreviewScreen() = default;
  // Shows the picture (none: empty) and paints it at once.
  virtual void Show(std::shared_ptr<const Picture> picture) = 0;
  // Paints the shown picture whole again, over rows of another picture drawn
  // while it decoded.
  virtual void Redraw() = 0;
  virtual PictureSize Area() const = 0;
};

class PreviewPane {
 public:
  // Every copy it keeps or hands out has at most `maxPixels`: decoded
  // reduced to what is drawn, or made smaller once decoded.
  PreviewPane(PreviewScreen& screen, PreviewLoader& loader, uint64_t maxPixels = PreviewCopyPixels)
      : screen_(screen), loader_(loader), maxPixels_(maxPixels) {}

  // Shows the picture of `rows[row]`, calls `shown` once it is on the screen,
  // then decodes the row ahead into the buffer. False when the picture could
  // not be decoded: the previous picture is then on the screen, whole, and
  // nothing has changed.
  bool Select(int row, const std::vector<kelWide>& rows, PreviewOptions options,
              const std::function<void(const Picture&)>& shown);
  // Shows a file that is no row of the list (a found picture in pick mode);
  // the rows' pictures are let go.
  bool ShowFile(const std::string& path);
  // Rows were deleted, moved, sorted or added, or another list came: no
  // kept picture belongs to a row any more. The shown one stays on the
  // screen as the picture of `shownRow`, where its row is now (NoRow: of no
  // row).
  void RowsChanged(int shownRow);
  // Lets every picture go and empties the pane.
  void Forget();
  // After the pane was resized: a shown picture decoded reduced for a
  // smaller pane is decoded again; kept pictures too small are let go.
  void AreaChanged();
  // The shown picture decoded as much as `wanted` asks (the fullscreen
  // preview's screen): itself when it covers that, else decoded again (itself
  // when that fails); none when nothing is shown. The pane keeps its own.
  std::shared_ptr<const Picture> ShownCovering(const DecodeOptions& wanted);
  // Starts (a follower) or ends (nullptr) following the pane.
  void Follow(PreviewFollower* follower) { follower_ = follower; }

  const PreviewIndexes& Indexes() const { return indexes_; }
  const std::shared_ptr<const Picture>& Shown() const { return shown_; }
  const std::string& ShownPath() const { return shownPath_; }

 private:
  void Show(std::shared_ptr<const Picture> picture, const std::string& path);
  void ForgetKept();
  // What decoding a row's picture must give: the pane's area, and the
  // follower's size for the row's style while a copy of that size stays
  // within the limit (else the follower decodes what it shows itself).
  DecodeOptions Wanted(const kelWide& row) const;
  std::shared_ptr<const Picture> Load(const std::string& path, const DecodeOptions& wanted,
                                      PreviewLoad purpose);

  PreviewScreen& screen_;
  PreviewLoader& loader_;
  uint64_t maxPixels_;
  PreviewFollower* follower_ = nullptr;
  PreviewIndexes indexes_;
  PreviewOptions lastOptions_;
  std::shared_ptr<const Picture> shown_;
  std::string shownPath_;
  std::shared_ptr<const Picture> buffer_;
  std::shared_ptr<const Picture> cache_;
};

}  // namespace seltane
