// Icons and metafiles decode through GDI to the size their headers give.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Picture.h"
#include "platform/PictureHeader.h"

namespace seltane {
namespace {

std::vector<uint8_t> EnhancedMetafileBytes() {
  HDC reference = GetDC(nullptr);
  const RECT frame{0, 0, 2540, 1270};  // 0.01 mm: 1 by 0.5 inches
  HDC recorder = CreateEnhMetaFileA(reference, nullptr, &frame, nullptr);
  ReleaseDC(nullptr, reference);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT all{0, 0, 4000, 4000};
  FillRect(recorder, &all, red);
  DeleteObject(red);
  HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteEnhMetaFile(metafile);
  return bytes;
}

// A 16 by 16 icon file with one 32-bit image of one colour.
std::vector<uint8_t> IconBytes(uint32_t bgra) {
  std::vector<uint8_t> bytes;
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
      bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
  };
  const uint32_t imageBytes = 40 + 16 * 16 * 4 + 16 * 4;
  put(0, 2);
  put(1, 2);
  put(1, 2);
  put(16, 1);
  put(16, 1);
  put(0, 1);
  put(0, 1);
  put(1, 2);
  put(32, 2);
  put(imageBytes, 4);
  put(22, 4);
  put(40, 4);
  put(16, 4);
  put(32, 4);  // the colour image and the mask
  put(1, 2);
  put(32, 2);
  for (int i = 0; i < 6; ++i) {
    put(0, 4);
  }
  for (int pixel = 0; pixel < 16 * 16; ++pixel) {
    put(bgra, 4);
  }
  put(0, 16 * 4);
  return bytes;
}

TEST(GdiPicture, EnhancedMetafileIsDrawnAtItsHeaderSize) {
  const std::vector<uint8_t> bytes = EnhancedMetafileBytes();
  const auto header = PictureSizeFromBytes(bytes);
  ASSERT_TRUE(header);
  Picture picture;
  ASSERT_EQ(DecodePicture(bytes.data(), bytes.size(), {}, picture), PictureError::None);
  EXPECT_EQ(picture.width, header->width);
  EXPECT_EQ(picture.height, header->height);
  const uint8_t* middle =
      picture.pixels.get() + (picture.height / 2) * picture.Stride() + (picture.width / 2) * 4;
  EXPECT_EQ(middle[2], 255);  // red
  EXPECT_EQ(middle[1], 0);
}

TEST(GdiPicture, IconShowsItsImage) {
  const std::vector<uint8_t> bytes = IconBytes(0xFF0080FF);  // opaque orange
  Picture picture;
  ASSERT_EQ(DecodePicture(bytes.data(), bytes.size(), {}, picture), PictureError::None);
  EXPECT_EQ(picture.width, 16);
  EXPECT_EQ(picture.height, 16);
  const uint8_t* pixel = picture.pixels.get() + 8 * picture.Stride() + 8 * 4;
  EXPECT_EQ(pixel[0], 0xFF);
  EXPECT_EQ(pixel[1], 0x80);
  EXPECT_EQ(pixel[2], 0x00);
}

TEST(GdiPicture, DamagedIconsAndMetafilesAreRefused) {
  std::vector<uint8_t> icon = IconBytes(0xFF000000);
  icon.resize(30);  // the directory promises more than there is
  Picture picture;
  EXPECT_NE(DecodePicture(icon.data(), icon.size(), {}, picture), PictureError::None);
  std::vector<uint8_t> metafile = EnhancedMetafileBytes();
  metafile.resize(100);
  EXPECT_NE(DecodePicture(metafile.data(), metafile.size(), {}, picture), PictureError::None);
  EXPECT_FALSE(picture.pixels);
}

}  // namespace
}  // namespace seltane
