#include "platform/PictureHeader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <ostream>
#include <vector>

namespace seltane {

// For test messages; found by argument-dependent lookup.
void PrintTo(const PictureHeaderSize& size, std::ostream* out) {
  *out << "format " << static_cast<int>(size.format) << ", " << size.width << " x " << size.height;
}

namespace {

using Bytes = std::vector<uint8_t>;
using Status = PictureHeaderStatus;

void Append(Bytes& to, std::initializer_list<uint8_t> bytes) {
  to.insert(to.end(), bytes);
}
void PutBe16(Bytes& to, uint32_t v) {
  Append(to, {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
}
void PutLe16(Bytes& to, uint32_t v) {
  Append(to, {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
}
void PutLe32(Bytes& to, uint32_t v) {
  PutLe16(to, v & 0xFFFF);
  PutLe16(to, v >> 16);
}

// ---- JPEG ----

Bytes Soi() {
  return {0xFF, 0xD8};
}
// A marker segment with `payload` bytes after its length field.
void PutSegment(Bytes& to, uint8_t marker, std::size_t payload, uint8_t fill = 0x11) {
  Append(to, {0xFF, marker});
  PutBe16(to, static_cast<uint32_t>(payload + 2));
  to.insert(to.end(), payload, fill);
}
void PutFrame(Bytes& to, uint8_t marker, uint32_t width, uint32_t height, uint8_t components = 3) {
  Append(to, {0xFF, marker});
  PutBe16(to, 8 + 3u * components);
  to.push_back(8);
  PutBe16(to, height);
  PutBe16(to, width);
  to.push_back(components);
  for (uint8_t c = 1; c <= components; ++c) {
    Append(to, {c, 0x11, 0});
  }
}
// What follows the frame in a real file: tables, the scan, the end.
void PutRest(Bytes& to) {
  PutSegment(to, 0xC4, 30);
  PutSegment(to, 0xDA, 10);
  to.insert(to.end(), 40, 0x5A);
  Append(to, {0xFF, 0xD9});
}
Bytes Jpeg(uint8_t frameMarker, uint32_t width, uint32_t height) {
  Bytes file = Soi();
  PutSegment(file, 0xE0, 14);  // JFIF
  PutSegment(file, 0xDB, 67);  // DQT
  PutFrame(file, frameMarker, width, height);
  PutRest(file);
  return file;
}

// ---- Windows bitmaps ----

Bytes Bitmap(uint32_t infoSize, int32_t width, int32_t height) {
  Bytes file = {'B', 'M'};
  PutLe32(file, 0);  // file size, not read
  PutLe32(file, 0);
  PutLe32(file, 14 + infoSize);
  PutLe32(file, infoSize);
  if (infoSize == 12) {
    PutLe16(file, static_cast<uint32_t>(width));
    PutLe16(file, static_cast<uint32_t>(height));
    PutLe16(file, 1);
    PutLe16(file, 24);
  } else {
    PutLe32(file, static_cast<uint32_t>(width));
    PutLe32(file, static_cast<uint32_t>(height));
    PutLe16(file, 1);
    PutLe16(file, 24);
    file.resize(14 + infoSize);
  }
  file.insert(file.end(), 12, 0x80);  // a few pixels
  return file;
}

// ---- Icons ----

struct IconEntry {
  uint8_t width, height;
  uint16_t bits;
};
Bytes Icon(std::initializer_list<IconEntry> entries, uint16_t type = 1) {
  Bytes file;
  PutLe16(file, 0);
  PutLe16(file, type);
  PutLe16(file, static_cast<uint32_t>(entries.size()));
  for (const IconEntry& e : entries) {
    Append(file, {e.width, e.height, 0, 0});
    PutLe16(file, 1);
    PutLe16(file, e.bits);
    PutLe32(file, 40);
    PutLe32(file, 0);
  }
  file.insert(file.end(), 40, 0);  // the start of an image
  return file;
}

// ---- Metafiles ----

struct EmfHeader {
  int32_t frame[4] = {0, 0, 21000, 29700};  // A4 in 0.01 mm
  int32_t device[2] = {1024, 768};
  int32_t millimetres[2] = {320, 240};  // 3.2 pixels a millimetre
  uint32_t signature = 0x464D4520;
};
Bytes Emf(const EmfHeader& h) {
  Bytes file;
  PutLe32(file, 1);    // EMR_HEADER
  PutLe32(file, 108);  // record size
  for (int32_t v : {0, 0, 500, 700}) {
    PutLe32(file, static_cast<uint32_t>(v));  // rclBounds
  }
  for (int32_t v : h.frame) {
    PutLe32(file, static_cast<uint32_t>(v));
  }
  PutLe32(file, h.signature);
  PutLe32(file, 0x10000);  // version
  PutLe32(file, 128);      // bytes
  PutLe32(file, 2);        // records
  PutLe32(file, 1);        // handles, reserved
  PutLe32(file, 0);        // description
  PutLe32(file, 0);
  PutLe32(file, 0);  // palette entries
  for (int32_t v : {h.device[0], h.device[1], h.millimetres[0], h.millimetres[1]}) {
    PutLe32(file, static_cast<uint32_t>(v));
  }
  file.resize(108);
  PutLe32(file, 14);  // EMR_EOF
  PutLe32(file, 20);
  file.resize(128);
  return file;
}

Bytes PlaceableWmf(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch) {
  Bytes file;
  PutLe32(file, 0x9AC6CDD7);
  PutLe16(file, 0);
  for (int16_t v : {left, top, right, bottom}) {
    PutLe16(file, static_cast<uint16_t>(v));
  }
  PutLe16(file, inch);
  PutLe32(file, 0);
  uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) {
    checksum ^= static_cast<uint16_t>(file[i] | file[i + 1] << 8);
  }
  PutLe16(file, checksum);
  Append(file, {1, 0, 9, 0, 0, 3});  // the metafile header begins
  file.resize(file.size() + 12, 0);
  return file;
}

std::optional<PictureHeaderSize> SizeOf(const Bytes& file) {
  return PictureSizeFromBytes(file);
}

PictureHeaderSize Size(PictureFormat format, int32_t width, int32_t height) {
  return {format, width, height};
}

TEST(PictureHeader, JpegFrameHeadersOfEveryCodingAreRead) {
  EXPECT_EQ(SizeOf(Jpeg(0xC0, 640, 480)), Size(PictureFormat::Jpeg, 640, 480));
  EXPECT_EQ(SizeOf(Jpeg(0xC1, 1, 65535)), Size(PictureFormat::Jpeg, 1, 65535));
  EXPECT_EQ(SizeOf(Jpeg(0xC2, 4000, 3000)), Size(PictureFormat::Jpeg, 4000, 3000));  // progressive
  EXPECT_EQ(SizeOf(Jpeg(0xC9, 320, 200)), Size(PictureFormat::Jpeg, 320, 200));      // arithmetic
  EXPECT_EQ(SizeOf(Jpeg(0xCF, 65535, 65535)), Size(PictureFormat::Jpeg, 65535, 65535));

  Bytes grey = Soi();
  PutFrame(grey, 0xC0, 7, 9, 1);
  EXPECT_EQ(SizeOf(grey), Size(PictureFormat::Jpeg, 7, 9));
}

TEST(PictureHeader, JpegSegmentsBeforeTheFrameAreSkippedByTheirLengths) {
  Bytes file = Soi();
  PutSegment(file, 0xE1, 20000);  // EXIF
  PutSegment(file, 0xE2, 3000);   // ICC profile
  PutSegment(file, 0xFE, 0);      // empty comment
  PutSegment(file, 0xDD, 2);      // DRI
  // A DHT and a DAC table whose contents look like a frame header.
  Bytes lookalike;
  PutFrame(lookalike, 0xC0, 1, 1);
  for (uint8_t marker : {0xC4, 0xCC}) {
    Append(file, {0xFF, marker});
    PutBe16(file, static_cast<uint32_t>(lookalike.size() + 2));
    file.insert(file.end(), lookalike.begin(), lookalike.end());
  }
  PutFrame(file, 0xC0, 1920, 1080);
  PutRest(file);
  EXPECT_EQ(SizeOf(file), Size(PictureFormat::Jpeg, 1920, 1080));
}

TEST(PictureHeader, JpegFillBytesStandaloneMarkersAndStrayBytesAreStepped) {
  Bytes file = Soi();
  Append(file, {0xFF, 0xFF, 0xFF});  // fill bytes before a marker
  PutSegment(file, 0xE0, 14);
  Append(file, {0xFF, 0xD0, 0xFF, 0xD7, 0xFF, 0x01});  // RST0, RST7, TEM
  Append(file, {0x00, 0x12, 0xFF, 0x00, 0x34});        // stray bytes and a stuffed zero
  Append(file, {0xFF, 0xFF});
  PutFrame(file, 0xC2, 800, 600);
  PutRest(file);
  EXPECT_EQ(SizeOf(file), Size(PictureFormat::Jpeg, 800, 600));
}

TEST(PictureHeader, JpegsTheDecoderStopsOnHaveNoSize) {
  const auto withBefore = [](std::initializer_list<uint8_t> before) {
    Bytes file = Soi();
    Append(file, before);
    PutFrame(file, 0xC0, 640, 480);
    return file;
  };
  EXPECT_EQ(SizeOf(withBefore({0xFF, 0xDA, 0x00, 0x02})), std::nullopt);  // scan before frame
  EXPECT_EQ(SizeOf(withBefore({0xFF, 0xD9})), std::nullopt);              // end of image
  EXPECT_EQ(SizeOf(withBefore({0xFF, 0xD8})), std::nullopt);              // second SOI
  EXPECT_EQ(SizeOf(withBefore({0xFF, 0xC8, 0x00, 0x02})), std::nullopt);  // JPG
  EXPECT_EQ(SizeOf(withBefore({0xFF, 0xF0, 0x00, 0x02})), std::nullopt);  // reserved
  EXPECT_EQ(SizeOf(withBefore({0xFF, 0xE0, 0x00, 0x01})), std::nullopt);  // length below 2
  EXPECT_EQ(SizeOf(Jpeg(0xC0, 0, 480)), std::nullopt);
  EXPECT_EQ(SizeOf(Jpeg(0xC0, 640, 0)), std::nullopt);  // height given later by DNL

  Bytes badLength = Jpeg(0xC0, 640, 480);
  badLength[2 + 18 + 71 + 3] = 16;  // the frame's length, one short for 3 components
  EXPECT_EQ(SizeOf(badLength), std::nullopt);

  EXPECT_EQ(SizeOf({0xFF, 0xD9, 0xFF, 0xC0}), std::nullopt);  // not SOI first
}

TEST(PictureHeader, BitmapsOfEveryHeaderKind) {
  EXPECT_EQ(SizeOf(Bitmap(12, 65535, 2)), Size(PictureFormat::Bitmap, 65535, 2));  // unsigned
  EXPECT_EQ(SizeOf(Bitmap(40, 1024, 768)), Size(PictureFormat::Bitmap, 1024, 768));
  for (uint32_t infoSize : {52u, 56u, 108u, 124u}) {
    EXPECT_EQ(SizeOf(Bitmap(infoSize, 3, 5)), Size(PictureFormat::Bitmap, 3, 5)) << infoSize;
  }
  // A negative height stores the rows top-down; the size is the same.
  EXPECT_EQ(SizeOf(Bitmap(40, 1024, -768)), Size(PictureFormat::Bitmap, 1024, 768));
  // Larger than 65535 both ways is reported as it is.
  EXPECT_EQ(SizeOf(Bitmap(124, 100000, -100000)), Size(PictureFormat::Bitmap, 100000, 100000));
  EXPECT_EQ(SizeOf(Bitmap(40, INT32_MAX, INT32_MAX)),
            Size(PictureFormat::Bitmap, INT32_MAX, INT32_MAX));
}

TEST(PictureHeader, BitmapsWithoutAUsableSize) {
  EXPECT_EQ(SizeOf(Bitmap(40, -5, 10)), std::nullopt);
  EXPECT_EQ(SizeOf(Bitmap(40, 0, 10)), std::nullopt);
  EXPECT_EQ(SizeOf(Bitmap(40, 10, 0)), std::nullopt);
  EXPECT_EQ(SizeOf(Bitmap(40, 10, INT32_MIN)), std::nullopt);  // no positive counterpart
  EXPECT_EQ(SizeOf(Bitmap(12, 0, 10)), std::nullopt);
  EXPECT_EQ(SizeOf(Bitmap(64, 10, 10)), std::nullopt);  // OS/2 2.x header
  EXPECT_EQ(SizeOf(Bitmap(41, 10, 10)), std::nullopt);
}

TEST(PictureHeader, IconsReportTheirLargestImage) {
  EXPECT_EQ(SizeOf(Icon({{16, 16, 32}, {0, 0, 32}, {48, 48, 32}})),
            Size(PictureFormat::Icon, 256, 256));
  EXPECT_EQ(SizeOf(Icon({{32, 32, 4}})), Size(PictureFormat::Icon, 32, 32));
  // Equal areas: the deeper one, then the first.
  EXPECT_EQ(SizeOf(Icon({{32, 64, 4}, {64, 32, 32}})), Size(PictureFormat::Icon, 64, 32));
  EXPECT_EQ(SizeOf(Icon({{32, 64, 8}, {64, 32, 8}})), Size(PictureFormat::Icon, 32, 64));
  EXPECT_EQ(SizeOf(Icon({{0, 16, 8}})), Size(PictureFormat::Icon, 256, 16));

  EXPECT_EQ(SizeOf(Icon({})), std::nullopt);
  EXPECT_EQ(SizeOf(Icon({{32, 32, 4}}, 2)), std::nullopt);  // a cursor
}

TEST(PictureHeader, EnhancedMetafilesUseTheFrameOnTheReferenceDevice) {
  EXPECT_EQ(SizeOf(Emf({})), Size(PictureFormat::EnhancedMetafile, 672, 950));  // 950.4

  EmfHeader offset;
  offset.frame[0] = -1000;
  offset.frame[1] = 500;
  offset.frame[2] = 1500;  // 25 mm: 80 pixels
  offset.frame[3] = 1343;  // 8.43 mm: 26.976 pixels
  EXPECT_EQ(SizeOf(Emf(offset)), Size(PictureFormat::EnhancedMetafile, 80, 27));

  EmfHeader half;
  half.device[0] = 3;
  half.millimetres[0] = 2;
  half.frame[2] = 100;  // 1 mm at 1.5 pixels a millimetre: halves round up
  EXPECT_EQ(SizeOf(Emf(half))->width, 2);

  EmfHeader huge;
  huge.frame[0] = INT32_MIN;
  huge.frame[2] = INT32_MAX;
  huge.device[0] = INT32_MAX;
  huge.millimetres[0] = 1;
  EXPECT_EQ(SizeOf(Emf(huge)), std::nullopt);  // beyond 32 bits, without overflowing
}

TEST(PictureHeader, EnhancedMetafilesWithoutAUsableSize) {
  EmfHeader signature;
  signature.signature = 0x464D4521;
  EXPECT_EQ(SizeOf(Emf(signature)), std::nullopt);
  EmfHeader flat;
  flat.frame[3] = 0;
  EXPECT_EQ(SizeOf(Emf(flat)), std::nullopt);
  EmfHeader reversed;
  reversed.frame[0] = 30000;
  EXPECT_EQ(SizeOf(Emf(reversed)), std::nullopt);
  EmfHeader noMillimetres;
  noMillimetres.millimetres[1] = 0;
  EXPECT_EQ(SizeOf(Emf(noMillimetres)), std::nullopt);
  EmfHeader tiny;
  tiny.frame[2] = 10;  // 0.1 mm: 0.32 pixels
  EXPECT_EQ(SizeOf(Emf(tiny)), std::nullopt);

  Bytes shortRecord = Emf({});
  shortRecord[4] = 80;  // a header record too short for its fields
  EXPECT_EQ(SizeOf(shortRecord), std::nullopt);
}

TEST(PictureHeader, PlaceableMetafilesAreShownAt96PixelsAnInch) {
  EXPECT_EQ(SizeOf(PlaceableWmf(0, 0, 1440, 720, 1440)),
            Size(PictureFormat::PlaceableMetafile, 96, 48));
  EXPECT_EQ(SizeOf(PlaceableWmf(-100, -50, 900, 955, 1000)),  // 96.48 pixels high
            Size(PictureFormat::PlaceableMetafile, 96, 96));
  EXPECT_EQ(SizeOf(PlaceableWmf(0, 0, 5, 32767, 64)),  // 7.5 rounds up
            Size(PictureFormat::PlaceableMetafile, 8, 49151));
  EXPECT_EQ(SizeOf(PlaceableWmf(-32768, -32768, 32767, 32767, 1)),
            Size(PictureFormat::PlaceableMetafile, 6291360, 6291360));

  EXPECT_EQ(SizeOf(PlaceableWmf(0, 0, 100, 100, 0)), std::nullopt);
  EXPECT_EQ(SizeOf(PlaceableWmf(100, 0, 0, 100, 96)), std::nullopt);
  EXPECT_EQ(SizeOf(PlaceableWmf(0, 0, 1, 1, 1440)), std::nullopt);  // under half a pixel

  // A metafile without the placeable header has no size.
  Bytes plain = PlaceableWmf(0, 0, 100, 100, 96);
  plain.erase(plain.begin(), plain.begin() + 22);
  EXPECT_EQ(SizeOf(plain), std::nullopt);
}

TEST(PictureHeader, OtherFilesHaveNoSize) {
  EXPECT_EQ(SizeOf({}), std::nullopt);
  EXPECT_EQ(SizeOf({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}), std::nullopt);
  EXPECT_EQ(SizeOf({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}), std::nullopt);
  EXPECT_EQ(ParsePictureHeader(Bytes{'G'}).status, Status::NoSize);
  EXPECT_EQ(ParsePictureHeader(Bytes(100, 0)).status, Status::NoSize);
}

// Every prefix of a file either asks for more than it has or gives the whole
// file's answer, so reading on as asked always arrives; and the header's own
// last byte is the last one needed. Each prefix is copied into a buffer of its
// own size, so the sanitizer sees any read past it.
TEST(PictureHeader, TruncatedFilesAskForMoreUpToTheirHeaderEnd) {
  Bytes app1Jpeg = Soi();
  PutSegment(app1Jpeg, 0xE1, 300);
  Append(app1Jpeg, {0xFF, 0xFF});
  PutFrame(app1Jpeg, 0xC2, 10, 20);
  PutRest(app1Jpeg);

  struct Case {
    const char* name;
    Bytes file;
    std::size_t headerEnd;  // the shortest prefix that gives the size
  };
  const Case cases[] = {
      {"jpeg", Jpeg(0xC0, 640, 480), 2 + 18 + 71 + 10},
      {"jpeg after APP1 and fill", app1Jpeg, 2 + 304 + 2 + 10},
      {"core bitmap", Bitmap(12, 4, 4), 26},
      {"bitmap", Bitmap(40, 4, -4), 54},
      {"v5 bitmap", Bitmap(124, 4, 4), 138},
      {"icon", Icon({{16, 16, 8}, {32, 32, 8}}), 38},
      {"emf", Emf({}), 88},
      {"placeable wmf", PlaceableWmf(0, 0, 96, 96, 96), 22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<PictureHeaderSize> whole = SizeOf(c.file);
    ASSERT_TRUE(whole.has_value());
    for (std::size_t n = 0; n <= c.file.size(); ++n) {
      const Bytes prefix(c.file.begin(), c.file.begin() + static_cast<std::ptrdiff_t>(n));
      const PictureHeaderResult result = ParsePictureHeader(prefix);
      if (n < c.headerEnd) {
        ASSERT_EQ(result.status, Status::NeedMoreBytes) << n;
        EXPECT_GT(result.bytesNeeded, n);
        EXPECT_LE(result.bytesNeeded, c.headerEnd);
        EXPECT_EQ(SizeOf(prefix), std::nullopt);
      } else {
        ASSERT_EQ(result.status, Status::Found) << n;
        EXPECT_EQ(result.size, *whole);
      }
    }
  }
}

// The file as the Windows caller reads it, counting what was read.
struct CountingReader {
  const Bytes& file;
  int reads = 0;
  std::size_t bytesRead = 0;

  std::size_t operator()(uint64_t offset, std::span<uint8_t> into) {
    ++reads;
    if (offset >= file.size()) {
      return 0;
    }
    const std::size_t count = std::min<std::size_t>(into.size(), file.size() - offset);
    std::memcpy(into.data(), file.data() + offset, count);
    bytesRead += count;
    return count;
  }
};

// A JPEG whose frame follows `segments` APP segments of the largest size.
Bytes JpegAfterLargeSegments(int segments) {
  Bytes file = Soi();
  for (int i = 0; i < segments; ++i) {
    PutSegment(file, static_cast<uint8_t>(0xE0 + i % 16), 65533);
  }
  PutFrame(file, 0xC0, 6000, 4000);
  PutRest(file);
  return file;
}

TEST(PictureHeader, LateJpegFramesAreReachedByReadingOnlyWhatIsAsked) {
  Bytes file = JpegAfterLargeSegments(3);
  const std::size_t headerEnd = 2 + 3 * 65537 + 10;  // through the frame's component count
  file.resize(file.size() + 2000000, 0x5A);          // the compressed picture

  const PictureHeaderResult first =
      ParsePictureHeader(std::span(file).first(FirstPictureHeaderRead));
  ASSERT_EQ(first.status, Status::NeedMoreBytes);
  EXPECT_EQ(first.bytesNeeded, 2u + 65537u + 1u);  // the byte after the next marker's 0xFF

  CountingReader reader{file};
  EXPECT_EQ(ReadPictureSize(std::ref(reader)), Size(PictureFormat::Jpeg, 6000, 4000));
  EXPECT_LE(reader.reads, 4);
  EXPECT_LT(reader.bytesRead, headerEnd + 8192);
}

TEST(PictureHeader, ReadingStopsAtTheEndOfTheFileAndAtTheLimit) {
  const Bytes small = Bitmap(40, 2, 2);
  CountingReader smallReader{small};
  EXPECT_EQ(ReadPictureSize(std::ref(smallReader)), Size(PictureFormat::Bitmap, 2, 2));
  EXPECT_EQ(smallReader.reads, 1);

  Bytes truncated = JpegAfterLargeSegments(2);
  truncated.resize(100000);
  CountingReader truncatedReader{truncated};
  EXPECT_EQ(ReadPictureSize(std::ref(truncatedReader)), std::nullopt);

  // Sixteen full segments take the frame past the 1 MiB the reader goes to.
  const Bytes tooLate = JpegAfterLargeSegments(16);
  ASSERT_GT(tooLate.size(), MaxPictureHeaderBytes);
  CountingReader lateReader{tooLate};
  EXPECT_EQ(ReadPictureSize(std::ref(lateReader)), std::nullopt);
  EXPECT_LE(lateReader.bytesRead, MaxPictureHeaderBytes);
  EXPECT_EQ(SizeOf(tooLate), std::nullopt);

  const Bytes fifteen = JpegAfterLargeSegments(15);
  CountingReader fifteenReader{fifteen};
  EXPECT_EQ(ReadPictureSize(std::ref(fifteenReader)), Size(PictureFormat::Jpeg, 6000, 4000));

  EXPECT_EQ(ReadPictureSize([](uint64_t, std::span<uint8_t>) { return std::size_t{0}; }),
            std::nullopt);
}

}  // namespace
}  // namespace seltane
