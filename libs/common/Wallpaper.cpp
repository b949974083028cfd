#include "libs/common/Wallpaper.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "libs/common/MonitorLayout.h"
#include "libs/common/ScreenSize.h"
#include "platform/Picture.h"
#include "styles/WallpaperPicture.h"

namespace seltane {
namespace {

constexpr wchar_t DesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t ComposedPrefix[] = L"Wallpaper-";
constexpr wchar_t ComposedSuffix[] = L".bmp";
constexpr std::size_t BitmapHeaderSize = 14 + 40;

void Put16(std::string& bytes, std::size_t at, uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}
void Put32(std::string& bytes, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
  }
}

// A 32-bit bitmap file of the screen's size, black, with a view of its
// pixels top-down (the file stores them bottom-up: the view's rows step
// backwards) for the drawing to go straight into.
struct ComposedBitmap {
  std::string bytes;
  MutablePixels pixels;
};

ComposedBitmap BlackBitmap(int32_t width, int32_t height) {
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
  ComposedBitmap bitmap;
  bitmap.bytes.assign(BitmapHeaderSize + pixelBytes, '\0');
  std::string& b = bitmap.bytes;
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, BitmapHeaderSize);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));  // positive: bottom-up
  Put16(b, 26, 1);                              // planes
  Put16(b, 28, 32);                             // bits per pixel, BI_RGB
  Put32(b, 34, static_cast<uint32_t>(pixelBytes));
  for (std::size_t at = BitmapHeaderSize + 3; at < b.size(); at += 4) {
    b[at] = static_cast<char>(0xFF);  // opaque
  }
  uint8_t* lastRow = reinterpret_cast<uint8_t*>(b.data()) + BitmapHeaderSize + pixelBytes - stride;
  bitmap.pixels = {lastRow, width, height, -static_cast<std::ptrdiff_t>(stride)};
  return bitmap;
}

// The folder the composed bitmaps go to, created when missing.
std::wstring ComposedFolder() {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, base))) {
    return {};
  }
  std::wstring folder = std::wstring(base) + L"\\Seltane";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    return {};
  }
  return folder;
}

std::wstring Hex(uint64_t value, int digits) {
  std::wstring text(static_cast<std::size_t>(digits), L'0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) {
    text[static_cast<std::size_t>(i)] = L"0123456789ABCDEF"[value & 0xF];
  }
  return text;
}

// A name used by no file yet: the time, the process and a count. Windows
// may keep showing the old picture when the wallpaper's name is repeated.
std::wstring NewComposedName(const std::wstring& folder) {
  static LONG counter = 0;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t time = static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
  for (;;) {
    const std::wstring name =
        ComposedPrefix + Hex(time, 16) + L"-" + Hex(GetCurrentProcessId(), 8) + L"-" +
        Hex(static_cast<uint32_t>(InterlockedIncrement(&counter)), 8) + ComposedSuffix;
    if (GetFileAttributesW((folder + L"\\" + name).c_str()) == INVALID_FILE_ATTRIBUTES) {
      return name;
    }
  }
}

// Writes the bytes to a temporary file beside the target and moves it into
// place, so that the target is never a part of a bitmap.
bool WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  const std::wstring temporary = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  bool written = true;
  for (std::size_t done = 0; written && done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    DWORD wrote = 0;
    written = WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) && wrote != 0;
    done += wrote;
  }
  written = written && FlushFileBuffers(file);
  written = CloseHandle(file) && written;
  if (!written || !MoveFileExW(temporary.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

// One registry value as it was, to put back when setting the wallpaper fails.
struct SavedValue {
  const wchar_t* name = nullptr;
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};

SavedValue SaveValue(HKEY key, const wchar_t* name) {
  SavedValue saved;
  saved.name = name;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
    saved.data.resize(size);
    saved.present = RegQueryValueExW(key, name, nullptr, &saved.type, saved.data.data(), &size) ==
                    ERROR_SUCCESS;
    saved.data.resize(size);
  }
  return saved;
}

void RestoreValue(HKEY key, const SavedValue& saved) {
  if (saved.present) {
    RegSetValueExW(key, saved.name, 0, saved.type, saved.data.data(),
                   static_cast<DWORD>(saved.data.size()));
  } else {
    RegDeleteValueW(key, saved.name);
  }
}

bool SetFlag(HKEY key, const wchar_t* name, bool on) {
  const wchar_t* text = on ? L"1" : L"0";
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        2 * sizeof(wchar_t)) == ERROR_SUCCESS;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Deletes the earlier composed bitmaps; the desktop keeps its own copy.
void RemoveOtherComposed(const std::wstring& folder, const std::wstring& keep) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\" + ComposedPrefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  std::vector<std::wstring> names;
  do {
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name != keep &&
        EndsWith(name, ComposedSuffix)) {
      names.push_back(name);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  for (const std::wstring& name : names) {
    DeleteFileW((folder + L"\\" + name).c_str());
  }
}

// Makes the composed bitmap the wallpaper, shown centred at its own size
// (it has the screen's size), or tiled from the primary monitor's corner (it
// has the size of all monitors together). On failure the registry values are
// put back.
bool SetComposedWallpaper(const std::wstring& path, bool tiled) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const SavedValue style = SaveValue(key, L"WallpaperStyle");
  const SavedValue tile = SaveValue(key, L"TileWallpaper");
  const bool set =
      SetFlag(key, L"WallpaperStyle", false) && SetFlag(key, L"TileWallpaper", tiled) &&
      SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  if (!set) {
    RestoreValue(key, style);
    RestoreValue(key, tile);
  }
  RegCloseKey(key);
  return set;
}

// The primary monitor's size in physical pixels, whether or not the program
// that loaded the library is aware of the screen's scaling. On Windows 10 a
// thread may ask as a per-monitor aware one; before, the display device's
// own desktop size tells it.
ScreenSize PrimaryScreenSize() {
  using SetThreadDpiAwarenessContextEntry = HANDLE(WINAPI*)(HANDLE);
  const HANDLE perMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
  const HANDLE perMonitorAware = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-3));
  const auto setContext =
      reinterpret_cast<SetThreadDpiAwarenessContextEntry>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  HANDLE previous = nullptr;
  if (setContext != nullptr) {
    previous = setContext(perMonitorAwareV2);
    if (previous == nullptr) {
      previous = setContext(perMonitorAware);
    }
  }
  const ScreenSize metrics{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (previous != nullptr) {
    setContext(previous);
  }
  ScreenSize device;
  if (HDC screen = GetDC(nullptr)) {
    device = {GetDeviceCaps(screen, DESKTOPHORZRES), GetDeviceCaps(screen, DESKTOPVERTRES)};
    ReleaseDC(nullptr, screen);
  }
  return PhysicalScreenSize(metrics, device);
}

bool Install(ComposedBitmap& bitmap, bool tiled);

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) {
    return TRUE;
  }
  const RECT& r = info.rcMonitor;
  try {
    reinterpret_cast<std::vector<PixelRect>*>(list)->push_back({r.left, r.top, r.right, r.bottom});
  } catch (...) {
    return FALSE;  // nothing may cross the system's call; the monitors found so far are used
  }
  return TRUE;
}

// Every monitor in physical virtual-screen pixels, asked as a per-monitor
// aware thread where the system allows it; otherwise scaled up by the
// primary monitor's factor, as systems before Windows 10 scale every monitor
// alike for a program unaware of the scaling.
std::vector<PixelRect> SystemMonitors() {
  using SetThreadDpiAwarenessContextEntry = HANDLE(WINAPI*)(HANDLE);
  const auto setContext =
      reinterpret_cast<SetThreadDpiAwarenessContextEntry>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  HANDLE previous = nullptr;
  if (setContext != nullptr) {
    previous = setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));
    if (previous == nullptr) {
      previous = setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-3)));
    }
  }
  std::vector<PixelRect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  const int32_t logicalWidth = GetSystemMetrics(SM_CXSCREEN);
  if (previous != nullptr) {
    setContext(previous);
    return monitors;
  }
  return ScaledMonitors(monitors, logicalWidth, PrimaryScreenSize().width);
}

// Draws the picture on one monitor's part of the desktop bitmap: straight
// into it where the monitor lands in one piece, else on a canvas of the
// monitor's own that is then copied piece by piece.
void DrawOnMonitor(const Picture& picture, uint8_t style, const PixelRect& monitor,
                   const std::vector<BitmapPiece>& pieces, const MutablePixels& bitmap) {
  auto at = [](const MutablePixels& pixels, int32_t x, int32_t y) {
    return pixels.data + y * pixels.stride + std::ptrdiff_t{x} * 4;
  };
  if (pieces.size() == 1) {
    const BitmapPiece& p = pieces.front();
    DrawWallpaperPicture(picture, style,
                         {at(bitmap, p.x, p.y), monitor.Width(), monitor.Height(), bitmap.stride});
    return;
  }
  const std::ptrdiff_t stride = std::ptrdiff_t{monitor.Width()} * 4;
  std::vector<uint8_t> own(static_cast<std::size_t>(stride) *
                           static_cast<std::size_t>(monitor.Height()));
  for (std::size_t i = 3; i < own.size(); i += 4) {
    own[i] = 0xFF;  // opaque black, as the bitmap is
  }
  const MutablePixels canvas{own.data(), monitor.Width(), monitor.Height(), stride};
  DrawWallpaperPicture(picture, style, canvas);
  for (const BitmapPiece& p : pieces) {
    for (int32_t y = p.inMonitor.top; y < p.inMonitor.bottom; ++y) {
      std::memcpy(at(bitmap, p.x, p.y + y - p.inMonitor.top), at(canvas, p.inMonitor.left, y),
                  static_cast<std::size_t>(p.inMonitor.Width()) * 4);
    }
  }
}

// The bitmap of all monitors together: the picture is decoded once for each
// size of monitor and drawn on every monitor of that size.
bool ComposeForMonitors(const std::wstring& path, uint8_t style,
                        const std::vector<PixelRect>& monitors, ComposedBitmap& bitmap) {
  const DesktopBitmapLayout desktop = LayOutDesktopBitmap(monitors);
  if (desktop.width <= 0 || desktop.height <= 0) {
    return false;
  }
  bitmap = BlackBitmap(desktop.width, desktop.height);
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (!monitors[i].Empty()) {
      order.push_back(i);
    }
  }
  auto sizeOf = [&](std::size_t i) { return std::pair{monitors[i].Width(), monitors[i].Height()}; };
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return sizeOf(a) < sizeOf(b); });
  Picture picture;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const auto [width, height] = sizeOf(order[k]);
    if (k == 0 || sizeOf(order[k - 1]) != sizeOf(order[k])) {
      picture = Picture{};
      if (DecodePictureFile(path, WallpaperDecodeOptions({width, height}, style), picture) !=
          PictureError::None) {
        return false;
      }
    }
    DrawOnMonitor(picture, style, monitors[order[k]], desktop.pieces[order[k]], bitmap.pixels);
  }
  return true;
}

bool Apply(const std::wstring& path, uint8_t style, const std::vector<PixelRect>& monitors) {
  if (monitors.size() >= 2) {
    ComposedBitmap bitmap;
    return ComposeForMonitors(path, style, monitors, bitmap) && Install(bitmap, true);
  }
  const ScreenSize screen = PrimaryScreenSize();
  const int32_t screenWidth = screen.width;
  const int32_t screenHeight = screen.height;
  if (screenWidth <= 0 || screenHeight <= 0) {
    return false;
  }

  // Decoded no larger than it will be drawn: a photo of many times the
  // screen's size is reduced by libjpeg while decoding; drawn at its own
  // size, only the part on the screen is decoded.
  Picture picture;
  if (DecodePictureFile(path, WallpaperDecodeOptions({screenWidth, screenHeight}, style),
                        picture) != PictureError::None) {
    return false;
  }

  ComposedBitmap bitmap = BlackBitmap(screenWidth, screenHeight);
  DrawWallpaperPicture(picture, style, bitmap.pixels);
  picture = Picture{};  // the memory is better given back before the desktop loads the bitmap
  return Install(bitmap, false);
}

// Writes the composed bitmap under a new name and makes it the wallpaper.
bool Install(ComposedBitmap& bitmap, bool tiled) {
  const std::wstring folder = ComposedFolder();
  if (folder.empty()) {
    return false;
  }
  const std::wstring name = NewComposedName(folder);
  const std::wstring composed = folder + L"\\" + name;
  if (!WriteFileReplacing(composed, bitmap.bytes)) {
    return false;
  }
  std::string().swap(bitmap.bytes);  // given back, as the picture's memory was
  if (!SetComposedWallpaper(composed, tiled)) {
    DeleteFileW(composed.c_str());
    return false;
  }
  RemoveOtherComposed(folder, name);
  return true;
}

}  // namespace

bool ApplyWallpaper(const std::wstring& path, uint8_t style) {
  try {
    return Apply(path, style, SystemMonitors());
  } catch (...) {
    return false;
  }
}

bool ApplyWallpaper(const std::wstring& path, uint8_t style,
                    const std::vector<PixelRect>& monitors) {
  try {
    return Apply(path, style, monitors);
  } catch (...) {
    // Out of memory: all the memory is taken while decoding and composing,
    // before anything on disk or in the registry changes.
    return false;
  }
}

}  // namespace seltane
