// Metafiles decode through GDI to the size their headers give.
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

TEST(GdiPicture, EnhancedMetafileIsDrawnAtItsHeaderSize) {
  const std::vector<uint8_t> bytes = EnhancedMetafileBytes();
  const PictureHeaderResult header = ExaminePicture(bytes);
  ASSERT_EQ(header.verdict, PictureError::None);
  Picture picture;
  ASSERT_EQ(DecodePicture(bytes.data(), bytes.size(), {}, picture), PictureError::None);
  EXPECT_EQ(picture.width, header.header.width);
  EXPECT_EQ(picture.height, header.header.height);
  const uint8_t* middle =
      picture.pixels.get() + (picture.height / 2) * picture.Stride() + (picture.width / 2) * 4;
  EXPECT_EQ(middle[2], 255);  // red
  EXPECT_EQ(middle[1], 0);
}

TEST(GdiPicture, DamagedMetafilesAreRefused) {
  std::vector<uint8_t> metafile = EnhancedMetafileBytes();
  metafile.resize(100);
  Picture picture;
  EXPECT_NE(DecodePicture(metafile.data(), metafile.size(), {}, picture), PictureError::None);
  EXPECT_FALSE(picture.pixels);
}

}  // namespace
}  // namespace seltane
