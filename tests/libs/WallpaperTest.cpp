// SetWallpaper of the built common.dll against Wine's desktop: the composed
// bitmap, the registry values and the wallpaper setting it leaves.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "libs/common/Wallpaper.h"
#include "platform/Picture.h"
#include "platform/TextConversion.h"
#include "tests/libs/LibraryPaths.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestJpeg.h"

namespace seltane {
namespace {

using SetWallpaperEntry = void(__stdcall*)(const wchar_t*, uint8_t);
using WallpaperWasSetEntry = uint8_t(__stdcall*)();
using Colour = uint32_t;  // 0xRRGGBB
using PixelFunction = std::function<Colour(int x, int y)>;

constexpr Colour Black = 0x000000, Red = 0xE00000, Green = 0x00C000, Blue = 0x0000E0;
constexpr uint8_t Stretch = 0, Center = 1, Tile = 2, FitHeight = 4, FitScreen = 5;

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A 24-bit bottom-up bitmap file.
std::string BitmapFile(int width, int height, const PixelFunction& pixel) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string file(54 + static_cast<std::size_t>(stride) * height, '\0');
  auto put32 = [&](std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      file[at + i] = static_cast<char>(value >> (8 * i));
    }
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  put32(26, 1 | 24 << 16);  // planes, bits per pixel
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Colour c = pixel(x, y);
      char* p = &file[54 + static_cast<std::size_t>(height - 1 - y) * stride + x * 3];
      p[0] = static_cast<char>(c);
      p[1] = static_cast<char>(c >> 8);
      p[2] = static_cast<char>(c >> 16);
    }
  }
  return file;
}

std::string JpegFile(int width, int height, const PixelFunction& pixel) {
  const std::string jpeg = testing::EncodeJpeg(width, height, {}, [&](int x, int y, uint8_t* rgb) {
    const Colour c = pixel(x, y);
    rgb[0] = static_cast<uint8_t>(c >> 16);
    rgb[1] = static_cast<uint8_t>(c >> 8);
    rgb[2] = static_cast<uint8_t>(c);
  });
  EXPECT_FALSE(jpeg.empty());
  return jpeg;
}

std::wstring CurrentWallpaper() {
  wchar_t path[MAX_PATH] = {};
  SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return path;
}

// A value under HKEY_CURRENT_USER\Control Panel\Desktop; "<none>" when absent.
std::wstring DesktopValue(const wchar_t* name) {
  HKEY key = nullptr;
  std::wstring value = L"<none>";
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) ==
      ERROR_SUCCESS) {
    wchar_t data[MAX_PATH] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
      value = data;
    }
    RegCloseKey(key);
  }
  return value;
}

void SetDesktopValue(const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                  nullptr, &key, nullptr);
  if (value == L"<none>") {
    RegDeleteValueW(key, name);
  } else {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
}

std::wstring ComposedFolder() {
  wchar_t base[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
  return std::wstring(base) + L"\\Seltane";
}

// The composed bitmaps and their temporary files (other files the program
// may keep in the folder are not counted).
std::vector<std::wstring> ComposedFolderEntries() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((ComposedFolder() + L"\\Wallpaper-*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") {
        names.push_back(name);
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return names;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Near(Colour actual, Colour expected, int tolerance = 16) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>(actual >> shift & 0xFF) -
                 static_cast<int>(expected >> shift & 0xFF)) > tolerance) {
      return false;
    }
  }
  return true;
}

class SetWallpaperTest : public ::testing::Test {
 protected:
  // The desktop's settings are the prefix's own: kept before the tests and
  // put back after them.
  static void SetUpTestSuite() {
    savedWallpaper_ = CurrentWallpaper();
    savedStyle_ = DesktopValue(L"WallpaperStyle");
    savedTile_ = DesktopValue(L"TileWallpaper");
    library_ = LoadLibraryW(WidenFromAnsi(testing::CommonDllPath).c_str());
  }
  static void TearDownTestSuite() {
    const std::wstring last = CurrentWallpaper();
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(savedWallpaper_.c_str()),
                          SPIF_UPDATEINIFILE);
    SetDesktopValue(L"WallpaperStyle", savedStyle_);
    SetDesktopValue(L"TileWallpaper", savedTile_);
    if (last != savedWallpaper_) {
      DeleteFileW(last.c_str());
    }
    if (library_ != nullptr) {
      FreeLibrary(library_);
    }
  }

  void SetUp() override {
    ASSERT_NE(library_, nullptr) << testing::CommonDllPath;
    set_ = reinterpret_cast<SetWallpaperEntry>(
        reinterpret_cast<void (*)()>(GetProcAddress(library_, "SetWallpaper")));
    ASSERT_NE(set_, nullptr);
    wasSet_ = reinterpret_cast<WallpaperWasSetEntry>(
        reinterpret_cast<void (*)()>(GetProcAddress(library_, "WallpaperWasSet")));
    ASSERT_NE(wasSet_, nullptr);
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(width_, 0);
    ASSERT_GT(height_, 0);
  }

  std::wstring Write(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = WidenFromAnsi(folder_.Path()) + L"\\" + name;
    WriteBytes(path, bytes);
    return path;
  }

  // Sets the wallpaper and reads back the composed bitmap it names, which
  // must be new, of the screen's size, and the only one in its folder.
  Picture SetAndReadBack(const std::wstring& path, uint8_t style) {
    const std::wstring before = CurrentWallpaper();
    set_(path.c_str(), style);
    EXPECT_EQ(wasSet_(), 1);
    const std::wstring composed = CurrentWallpaper();
    EXPECT_NE(composed, before);
    EXPECT_EQ(_wcsnicmp(composed.c_str(), ComposedFolder().c_str(), ComposedFolder().size()), 0)
        << NarrowToAnsi(composed);
    EXPECT_EQ(ComposedFolderEntries(),
              std::vector<std::wstring>{composed.substr(ComposedFolder().size() + 1)});
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"0");
    EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"0");
    Picture picture;
    EXPECT_EQ(DecodePictureFile(composed, {}, picture), PictureError::None);
    EXPECT_EQ(picture.width, width_);
    EXPECT_EQ(picture.height, height_);
    return picture;
  }

  Colour At(const Picture& picture, int x, int y) {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
      ADD_FAILURE() << "no pixel " << x << "," << y;
      return 0xBADBAD;
    }
    const uint8_t* p = picture.pixels.get() + y * picture.Stride() + x * 4;
    return static_cast<Colour>(p[2]) << 16 | p[1] << 8 | p[0];
  }

  static HMODULE library_;
  static std::wstring savedWallpaper_, savedStyle_, savedTile_;
  SetWallpaperEntry set_ = nullptr;
  WallpaperWasSetEntry wasSet_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  testing::TempFolder folder_;
};

HMODULE SetWallpaperTest::library_ = nullptr;
std::wstring SetWallpaperTest::savedWallpaper_, SetWallpaperTest::savedStyle_,
    SetWallpaperTest::savedTile_;

TEST_F(SetWallpaperTest, CentredPictureIsComposedOnBlackAndEachCallMakesANewFile) {
  // 64 x 32, left half red, right half blue, under a name outside the ANSI
  // code page and with a .jpg name though it is a bitmap.
  const std::wstring path =
      Write(L"\u043a\u0430\u0440\u0442\u0438\u043d\u0430.jpg",
            BitmapFile(64, 32, [](int x, int) { return x < 32 ? Red : Blue; }));
  const int cx = width_ / 2, cy = height_ / 2;  // even sizes: the picture starts at cx - 32
  for (int call = 0; call < 2; ++call) {
    const std::wstring previous = CurrentWallpaper();
    const Picture composed = SetAndReadBack(path, Center);
    EXPECT_EQ(At(composed, cx - 32, cy - 16), Red);
    EXPECT_EQ(At(composed, cx - 1, cy + 15), Red);
    EXPECT_EQ(At(composed, cx, cy), Blue);
    EXPECT_EQ(At(composed, cx + 31, cy - 16), Blue);
    for (auto [x, y] :
         {std::pair{cx - 33, cy}, std::pair{cx + 32, cy}, std::pair{cx, cy - 17},
          std::pair{cx, cy + 16}, std::pair{0, 0}, std::pair{width_ - 1, height_ - 1}}) {
      EXPECT_EQ(At(composed, x, y), Black) << x << "," << y;
    }
    if (call == 1) {
      EXPECT_FALSE(Exists(previous)) << "the earlier composed bitmap is removed";
    }
  }
}

TEST_F(SetWallpaperTest, LargeJpegIsShrunkToFitOrCutAtItsHeight) {
  // Twice the screen's width at its height: left half red, right half blue.
  const std::wstring path =
      Write(L"wide.jpg",
            JpegFile(2 * width_, height_, [&](int x, int) { return x < width_ ? Red : Blue; }));
  // Fit screen: half size, across the whole width, from a quarter down.
  Picture composed = SetAndReadBack(path, FitScreen);
  EXPECT_TRUE(Near(At(composed, width_ / 4, height_ / 2), Red));
  EXPECT_TRUE(Near(At(composed, 3 * width_ / 4, height_ / 2), Blue));
  EXPECT_TRUE(Near(At(composed, 2, height_ / 4 + 2), Red));
  EXPECT_EQ(At(composed, width_ / 4, height_ / 4 - 2), Black);
  EXPECT_EQ(At(composed, width_ / 4, 3 * height_ / 4 + 2), Black);

  // Fit height: already as high as the screen, so kept at its size, centred
  // and cut at both sides.
  composed = SetAndReadBack(path, FitHeight);
  EXPECT_TRUE(Near(At(composed, 0, 0), Red));
  EXPECT_TRUE(Near(At(composed, width_ / 2 - 8, height_ - 1), Red));
  EXPECT_TRUE(Near(At(composed, width_ / 2 + 8, 0), Blue));
  EXPECT_TRUE(Near(At(composed, width_ - 1, height_ - 1), Blue));
}

// Edited photographs carry megabytes of metadata before their frame header;
// a picture larger than the screen, centred, is cut to the screen.
TEST_F(SetWallpaperTest, JpegWithLargeMetadataIsSetCentredAndCut) {
  const std::wstring path = Write(
      L"edited.jpg", testing::WithMetadata(
                         JpegFile(width_ + 101, height_ + 51,
                                  [&](int x, int) { return x < (width_ + 101) / 2 ? Red : Blue; }),
                         128));
  const Picture composed = SetAndReadBack(path, Center);
  EXPECT_TRUE(Near(At(composed, 0, 0), Red));
  EXPECT_TRUE(Near(At(composed, width_ / 2 - 8, height_ - 1), Red));
  EXPECT_TRUE(Near(At(composed, width_ / 2 + 8, 0), Blue));
  EXPECT_TRUE(Near(At(composed, width_ - 1, height_ - 1), Blue));
}

TEST_F(SetWallpaperTest, TiledAndStretchedPicturesCoverTheScreen) {
  const Colour tile[2][3] = {{Red, Green, Blue}, {0xFFFFFF, 0x808080, 0x00FFFF}};
  const std::wstring tilePath =
      Write(L"tile.bmp", BitmapFile(3, 2, [&](int x, int y) { return tile[y][x]; }));
  const Picture tiled = SetAndReadBack(tilePath, Tile);
  for (int y : {0, 1, 2, height_ / 2 + 1, height_ - 1}) {
    for (int x : {0, 1, 2, 3, width_ / 2, width_ - 2, width_ - 1}) {
      EXPECT_EQ(At(tiled, x, y), tile[y % 2][x % 3]) << x << "," << y;
    }
  }

  const Colour corners[2][2] = {{Red, Green}, {Blue, 0xFFFFFF}};
  const std::wstring stretchPath =
      Write(L"corners.bmp", BitmapFile(2, 2, [&](int x, int y) { return corners[y][x]; }));
  const Picture stretched = SetAndReadBack(stretchPath, Stretch);
  EXPECT_EQ(At(stretched, 0, 0), Red);
  EXPECT_EQ(At(stretched, width_ - 1, 0), Green);
  EXPECT_EQ(At(stretched, 0, height_ - 1), Blue);
  EXPECT_EQ(At(stretched, width_ - 1, height_ - 1), 0xFFFFFFu);
  EXPECT_TRUE(Near(At(stretched, width_ / 4, height_ / 4), Red, 2));
}

// PNG, through the imaging component: what is transparent shows the black
// of the screen.
TEST_F(SetWallpaperTest, PngWithTransparencyIsComposedOverBlack) {
  // 64 x 32: red on the left; on the right, green, clear in the top half
  // and half opaque in the bottom half.
  const testing::picture_bytes::Bytes png =
      testing::picture_bytes::Png({64, 32}, [](uint32_t x, uint32_t y, uint8_t* rgba) {
        rgba[0] = x < 32 ? 0xE0 : 0;
        rgba[1] = x < 32 ? 0 : 0xC0;
        rgba[2] = 0;
        rgba[3] = x < 32 ? 255 : y < 16 ? 0 : 128;
      });
  const std::wstring path = Write(L"clear.png", std::string(png.begin(), png.end()));
  const Picture composed = SetAndReadBack(path, Center);
  const int cx = width_ / 2, cy = height_ / 2;
  EXPECT_EQ(At(composed, cx - 32, cy - 16), Red);
  EXPECT_EQ(At(composed, cx - 1, cy + 15), Red);
  EXPECT_EQ(At(composed, cx, cy - 16), Black);
  EXPECT_EQ(At(composed, cx + 31, cy - 1), Black);
  EXPECT_TRUE(Near(At(composed, cx, cy), 0x006000, 2));
  EXPECT_TRUE(Near(At(composed, cx + 31, cy + 15), 0x006000, 2));
  EXPECT_EQ(At(composed, cx + 32, cy), Black);
}

// Wine shows one monitor: the library's own code is handed three, left of,
// above and across the primary's edge, of other sizes. Each gets the picture
// centred at its own size in its part of one bitmap, which is set tiled.
TEST_F(SetWallpaperTest, SeveralMonitorsGetThePictureEachInOneTiledBitmap) {
  const std::wstring path = Write(L"red.bmp", BitmapFile(40, 20, [](int, int) { return Red; }));
  const std::vector<PixelRect> monitors = {
      {0, 0, 400, 300}, {-200, 100, 0, 250}, {-100, -120, 300, 0}};
  ASSERT_TRUE(ApplyWallpaper(path, Center, monitors));
  EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"0");
  EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"1");
  Picture composed;
  ASSERT_EQ(DecodePictureFile(CurrentWallpaper(), {}, composed), PictureError::None);
  ASSERT_EQ(composed.width, 600);
  ASSERT_EQ(composed.height, 420);
  // Shown tiled from the primary's corner: virtual (x, y) is (x mod 600, y mod 420).
  auto shown = [&](int x, int y) { return At(composed, (x + 600) % 600, (y + 420) % 420); };
  struct Probe {
    int x, y;
    Colour colour;
  };
  for (const Probe& p : {
           Probe{180, 140, Red},
           Probe{219, 159, Red},
           Probe{179, 140, Black},
           Probe{220, 160, Black},  // primary
           Probe{-120, 165, Red},
           Probe{-81, 184, Red},
           Probe{-121, 165, Black},
           Probe{-80, 185, Black},  // left
           Probe{80, -70, Red},
           Probe{119, -51, Red},
           Probe{79, -70, Black},
           Probe{120, -50, Black},  // above, right of 0
           Probe{-100, -120, Black},
           Probe{-1, -1, Black},
           Probe{299, -1, Black},
       }) {
    EXPECT_EQ(shown(p.x, p.y), p.colour) << p.x << "," << p.y;
  }
}

TEST_F(SetWallpaperTest, UnreadablePicturesChangeNothing) {
  const std::wstring good = Write(L"good.bmp", BitmapFile(8, 8, [](int, int) { return Green; }));
  SetAndReadBack(good, Center);
  const std::wstring wallpaper = CurrentWallpaper();
  const std::vector<std::wstring> entries = ComposedFolderEntries();
  // Values SetWallpaper would change, to see that it leaves them.
  SetDesktopValue(L"WallpaperStyle", L"2");
  SetDesktopValue(L"TileWallpaper", L"1");

  const std::string jpeg = JpegFile(300, 200, [](int x, int y) { return (x * 7 + y * 13) % 256; });
  std::string hugeBitmap = BitmapFile(4, 4, [](int, int) { return Red; });
  hugeBitmap[20] = 0x10;  // 1,048,580 pixels wide, in a file of a hundred bytes
  const std::vector<std::wstring> paths = {
      WidenFromAnsi(folder_ / "missing.jpg"),
      Write(L"text.jpg", "This is not a picture."),
      Write(L"empty.bmp", ""),
      Write(L"cut.jpg", jpeg.substr(0, jpeg.size() / 2)),
      Write(L"header-only.jpg", jpeg.substr(0, 300)),
      Write(L"huge.bmp", hugeBitmap),
      WidenFromAnsi(folder_.Path()),
      L"",
  };
  for (const std::wstring& path : paths) {
    for (uint8_t style : {Stretch, FitScreen, uint8_t{77}}) {
      set_(path.c_str(), style);
      EXPECT_EQ(wasSet_(), 0) << NarrowToAnsi(path);
      EXPECT_EQ(CurrentWallpaper(), wallpaper) << NarrowToAnsi(path);
      EXPECT_EQ(ComposedFolderEntries(), entries) << NarrowToAnsi(path);
    }
  }
  set_(nullptr, Center);
  EXPECT_EQ(wasSet_(), 0);
  EXPECT_EQ(CurrentWallpaper(), wallpaper);
  EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"2");
  EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"1");
}

}  // namespace
}  // namespace seltane
