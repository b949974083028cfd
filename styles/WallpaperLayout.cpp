#include "styles/WallpaperLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace seltane {
namespace {

// A scale factor as an exact fraction, so that the halves of the rounding
// rule are found exactly.
struct Ratio {
  int64_t num;
  int64_t den;  // > 0
};

bool Less(const Ratio& a, const Ratio& b) {
  return a.num * b.den < b.num * a.den;
}

// p / q rounded to the nearest integer, halves to even; q > 0.
int64_t RoundHalfToEven(int64_t p, int64_t q) {
  int64_t quotient = p / q;
  int64_t remainder = p % q;
  if (remainder < 0) {
    quotient -= 1;
    remainder += q;
  }
  if (2 * remainder > q || (2 * remainder == q && quotient % 2 != 0)) {
    quotient += 1;
  }
  return quotient;
}

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The picture scaled by `scale` and centred. At its own size it keeps its
// size, so that it is copied pixel for pixel; scaled, it runs from (x0, y0)
// to (W - x0, H - y0), symmetric on the screen.
PixelRect Centred(int32_t screenWidth, int32_t screenHeight, int32_t pictureWidth,
                  int32_t pictureHeight, Ratio scale) {
  const int64_t x0 =
      RoundHalfToEven(screenWidth * scale.den - pictureWidth * scale.num, 2 * scale.den);
  const int64_t y0 =
      RoundHalfToEven(screenHeight * scale.den - pictureHeight * scale.num, 2 * scale.den);
  if (scale.num == scale.den) {
    return {ClampToInt32(x0), ClampToInt32(y0), ClampToInt32(x0 + pictureWidth),
            ClampToInt32(y0 + pictureHeight)};
  }
  return {ClampToInt32(x0), ClampToInt32(y0), ClampToInt32(screenWidth - x0),
          ClampToInt32(screenHeight - y0)};
}

// One destination pixel of a resampling pass reads `count` consecutive source
// pixels from `first`: the first and last with their own weights, the ones
// between with `inner`.
struct Tap {
  int32_t first;
  int32_t count;
  float firstWeight;
  float lastWeight;
  float inner;

  float Weight(int32_t k) const {
    return k == 0 ? firstWeight : (k == count - 1 ? lastWeight : inner);
  }
};

// The taps for destination pixels [from, to) of a line of dstLength pixels
// made from sourceLength pixels. Reducing averages the source area each
// destination pixel covers; enlarging interpolates linearly between the two
// nearest source pixels.
std::vector<Tap> MakeTaps(int32_t sourceLength, int32_t dstLength, int32_t from, int32_t to) {
  std::vector<Tap> taps;
  taps.reserve(static_cast<std::size_t>(to - from));
  const double step = static_cast<double>(sourceLength) / dstLength;
  for (int32_t i = from; i < to; ++i) {
    Tap tap{};
    if (step >= 1.0) {
      const double start = i * step;
      const double end = std::min<double>((i + 1) * step, sourceLength);
      const int32_t first = std::min<int32_t>(static_cast<int32_t>(start), sourceLength - 1);
      const int32_t last =
          std::clamp<int32_t>(static_cast<int32_t>(std::ceil(end)) - 1, first, sourceLength - 1);
      const double total = end - start;
      tap.first = first;
      tap.count = last - first + 1;
      if (tap.count == 1) {
        tap.firstWeight = tap.lastWeight = 1.0f;
      } else {
        tap.firstWeight = static_cast<float>((first + 1 - start) / total);
        tap.lastWeight = static_cast<float>((end - last) / total);
        tap.inner = static_cast<float>(1.0 / total);
      }
    } else {
      const double position = std::clamp((i + 0.5) * step - 0.5, 0.0, sourceLength - 1.0);
      const int32_t first = static_cast<int32_t>(position);
      const double fraction = position - first;
      tap.first = first;
      if (first + 1 < sourceLength && fraction > 0.0) {
        tap.count = 2;
        tap.firstWeight = static_cast<float>(1.0 - fraction);
        tap.lastWeight = static_cast<float>(fraction);
      } else {
        tap.count = 1;
        tap.firstWeight = tap.lastWeight = 1.0f;
      }
    }
    taps.push_back(tap);
  }
  return taps;
}

uint8_t ToByte(float value) {
  return static_cast<uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

const uint8_t* RowOf(const ConstPixels& pixels, int32_t y) {
  return pixels.data + y * pixels.stride;
}
uint8_t* RowOf(const MutablePixels& pixels, int32_t y) {
  return pixels.data + y * pixels.stride;
}

// Each destination row from the same source row, resampled along the row.
// taps[x] makes target's column x.
void HorizontalPass(const ConstPixels& source, const Tap* taps, const MutablePixels& target) {
  for (int32_t y = 0; y < target.height; ++y) {
    const uint8_t* in = RowOf(source, y);
    uint8_t* out = RowOf(target, y);
    for (const Tap* tap = taps; tap < taps + target.width; ++tap) {
      const uint8_t* pixel = in + static_cast<std::ptrdiff_t>(tap->first) * 4;
      if (tap->count == 2) {
        // Most pixels of a slight reduction or of an enlargement.
        for (int c = 0; c < 4; ++c) {
          out[c] = ToByte(tap->firstWeight * pixel[c] + tap->lastWeight * pixel[4 + c]);
        }
        out += 4;
        continue;
      }
      float sum[4] = {0, 0, 0, 0};
      for (int32_t k = 0; k < tap->count; ++k, pixel += 4) {
        const float weight = tap->Weight(k);
        for (int c = 0; c < 4; ++c) {
          sum[c] += weight * pixel[c];
        }
      }
      for (int c = 0; c < 4; ++c) {
        out[c] = ToByte(sum[c]);
      }
      out += 4;
    }
  }
}

// Each destination row a weighted sum of whole source rows: taps[y] makes
// target's row y.
void VerticalPass(const ConstPixels& source, const Tap* taps, const MutablePixels& target) {
  const std::size_t values = static_cast<std::size_t>(target.width) * 4;
  std::vector<float> sum(values);
  for (int32_t y = 0; y < target.height; ++y) {
    const Tap& tap = taps[y];
    uint8_t* out = RowOf(target, y);
    if (tap.count == 2) {
      // Two rows, the common case: straight into the destination.
      const float first = tap.firstWeight;
      const float last = tap.lastWeight;
      const uint8_t* in0 = RowOf(source, tap.first);
      const uint8_t* in1 = RowOf(source, tap.first + 1);
      for (std::size_t i = 0; i < values; ++i) {
        out[i] = ToByte(first * in0[i] + last * in1[i]);
      }
      continue;
    }
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (int32_t k = 0; k < tap.count; ++k) {
      const float weight = tap.Weight(k);
      const uint8_t* in = RowOf(source, tap.first + k);
      for (std::size_t i = 0; i < values; ++i) {
        sum[i] += weight * in[i];
      }
    }
    for (std::size_t i = 0; i < values; ++i) {
      out[i] = ToByte(sum[i]);
    }
  }
}

void MakeOpaque(uint8_t* row, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    row[x * 4 + 3] = 255;
  }
}

std::vector<Tap> Shifted(const Tap* begin, const Tap* end, int32_t by) {
  std::vector<Tap> taps(begin, end);
  for (Tap& tap : taps) {
    tap.first -= by;
  }
  return taps;
}

// Draws the whole picture scaled into `target`, cut by the canvas's edges.
void DrawScaled(const ConstPixels& picture, const PixelRect& target, const MutablePixels& canvas) {
  const int32_t left = std::max(target.left, 0);
  const int32_t top = std::max(target.top, 0);
  const int32_t right = std::min(target.right, canvas.width);
  const int32_t bottom = std::min(target.bottom, canvas.height);
  if (target.Empty() || picture.width <= 0 || picture.height <= 0 || left >= right ||
      top >= bottom) {
    return;
  }
  const int32_t width = right - left;
  const int32_t height = bottom - top;
  const MutablePixels out{canvas.data + top * canvas.stride + static_cast<std::ptrdiff_t>(left) * 4,
                          width, height, canvas.stride};

  if (picture.width == target.Width() && picture.height == target.Height()) {
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* in = RowOf(picture, top - target.top + y) +
                          static_cast<std::ptrdiff_t>(left - target.left) * 4;
      std::memcpy(RowOf(out, y), in, static_cast<std::size_t>(width) * 4);
    }
  } else {
    const std::vector<Tap> columns =
        MakeTaps(picture.width, target.Width(), left - target.left, right - target.left);
    const std::vector<Tap> rows =
        MakeTaps(picture.height, target.Height(), top - target.top, bottom - target.top);
    const int32_t firstRow = rows.front().first;
    const int32_t endRow = rows.back().first + rows.back().count;
    const int32_t firstColumn = columns.front().first;
    const int32_t endColumn = columns.back().first + columns.back().count;

    // Resample first along the axis that leaves the smaller intermediate
    // picture: a very tall narrow picture is first reduced in height.
    const bool rowsFirst = static_cast<int64_t>(endRow - firstRow) * width <=
                           static_cast<int64_t>(endColumn - firstColumn) * height;
    const int32_t middleColumns = endColumn - firstColumn;
    const ConstPixels sourceColumns{picture.data + static_cast<std::ptrdiff_t>(firstColumn) * 4,
                                    middleColumns, picture.height, picture.stride};
    const std::vector<Tap> shiftedColumns =
        Shifted(columns.data(), columns.data() + columns.size(), firstColumn);

    // A band of destination rows at a time, so that the intermediate
    // picture stays small and its memory is reused.
    constexpr int32_t BandRows = 32;
    std::vector<uint8_t> buffer;
    for (int32_t bandTop = 0; bandTop < height; bandTop += BandRows) {
      const int32_t bandHeight = std::min(BandRows, height - bandTop);
      const Tap* bandTaps = rows.data() + bandTop;
      const MutablePixels bandOut{RowOf(out, bandTop), width, bandHeight, out.stride};
      if (rowsFirst) {
        const int32_t bandFirst = bandTaps[0].first;
        const int32_t bandRows =
            bandTaps[bandHeight - 1].first + bandTaps[bandHeight - 1].count - bandFirst;
        buffer.resize(static_cast<std::size_t>(bandRows) * width * 4);
        const MutablePixels middle{buffer.data(), width, bandRows,
                                   static_cast<std::ptrdiff_t>(width) * 4};
        HorizontalPass({RowOf(picture, bandFirst), picture.width, bandRows, picture.stride},
                       columns.data(), middle);
        VerticalPass({middle.data, middle.width, middle.height, middle.stride},
                     Shifted(bandTaps, bandTaps + bandHeight, bandFirst).data(), bandOut);
      } else {
        buffer.resize(static_cast<std::size_t>(bandHeight) * middleColumns * 4);
        const MutablePixels middle{buffer.data(), middleColumns, bandHeight,
                                   static_cast<std::ptrdiff_t>(middleColumns) * 4};
        VerticalPass(sourceColumns, bandTaps, middle);
        HorizontalPass({middle.data, middle.width, middle.height, middle.stride},
                       shiftedColumns.data(), bandOut);
      }
    }
  }
  for (int32_t y = 0; y < height; ++y) {
    MakeOpaque(RowOf(out, y), width);
  }
}

void DrawTiled(const WallpaperLayout& layout, const ConstPixels& picture,
               const MutablePixels& canvas) {
  if (layout.tileWidth <= 0 || layout.tileHeight <= 0 || picture.width <= 0 ||
      picture.height <= 0) {
    return;
  }
  // A picture decoded at another size is first brought to the tile's size;
  // only the part of one tile that can be on the canvas is made.
  ConstPixels tile = picture;
  std::vector<uint8_t> resized;
  if (picture.width != layout.tileWidth || picture.height != layout.tileHeight) {
    const int32_t width = std::min(layout.tileWidth, canvas.width);
    const int32_t height = std::min(layout.tileHeight, canvas.height);
    resized.resize(static_cast<std::size_t>(width) * height * 4);
    const MutablePixels made{resized.data(), width, height, static_cast<std::ptrdiff_t>(width) * 4};
    DrawScaled(picture, {0, 0, layout.tileWidth, layout.tileHeight}, made);
    tile = {made.data, made.width, made.height, made.stride};
  }
  const int32_t width = static_cast<int32_t>(
      std::min<int64_t>(canvas.width, static_cast<int64_t>(layout.columns) * layout.tileWidth));
  const int32_t height = static_cast<int32_t>(
      std::min<int64_t>(canvas.height, static_cast<int64_t>(layout.rows) * layout.tileHeight));
  // The first row of tiles is made row by row, each row doubling what it
  // has so far; every later row is the row one tile higher. A tiny tile
  // costs no more copies than a large one.
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* out = RowOf(canvas, y);
    if (y >= layout.tileHeight) {
      std::memcpy(out, RowOf(canvas, y - layout.tileHeight), rowBytes);
      continue;
    }
    const int32_t first = std::min(layout.tileWidth, width);
    std::memcpy(out, RowOf(tile, y), static_cast<std::size_t>(first) * 4);
    for (int32_t done = first; done < width;) {
      const int32_t run = std::min(done, width - done);
      std::memcpy(out + static_cast<std::ptrdiff_t>(done) * 4, out,
                  static_cast<std::size_t>(run) * 4);
      done += run;
    }
    MakeOpaque(out, width);
  }
}

}  // namespace

WallpaperLayout LayOutWallpaper(int32_t screenWidth, int32_t screenHeight, int32_t pictureWidth,
                                int32_t pictureHeight, uint8_t style) {
  WallpaperLayout layout;
  if (screenWidth <= 0 || screenHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
    return layout;
  }
  const Ratio one{1, 1};
  const Ratio toWidth{screenWidth, pictureWidth};
  const Ratio toHeight{screenHeight, pictureHeight};
  Ratio scale = one;
  // Style codes as TWallpaperStyle numbers them; any other code is centred.
  switch (style) {
    case wsStretch:
      layout.kind = WallpaperLayout::Kind::Single;
      layout.target = {0, 0, screenWidth, screenHeight};
      return layout;
    case wsTile:
      layout.kind = WallpaperLayout::Kind::Tiled;
      layout.tileWidth = pictureWidth;
      layout.tileHeight = pictureHeight;
      layout.columns = ClampToInt32(int64_t{screenWidth} / pictureWidth + 1);
      layout.rows = ClampToInt32(int64_t{screenHeight} / pictureHeight + 1);
      return layout;
    case wsFitWidth:
      scale = std::min(one, toWidth, Less);
      break;
    case wsFitHeight:
      scale = std::min(one, toHeight, Less);
      break;
    case wsFitScreen:
      scale = std::min({one, toWidth, toHeight}, Less);
      break;
    case wsCenter:
    default:
      break;
  }
  layout.kind = WallpaperLayout::Kind::Single;
  layout.target = Centred(screenWidth, screenHeight, pictureWidth, pictureHeight, scale);
  if (layout.target.Empty()) {
    layout = {};  // shrunk below one pixel
  }
  return layout;
}

DrawnSize DrawnPictureSize(const WallpaperLayout& layout) {
  switch (layout.kind) {
    case WallpaperLayout::Kind::Single:
      return {layout.target.Width(), layout.target.Height()};
    case WallpaperLayout::Kind::Tiled:
      return {layout.tileWidth, layout.tileHeight};
    case WallpaperLayout::Kind::Nothing:
      break;
  }
  return {};
}

PixelRect ShownPart(const WallpaperLayout& layout, int32_t canvasWidth, int32_t canvasHeight,
                    int32_t pictureWidth, int32_t pictureHeight) {
  const PixelRect whole{0, 0, pictureWidth, pictureHeight};
  switch (layout.kind) {
    case WallpaperLayout::Kind::Single: {
      const PixelRect& target = layout.target;
      if (target.Width() != pictureWidth || target.Height() != pictureHeight) {
        return whole;
      }
      const PixelRect shown{std::max(target.left, 0), std::max(target.top, 0),
                            std::min(target.right, canvasWidth),
                            std::min(target.bottom, canvasHeight)};
      if (shown.Empty()) {
        return whole;
      }
      return {shown.left - target.left, shown.top - target.top, shown.right - target.left,
              shown.bottom - target.top};
    }
    case WallpaperLayout::Kind::Tiled:
      if (layout.tileWidth != pictureWidth || layout.tileHeight != pictureHeight ||
          canvasWidth <= 0 || canvasHeight <= 0) {
        return whole;
      }
      // Tiles start at the top-left corner: a tile wider or higher than the
      // canvas shows its top-left part once.
      return {0, 0, std::min(pictureWidth, canvasWidth), std::min(pictureHeight, canvasHeight)};
    case WallpaperLayout::Kind::Nothing:
      break;
  }
  return whole;
}

WallpaperLayout LayoutOfPart(const WallpaperLayout& layout, const PixelRect& part) {
  WallpaperLayout cut = layout;
  switch (layout.kind) {
    case WallpaperLayout::Kind::Single:
      cut.target = {layout.target.left + part.left, layout.target.top + part.top,
                    layout.target.left + part.right, layout.target.top + part.bottom};
      break;
    case WallpaperLayout::Kind::Tiled:
      // Only a tile larger than the canvas is cut, and then it is not
      // repeated in that direction.
      cut.tileWidth = part.Width();
      cut.tileHeight = part.Height();
      break;
    case WallpaperLayout::Kind::Nothing:
      break;
  }
  return cut;
}

void DrawWallpaper(const WallpaperLayout& layout, const ConstPixels& picture,
                   const MutablePixels& canvas) {
  if (picture.data == nullptr || canvas.data == nullptr || canvas.width <= 0 ||
      canvas.height <= 0) {
    return;
  }
  switch (layout.kind) {
    case WallpaperLayout::Kind::Single:
      DrawScaled(picture, layout.target, canvas);
      break;
    case WallpaperLayout::Kind::Tiled:
      DrawTiled(layout, picture, canvas);
      break;
    case WallpaperLayout::Kind::Nothing:
      break;
  }
}

}  // namespace seltane
