// The exports of main.dll: the folder picker and the Active Desktop switch.
// Undecorated, __stdcall, and never letting an exception out.
#include <windows.h>
// IActiveDesktop is declared only after the internet headers.
#include <wininet.h>
// clang-format off
#include <shlobj.h>
// clang-format on

#include <cstdint>
#include <cstring>

namespace {

// COM for the call's length: the new-style folder picker needs OLE.
class OleScope {
 public:
  OleScope() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  ~OleScope() {
    if (initialized_) {
      OleUninitialize();
    }
  }

 private:
  bool initialized_;
};

void CopyText(const char* text, char* buffer, uint32_t bufferSize) {
  const std::size_t length = std::strlen(text);
  if (length < bufferSize) {
    std::memcpy(buffer, text, length + 1);
  }
}

}  // namespace

extern "C" __declspec(dllexport) void __stdcall OpenDirectory(const char* prompt, char* folder,
                                                              uint32_t folderSize) {
  if (folder == nullptr || folderSize == 0) {
    return;
  }
  folder[0] = '\0';
  try {
    OleScope ole;
    BROWSEINFOA browse{};
    browse.hwndOwner = GetActiveWindow();
    browse.lpszTitle = prompt;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (chosen == nullptr) {
      return;
    }
    char path[MAX_PATH] = {};
    // A folder path that does not fit the caller's buffer is not chosen
    // rather than cut short.
    if (SHGetPathFromIDListA(chosen, path)) {
      CopyText(path, folder, folderSize);
    }
    CoTaskMemFree(chosen);
  } catch (...) {
    folder[0] = '\0';
  }
}

extern "C" __declspec(dllexport) void __stdcall ActiveDesktopOnOff(uint8_t on, char* lastWallpaper,
                                                                   uint32_t lastWallpaperSize) {
  // The text is left as it is: switching the Active Desktop does not change
  // which picture was last set.
  (void)lastWallpaper;
  (void)lastWallpaperSize;
  try {
    OleScope ole;
    IActiveDesktop* desktop = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IActiveDesktop, reinterpret_cast<void**>(&desktop)))) {
      return;  // a system without the Active Desktop
    }
    COMPONENTSOPT options{};
    options.dwSize = sizeof options;
    if (SUCCEEDED(desktop->GetDesktopItemOptions(&options, 0))) {
      options.fActiveDesktop = on != 0;
      options.fEnableComponents = on != 0;
      if (SUCCEEDED(desktop->SetDesktopItemOptions(&options, 0))) {
        desktop->ApplyChanges(AD_APPLY_ALL | AD_APPLY_FORCE);
      }
    }
    desktop->Release();
  } catch (...) {
  }
}
