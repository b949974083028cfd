#include "platform/PictureHeader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "tests/support/PictureBytes.h"

namespace seltane {
namespace {

using namespace testing::picture_bytes;

// What the examination says, in a form that prints.
struct Seen {
  PictureError verdict = PictureError::None;
  PictureFormat format = PictureFormat::Jpeg;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Seen&) const = default;
};
void PrintTo(const Seen& seen, std::ostream* out) {
  *out << PictureErrorText(seen.verdict) << ", format " << static_cast<int>(seen.format) << ", "
       << seen.width << " x " << seen.height;
}

Seen Look(const Bytes& file) {
  const PictureHeaderResult result = ExaminePicture(file);
  if (result.verdict != PictureError::None) {
    return {result.verdict};
  }
  return {PictureError::None, result.header.format, result.header.width, result.header.height};
}
Seen Shows(PictureFormat format, int32_t width, int32_t height) {
  return {PictureError::None, format, width, height};
}
Seen Refuses(PictureError verdict) {
  return {verdict};
}
constexpr PictureError Unsupported = PictureError::Unsupported;
constexpr PictureError Damaged = PictureError::Damaged;
constexpr PictureError TooLarge = PictureError::TooLarge;
constexpr PictureError NotAPicture = PictureError::NotAPicture;

// ---- JPEG ----

TEST(PictureHeader, JpegFrameHeadersOfEveryDecodedCodingAreRead) {
  EXPECT_EQ(Look(Jpeg({0xC0, 640, 480})), Shows(PictureFormat::Jpeg, 640, 480));
  EXPECT_EQ(Look(Jpeg({0xC1, 1, 65500})), Shows(PictureFormat::Jpeg, 1, 65500));
  EXPECT_EQ(Look(Jpeg({0xC2, 6000, 4000})), Shows(PictureFormat::Jpeg, 6000, 4000));
  EXPECT_EQ(Look(Jpeg({0xC9, 320, 200})), Shows(PictureFormat::Jpeg, 320, 200));  // arithmetic
  EXPECT_EQ(Look(Jpeg({0xCA, 320, 200})), Shows(PictureFormat::Jpeg, 320, 200));
  EXPECT_EQ(Look(Jpeg({0xC0, 65500, 65500})), Shows(PictureFormat::Jpeg, 65500, 65500));
  JpegShape grey{0xC0, 7, 9};
  grey.sampling = {0x11};
  EXPECT_EQ(Look(Jpeg(grey)), Shows(PictureFormat::Jpeg, 7, 9));
}

// What the decoder cannot show is refused when the picture is measured.
TEST(PictureHeader, JpegVariantsTheDecoderRefusesAreRefused) {
  struct Case {
    const char* name;
    JpegShape shape;
    PictureError verdict;
  };
  using shape = JpegShape;
  const auto with = [](JpegShape s, auto change) {
    change(s);
    return s;
  };
  const Case cases[] = {
      {"lossless", shape(0xC3, 64, 64), Unsupported},
      {"hierarchical", shape(0xC5, 64, 64), Unsupported},
      {"arithmetic lossless", shape(0xCB, 64, 64), Unsupported},
      {"12-bit", with(shape(0xC0, 64, 64), [](JpegShape& s) { s.precision = 12; }), Unsupported},
      {"2 components",
       with(shape(0xC0, 64, 64),
            [](JpegShape& s) {
              s.sampling = {0x11, 0x11};
            }),
       Unsupported},
      {"11 components",
       with(shape(0xC0, 64, 64), [](JpegShape& s) { s.sampling.assign(11, 0x11); }), Unsupported},
      {"65501 wide", shape(0xC0, 65501, 10), TooLarge},
      {"65535 high", shape(0xC2, 10, 65535), TooLarge},
      {"3 to 2 sampling",
       with(shape(0xC0, 64, 64),
            [](JpegShape& s) {
              s.sampling = {0x31, 0x21, 0x11};
            }),
       Unsupported},
      {"sampling 0",
       with(shape(0xC0, 64, 64),
            [](JpegShape& s) {
              s.sampling = {0x10, 0x11, 0x11};
            }),
       Damaged},
      {"18 blocks a unit",
       with(shape(0xC0, 64, 64),
            [](JpegShape& s) {
              s.sampling = {0x44, 0x11, 0x11};
            }),
       Damaged},
      // Whole-picture coefficient buffers: 4:4:4 progressive needs 384 bytes
      // a pixel block, 12 GiB here; 4:2:0 at 6000 x 4000, 69 MiB.
      {"huge progressive", shape(0xC2, 65500, 65500), TooLarge},
      {"huge sequential in separate scans",
       with(shape(0xC0, 40000, 40000), [](JpegShape& s) { s.firstScan = {0}; }), TooLarge},
      {"huge sequential", shape(0xC0, 40000, 40000), PictureError::None},
      {"4:2:0 progressive",
       with(shape(0xC2, 6000, 4000),
            [](JpegShape& s) {
              s.sampling = {0x22, 0x11, 0x11};
            }),
       PictureError::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExaminePicture(Jpeg(c.shape)).verdict, c.verdict) << c.name;
  }
}

TEST(PictureHeader, JpegSegmentsBeforeTheFrameAreSkippedByTheirLengths) {
  Bytes file = Soi();
  PutSegment(file, 0xE1, 20000);  // EXIF
  PutSegment(file, 0xE2, 3000);   // ICC profile
  PutSegment(file, 0xFE, 0);      // empty comment
  PutSegment(file, 0xDD, 2);      // DRI
  // A DHT and a DAC table whose contents look like a frame header.
  Bytes lookalike;
  PutFrame(lookalike, {0xC0, 1, 1});
  for (uint8_t marker : {0xC4, 0xCC}) {
    Append(file, {0xFF, marker});
    PutBe16(file, static_cast<uint32_t>(lookalike.size() + 2));
    file.insert(file.end(), lookalike.begin(), lookalike.end());
  }
  PutFrameAndScan(file, {0xC0, 1920, 1080});
  EXPECT_EQ(Look(file), Shows(PictureFormat::Jpeg, 1920, 1080));
}

TEST(PictureHeader, JpegFillBytesStandaloneMarkersAndStrayBytesAreStepped) {
  Bytes file = Soi();
  Append(file, {0xFF, 0xFF, 0xFF});  // fill bytes before a marker
  PutSegment(file, 0xE0, 14);
  Append(file, {0xFF, 0xD0, 0xFF, 0xD7, 0xFF, 0x01});  // RST0, RST7, TEM
  Append(file, {0x00, 0x12, 0xFF, 0x00, 0x34});        // stray bytes and a stuffed zero
  Append(file, {0xFF, 0xFF});
  PutFrameAndScan(file, {0xC2, 800, 600});
  EXPECT_EQ(Look(file), Shows(PictureFormat::Jpeg, 800, 600));

  // Each stray run is one of libjpeg's warnings, and the decoder gives up
  // after a hundred.
  for (int runs : {100, 101}) {
    Bytes stray = Soi();
    for (int i = 0; i < runs; ++i) {
      Append(stray, {0x00});
      PutSegment(stray, 0xFE, 1);
    }
    PutFrameAndScan(stray, {0xC0, 8, 8});
    EXPECT_EQ(ExaminePicture(stray).verdict, runs == 100 ? PictureError::None : Damaged) << runs;
  }
}

TEST(PictureHeader, JpegsTheDecoderStopsOnAreRefused) {
  const auto withBefore = [](std::initializer_list<uint8_t> before) {
    Bytes file = Soi();
    Append(file, before);
    PutFrameAndScan(file, {0xC0, 640, 480});
    return file;
  };
  EXPECT_EQ(Look(withBefore({0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 63, 0})), Refuses(Damaged));
  EXPECT_EQ(Look(withBefore({0xFF, 0xD9})), Refuses(Damaged));                  // end of image
  EXPECT_EQ(Look(withBefore({0xFF, 0xD8})), Refuses(Damaged));                  // second SOI
  EXPECT_EQ(Look(withBefore({0xFF, 0xC8, 0x00, 0x02})), Refuses(Unsupported));  // JPG
  EXPECT_EQ(Look(withBefore({0xFF, 0xF0, 0x00, 0x02})), Refuses(Damaged));      // reserved
  EXPECT_EQ(Look(withBefore({0xFF, 0xE0, 0x00, 0x01})), Refuses(Damaged));      // length below 2
  EXPECT_EQ(Look(withBefore({0xFF, 0xDD, 0x00, 0x05, 0, 0, 0})), Refuses(Damaged));  // DRI
  EXPECT_EQ(Look(Jpeg({0xC0, 0, 480})), Refuses(Damaged));
  EXPECT_EQ(Look(Jpeg({0xC0, 640, 0})), Refuses(Damaged));  // height given later by DNL

  Bytes twoFrames = Soi();
  PutFrame(twoFrames, {0xC0, 8, 8});
  PutFrameAndScan(twoFrames, {0xC0, 8, 8});
  EXPECT_EQ(Look(twoFrames), Refuses(Damaged));

  JpegShape strangeScan{0xC0, 8, 8};
  strangeScan.firstScan = {0, 0};  // one component twice
  EXPECT_EQ(Look(Jpeg(strangeScan)), Refuses(Damaged));

  Bytes badLength = Jpeg({0xC0, 640, 480});
  badLength[2 + 18 + 71 + 3] = 16;  // the frame's length, one short for 3 components
  EXPECT_EQ(Look(badLength), Refuses(Damaged));

  Bytes noScan = Soi();
  PutFrame(noScan, {0xC0, 8, 8});
  EXPECT_EQ(Look(noScan), Refuses(Damaged));
  EXPECT_EQ(Look({0xFF, 0xD9, 0xFF, 0xC0}), Refuses(NotAPicture));  // not SOI first
}

// ---- Windows bitmaps ----

TEST(PictureHeader, BitmapsOfEveryHeaderKind) {
  EXPECT_EQ(Look(Bitmap({12, 300, 2})), Shows(PictureFormat::Bitmap, 300, 2));
  EXPECT_EQ(Look(Bitmap({40, 102, 76})), Shows(PictureFormat::Bitmap, 102, 76));
  for (uint32_t infoSize : {52u, 56u, 108u, 124u}) {
    EXPECT_EQ(Look(Bitmap({infoSize, 3, 5})), Shows(PictureFormat::Bitmap, 3, 5)) << infoSize;
  }
  // A negative height stores the rows top-down; the size is the same.
  EXPECT_EQ(Look(Bitmap({40, 10, -7})), Shows(PictureFormat::Bitmap, 10, 7));
  BitmapShape rle{40, 10, 7, 8, 1};
  EXPECT_EQ(Look(Bitmap(rle)), Shows(PictureFormat::Bitmap, 10, 7));
}

TEST(PictureHeader, BitmapsTheDecoderRefusesAreRefused) {
  struct Case {
    BitmapShape shape;
    PictureError verdict;
  };
  const Case cases[] = {
      {{40, -5, 10}, Damaged},
      {{40, 0, 10}, Damaged},  // no pixels would be an all-black wallpaper
      {{40, 10, 0}, Damaged},
      {{12, 0, 10}, Damaged},
      {{40, 10, INT32_MIN}, Damaged},  // no positive counterpart
      {{64, 10, 10}, Unsupported},     // OS/2 2.x header
      {{41, 10, 10}, Unsupported},
      {{40, 10, 10, 7}, Unsupported},
      {{40, 10, 10, 24, 4}, Unsupported},  // an embedded JPEG
      {{40, 10, 10, 24, 5}, Unsupported},  // an embedded PNG
      {{40, 10, 10, 4, 1}, Unsupported},   // RLE8 needs 8 bits
      {{40, 10, -10, 8, 1}, Unsupported},  // run lengths are stored bottom-up
      {{40, 10, 10, 24, 3}, Unsupported},  // bit fields need 16 or 32 bits
      {{40, 9000, 8000}, TooLarge},
      {{40, 100000, -100000}, TooLarge},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExaminePicture(Bitmap(c.shape)).verdict, c.verdict)
        << c.shape.width << " x " << c.shape.height << ", " << c.shape.bits << " bits, "
        << c.shape.compression;
  }
  // The rows must be there; the last may lack its padding.
  Bytes cut = Bitmap({40, 3, 3});
  cut.pop_back();
  EXPECT_EQ(Look(cut), Shows(PictureFormat::Bitmap, 3, 3));
  cut.resize(cut.size() - 3);
  EXPECT_EQ(Look(cut), Refuses(Damaged));
}

// ---- Icons ----

TEST(PictureHeader, IconsShowTheirLargestThenDeepestImage) {
  // The images' own headers decide, not the directory, whose depth is often 0.
  EXPECT_EQ(Look(Icon({{16, 16, 32}, {48, 48, 8}, {32, 32, 32}})),
            Shows(PictureFormat::Icon, 48, 48));
  EXPECT_EQ(Look(Icon({{32, 32, 4}, {32, 32, 24}, {32, 32, 8}})).width, 32);
  for (const auto& images : {std::vector<IconImageShape>{{32, 32, 4}, {32, 32, 32}},
                             std::vector<IconImageShape>{{32, 32, 32}, {32, 32, 4}}}) {
    const PictureHeaderResult result = ExaminePicture(Icon(images));
    ASSERT_EQ(result.verdict, PictureError::None);
    EXPECT_EQ(result.header.dib.bitCount, 32);
  }
  // PNG images are passed over; an icon of PNG images alone is not shown.
  const IconImageShape png{64, 64, 32, true};
  EXPECT_EQ(Look(Icon({png, {16, 16, 8}})), Shows(PictureFormat::Icon, 16, 16));
  EXPECT_EQ(Look(Icon({png})), Refuses(Unsupported));

  EXPECT_EQ(Look(Icon({})), Refuses(Damaged));
  EXPECT_EQ(Look(Icon({{32, 32, 4}}, 2)), Refuses(NotAPicture));  // a cursor
  Bytes cut = Icon({{32, 32, 8}});
  cut.resize(cut.size() - 32 * 32 - 128);  // into the colours
  EXPECT_EQ(Look(cut), Refuses(Damaged));
}

// ---- PNG, GIF, TIFF ----

TEST(PictureHeader, PngSizeComesFromItsHeaderChunk) {
  struct Case {
    const char* name;
    Bytes file;
    Seen seen;
  };
  const auto with = [](PngShape shape, auto change) {
    change(shape);
    return Png(shape);
  };
  Bytes damagedCrc = Png({640, 480});
  damagedCrc[20] ^= 1;  // a bit of the width, under the chunk's CRC
  const Bytes signature(damagedCrc.begin(), damagedCrc.begin() + 8);
  Bytes notFirst = Png({640, 480});
  notFirst[12] = 'i';  // the first chunk is no IHDR
  const Case cases[] = {
      {"RGBA", Png({6000, 4000}), Shows(PictureFormat::Png, 6000, 4000)},
      {"grey 1 bit", Png({1, 7, 0, 1}), Shows(PictureFormat::Png, 1, 7)},
      {"palette", Png({300, 200, 3, 4}), Shows(PictureFormat::Png, 300, 200)},
      {"RGB 16", Png({64, 32, 2, 16}), Shows(PictureFormat::Png, 64, 32)},
      {"grey and alpha", Png({5, 5, 4, 8}), Shows(PictureFormat::Png, 5, 5)},
      {"interlaced", with(PngShape{99, 77}, [](PngShape& s) { s.interlace = 1; }),
       Shows(PictureFormat::Png, 99, 77)},
      {"damaged header", damagedCrc, Refuses(Damaged)},
      {"header not first", notFirst, Refuses(Damaged)},
      {"RGB of 4 bits", Png({8, 8, 2, 4}), Refuses(Damaged)},
      {"palette of 16 bits", Png({8, 8, 3, 16}), Refuses(Damaged)},
      {"colour type 5", Png({8, 8, 5, 8}), Refuses(Damaged)},
      {"interlace 2", with(PngShape{8, 8}, [](PngShape& s) { s.interlace = 2; }), Refuses(Damaged)},
      {"no width", Png({0, 8}), Refuses(Damaged)},
      {"beyond 31 bits", Png({0x80000000u, 8}), Refuses(Damaged)},
      {"over libpng's million", Png({1000001, 1, 0, 1}), Refuses(TooLarge)},
      // 20,000 x 20,000 RGBA of 16 bits would hold 3 GiB while decoding.
      {"too many samples", Png({20000, 20000, 6, 16}), Refuses(TooLarge)},
      {"signature alone", signature, Refuses(Damaged)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Look(c.file), c.seen) << c.name;
  }
}

TEST(PictureHeader, GifSizeIsItsScreenHoldingTheFirstImage) {
  GifShape offset{640, 480};
  offset.frameLeft = 10;
  offset.frameTop = 20;
  offset.frameWidth = 100;
  offset.frameHeight = 50;
  const PictureHeaderResult result = ExaminePicture(Gif(offset));
  ASSERT_EQ(result.verdict, PictureError::None);
  EXPECT_EQ(result.header.format, PictureFormat::Gif);
  EXPECT_EQ(result.header.width, 640);
  EXPECT_EQ(result.header.frame, (PicturePart{10, 20, 100, 50}));

  // A screen of 0 x 0 takes the first image's extent; an image reaching
  // beyond the screen enlarges it.
  GifShape zero{0, 0};
  zero.frameWidth = 30;
  zero.frameHeight = 20;
  EXPECT_EQ(Look(Gif(zero)), Shows(PictureFormat::Gif, 30, 20));
  zero.frameLeft = 5;
  zero.screenWidth = 10;
  zero.screenHeight = 40;
  EXPECT_EQ(Look(Gif(zero)), Shows(PictureFormat::Gif, 35, 40));

  // Extensions before the image (a comment of several sub-blocks, the
  // looping block) are passed over.
  GifShape extended{64, 48};
  extended.transparent = 1;
  Append(extended.extensions, {0x21, 0xFE, 255});
  extended.extensions.resize(extended.extensions.size() + 255, 'c');
  Append(extended.extensions, {3, 'e', 'n', 'd', 0});
  Append(extended.extensions,
         {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
  EXPECT_EQ(Look(Gif(extended)), Shows(PictureFormat::Gif, 64, 48));

  GifShape empty{64, 48};
  empty.frameWidth = 0;
  EXPECT_EQ(Look(Gif(empty)), Refuses(Damaged));
  Bytes noImage = Gif({8, 8});
  noImage.resize(13 + 768);
  noImage.push_back(0x3B);  // the trailer at once
  EXPECT_EQ(Look(noImage), Refuses(Damaged));
  noImage.back() = 0x21;  // an extension that never ends
  EXPECT_EQ(Look(noImage), Refuses(Damaged));
}

TEST(PictureHeader, TiffSizeComesFromItsFirstDirectory) {
  struct Case {
    const char* name;
    TiffShape shape;
    PictureError verdict;
  };
  const auto with = [](TiffShape shape, auto change) {
    change(shape);
    return shape;
  };
  using shape = TiffShape;
  const Case cases[] = {
      {"RGB", shape(640, 480), PictureError::None},
      {"big-endian", with(shape(640, 480), [](TiffShape& s) { s.bigEndian = true; }),
       PictureError::None},
      {"RGBA of 16 bits", with(shape(9, 9), [](TiffShape& s) { s.samples = 4, s.bits = 16; }),
       PictureError::None},
      {"grey, LZW",
       with(shape(9, 9), [](TiffShape& s) { s.samples = 1, s.photometric = 1, s.compression = 5; }),
       PictureError::None},
      {"CMYK, deflate",
       with(shape(9, 9), [](TiffShape& s) { s.samples = 4, s.photometric = 5, s.compression = 8; }),
       PictureError::None},
      {"old-style JPEG", with(shape(9, 9), [](TiffShape& s) { s.compression = 6; }), Unsupported},
      {"separate planes", with(shape(9, 9), [](TiffShape& s) { s.planar = 2; }), Unsupported},
      {"CIE Lab", with(shape(9, 9), [](TiffShape& s) { s.photometric = 8; }), Unsupported},
      {"32-bit samples", with(shape(9, 9), [](TiffShape& s) { s.bits = 32; }), Unsupported},
      {"palette of 3 samples", with(shape(9, 9), [](TiffShape& s) { s.photometric = 3; }),
       Unsupported},
      {"no strips", with(shape(9, 9), [](TiffShape& s) { s.strips = false; }), Damaged},
      {"no width", shape(0, 9), Damaged},
      {"huge", shape(20000, 20000), TooLarge},
  };
  for (const Case& c : cases) {
    const PictureHeaderResult result = ExaminePicture(Tiff(c.shape));
    EXPECT_EQ(result.verdict, c.verdict) << c.name;
    if (c.verdict == PictureError::None) {
      EXPECT_EQ(result.header.width, static_cast<int32_t>(c.shape.width)) << c.name;
      EXPECT_EQ(result.header.height, static_cast<int32_t>(c.shape.height)) << c.name;
    }
  }
  Bytes big = Tiff({8, 8});
  big[2] = 43;  // BigTIFF
  EXPECT_EQ(Look(big), Refuses(Unsupported));
  Bytes elsewhere = Tiff({8, 8});
  elsewhere[6] = 1;  // the directory beyond the end
  EXPECT_EQ(Look(elsewhere), Refuses(Damaged));
}

// ---- Metafiles ----

TEST(PictureHeader, EnhancedMetafilesUseTheFrameOnTheReferenceDevice) {
  EXPECT_EQ(Look(Emf({})), Shows(PictureFormat::EnhancedMetafile, 672, 950));  // 950.4

  EmfHeader offset;
  offset.frame[0] = -1000;
  offset.frame[1] = 500;
  offset.frame[2] = 1500;  // 25 mm: 80 pixels
  offset.frame[3] = 1343;  // 8.43 mm: 26.976 pixels
  EXPECT_EQ(Look(Emf(offset)), Shows(PictureFormat::EnhancedMetafile, 80, 27));

  EmfHeader half;
  half.device[0] = 3;
  half.millimetres[0] = 2;
  half.frame[2] = 100;  // 1 mm at 1.5 pixels a millimetre: halves round up
  EXPECT_EQ(Look(Emf(half)).width, 2);

  EmfHeader large;
  large.frame[2] = 10000 * 100;  // 10 m at 3.2 pixels a millimetre
  EXPECT_EQ(Look(Emf(large)), Refuses(TooLarge));
  EmfHeader huge;
  huge.frame[0] = INT32_MIN;
  huge.frame[2] = INT32_MAX;
  huge.device[0] = INT32_MAX;
  huge.millimetres[0] = 1;
  EXPECT_EQ(Look(Emf(huge)), Refuses(TooLarge));  // beyond 32 bits, without overflowing
}

TEST(PictureHeader, EnhancedMetafilesWithoutAUsableSize) {
  EmfHeader signature;
  signature.signature = 0x464D4521;
  EXPECT_EQ(Look(Emf(signature)), Refuses(NotAPicture));
  EmfHeader flat;
  flat.frame[3] = 0;
  EXPECT_EQ(Look(Emf(flat)), Refuses(Damaged));
  EmfHeader reversed;
  reversed.frame[0] = 30000;
  EXPECT_EQ(Look(Emf(reversed)), Refuses(Damaged));
  EmfHeader noMillimetres;
  noMillimetres.millimetres[1] = 0;
  EXPECT_EQ(Look(Emf(noMillimetres)), Refuses(Damaged));
  EmfHeader tiny;
  tiny.frame[2] = 10;  // 0.1 mm: 0.32 pixels
  EXPECT_EQ(Look(Emf(tiny)), Refuses(Damaged));

  Bytes shortRecord = Emf({});
  shortRecord[4] = 80;  // a header record too short for its fields
  EXPECT_EQ(Look(shortRecord), Refuses(Damaged));
}

TEST(PictureHeader, PlaceableMetafilesAreShownAt96PixelsAnInch) {
  EXPECT_EQ(Look(PlaceableWmf(0, 0, 1440, 720, 1440)),
            Shows(PictureFormat::PlaceableMetafile, 96, 48));
  EXPECT_EQ(Look(PlaceableWmf(-100, -50, 900, 955, 1000)),  // 96.48 pixels high
            Shows(PictureFormat::PlaceableMetafile, 96, 96));
  EXPECT_EQ(Look(PlaceableWmf(0, 0, 5, 2047, 16)),  // 7.5 rounds up
            Shows(PictureFormat::PlaceableMetafile, 30, 12282));
  EXPECT_EQ(Look(PlaceableWmf(-32768, -32768, 32767, 32767, 1)), Refuses(TooLarge));

  EXPECT_EQ(Look(PlaceableWmf(0, 0, 100, 100, 0)), Refuses(Damaged));
  EXPECT_EQ(Look(PlaceableWmf(100, 0, 0, 100, 96)), Refuses(Damaged));
  EXPECT_EQ(Look(PlaceableWmf(0, 0, 1, 1, 1440)), Refuses(Damaged));  // under half a pixel

  // A metafile without the placeable header has no size.
  Bytes plain = PlaceableWmf(0, 0, 100, 100, 96);
  plain.erase(plain.begin(), plain.begin() + 22);
  EXPECT_EQ(Look(plain), Refuses(NotAPicture));
}

TEST(PictureHeader, OtherFilesAreNoPictures) {
  EXPECT_EQ(Look({}), Refuses(NotAPicture));
  EXPECT_EQ(Look({'G', 'I', 'F', '8', '8', 'a', 1, 0, 1, 0}), Refuses(NotAPicture));
  EXPECT_EQ(Look({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\r'}), Refuses(NotAPicture));
  EXPECT_EQ(Look({'I', 'I', 0, 42}), Refuses(NotAPicture));  // the byte order's wrong way round
  EXPECT_EQ(Look({'G'}), Refuses(NotAPicture));
  EXPECT_EQ(Look(Bytes(100, 0)), Refuses(NotAPicture));
}

// A file cut before the end of its header is refused, and one cut after it
// is shown as the whole file is. Each prefix is copied into a buffer of its
// own size, so the sanitizer sees any read past it.
TEST(PictureHeader, CutFilesAreRefusedUntilTheirHeaderIsWhole) {
  struct Case {
    const char* name;
    Bytes file;
    std::size_t headerEnd;  // the shortest prefix that is shown
  };
  const Bytes icon = Icon({{32, 32, 8}});
  const Bytes tiff = Tiff({4, 4});
  const Case cases[] = {
      {"png", Png({4, 4}), 33},
      {"gif", Gif({4, 4}), 13 + 768 + 9},  // through the first image's size
      {"tiff", tiff, tiff.size() - 4},     // the directory is at the end
      // SOI, APP0, DQT, the frame, DHT, the scan through its components.
      {"jpeg", Jpeg({0xC0, 640, 480}), 2 + 18 + 71 + 19 + 34 + 11},
      {"core bitmap", Bitmap({12, 4, 4}), 26 + 12 * 3 + 12},
      {"bitmap", Bitmap({40, 4, -4}), 54 + 12 * 3 + 12},
      {"icon", icon, icon.size()},  // the image is read whole
      {"emf", Emf({}), 88},
      {"placeable wmf", PlaceableWmf(0, 0, 96, 96, 96), 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Seen whole = Look(c.file);
    ASSERT_EQ(whole.verdict, PictureError::None);
    for (std::size_t n = 0; n < c.file.size(); ++n) {
      const Seen cut = Look(Bytes(c.file.begin(), c.file.begin() + static_cast<std::ptrdiff_t>(n)));
      if (n >= c.headerEnd) {
        ASSERT_EQ(cut, whole) << n;
      } else {
        ASSERT_NE(cut.verdict, PictureError::None) << n;
      }
    }
  }
}

// The file as the Windows caller reads it, counting what was read.
struct CountingReader {
  const Bytes& file;
  int reads = 0;
  std::size_t bytesRead = 0;
  std::size_t largestRequest = 0;

  std::size_t operator()(uint64_t offset, std::span<uint8_t> into) {
    ++reads;
    largestRequest = std::max(largestRequest, into.size());
    if (offset >= file.size()) {
      return 0;
    }
    const std::size_t count = std::min<std::size_t>(into.size(), file.size() - offset);
    std::memcpy(into.data(), file.data() + offset, count);
    bytesRead += count;
    return count;
  }
};

// Photographs edited in common tools carry several MiB of metadata before
// their frame header: each segment costs one small read of its header.
TEST(PictureHeader, LargeMetadataIsWalkedWithOneSmallReadPerSegment) {
  const int segments = 128;  // 8 MiB
  Bytes file = JpegAfterLargeSegments(segments, {0xC2, 6000, 4000});
  ASSERT_GT(file.size(), std::size_t{8} << 20);
  file.resize(file.size() + 2000000, 0x5A);  // the compressed picture

  CountingReader reader{file};
  const PictureHeaderResult result =
      ExaminePicture(std::ref(reader), [&] { return uint64_t{file.size()}; });
  EXPECT_EQ(result.verdict, PictureError::None);
  EXPECT_EQ(result.header.width, 6000);
  EXPECT_LE(reader.reads, segments + 1);
  EXPECT_LE(reader.bytesRead, FirstPictureHeaderRead + std::size_t{1024} * segments);

  const Bytes small = Bitmap({40, 2, 2});
  CountingReader smallReader{small};
  EXPECT_EQ(ExaminePicture(std::ref(smallReader), [&] { return uint64_t{small.size()}; }).verdict,
            PictureError::None);
  EXPECT_EQ(smallReader.reads, 1);

  // A TIFF's directory after 3 MiB of pixels, and the depths before it:
  // a small read each.
  const Bytes tiff = Tiff({1024, 1024});
  CountingReader tiffReader{tiff};
  EXPECT_EQ(ExaminePicture(std::ref(tiffReader), [] { return uint64_t{0}; }).verdict,
            PictureError::None);
  EXPECT_EQ(tiffReader.reads, 3);
  EXPECT_LE(tiffReader.bytesRead, FirstPictureHeaderRead + 2048);

  // Counts from a damaged file never size a read, though the file's size
  // is not known: a TIFF whose depths claim 2 GiB, an icon of 65,535 images.
  Bytes depths = Tiff({8, 8});
  const uint32_t directory = depths[4] | depths[5] << 8 | depths[6] << 16;
  depths[directory + 2 + 2 * 12 + 7] = 0x40;  // the third entry's count, 258
  Bytes icons = Icon({{2, 2, 32}});
  icons[4] = icons[5] = 0xFF;
  for (const Bytes* hostile : {&depths, &icons}) {
    CountingReader hostileReader{*hostile};
    EXPECT_EQ(ExaminePicture(std::ref(hostileReader), [] { return uint64_t{0}; }).verdict, Damaged);
    EXPECT_LE(hostileReader.largestRequest, std::size_t{1} << 20);
  }

  Bytes cut = JpegAfterLargeSegments(3, {0xC0, 64, 64});
  cut.resize(100000);
  CountingReader cutReader{cut};
  EXPECT_EQ(ExaminePicture(std::ref(cutReader), [&] { return uint64_t{cut.size()}; }).verdict,
            Damaged);
  EXPECT_EQ(ExaminePicture([](uint64_t, std::span<uint8_t>) { return std::size_t{0}; },
                           [] { return uint64_t{5000}; })
                .verdict,
            NotAPicture);  // a file that cannot be read
}

}  // namespace
}  // namespace seltane
