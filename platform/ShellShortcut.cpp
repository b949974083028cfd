#include "platform/ShellShortcut.h"

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>

#include "data/TimedChange.h"
#include "platform/TextConversion.h"

namespace seltane {
namespace {

std::string HresultText(const char* step, HRESULT result) {
  char text[64];
  std::snprintf(text, sizeof text, " failed (HRESULT 0x%08lX)", static_cast<unsigned long>(result));
  std::string message(step);
  message += text;
  return message;
}

std::string ShortcutIn(int folder) {
  char path[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return std::string(path) + "\\Seltane\\Next wallpaper.lnk";
}

bool Exists(const std::string& path) {
  return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct ComThread {
  ComThread() : uninitialize(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComThread() {
    if (uninitialize)
      CoUninitialize();
  }
  bool uninitialize;
};

}  // namespace

std::string NextWallpaperShortcutPath() {
  const std::string user = ShortcutIn(CSIDL_PROGRAMS);
  const std::string common = ShortcutIn(CSIDL_COMMON_PROGRAMS);
  return !Exists(user) && Exists(common) ? common : user;
}

std::string SetNextWallpaperHotkey(const std::string& programFolder, uint16_t hotkey) {
  const std::string path = NextWallpaperShortcutPath();
  if (path.empty())
    return "The Programs folder is unknown";
  ComThread com;
  IShellLinkA* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
  if (FAILED(result))
    return HresultText("Opening the shortcut", result);
  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  const std::wstring widePath = WidenFromAnsi(path);
  std::string failure;
  if (FAILED(result)) {
    failure = HresultText("Opening the shortcut", result);
  } else {
    if (Exists(path)) {
      result = file->Load(widePath.c_str(), STGM_READWRITE);
    } else {
      const std::string folder = path.substr(0, path.rfind('\\'));
      SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
      link->SetPath((programFolder + "\\kelrun.exe").c_str());
      link->SetArguments(kChangeNowArgument);
      link->SetWorkingDirectory(programFolder.c_str());
      result = S_OK;
    }
    if (SUCCEEDED(result))
      result = link->SetHotkey(hotkey);
    if (SUCCEEDED(result))
      result = file->Save(widePath.c_str(), TRUE);
    if (FAILED(result))
      failure = HresultText("Saving the shortcut", result);
    file->Release();
  }
  link->Release();
  return failure;
}

uint16_t ShortcutHotkey(const std::string& path) {
  ComThread com;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return 0;
  }
  WORD hotkey = 0;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(WidenFromAnsi(path).c_str(), STGM_READ)))
      link->GetHotkey(&hotkey);
    file->Release();
  }
  link->Release();
  return hotkey;
}

}  // namespace seltane
