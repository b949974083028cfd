#include "engine/Engine.h"

#include <windows.h>

#include <algorithm>

#include "platform/TextConversion.h"
#include "startup/KelrunRun.h"

namespace seltane {
namespace {

using SetWallpaperEntry = void(__stdcall*)(const wchar_t*, uint8_t);
using WallpaperWasSetEntry = uint8_t(__stdcall*)();
using FindNextPictureEntry = uint16_t(__stdcall*)(uint8_t*, int32_t, uint16_t, uint8_t);
using OpenDirectoryEntry = void(__stdcall*)(const char*, char*, uint32_t);
using ActiveDesktopOnOffEntry = void(__stdcall*)(uint8_t, char*, uint32_t);

// A library loaded for one call; unloaded when it goes out of scope.
class BoundLibrary {
 public:
  BoundLibrary(const std::string& fileName, Prompter& prompter)
      : fileName_(fileName), prompter_(prompter), module_(LoadLibraryA(fileName.c_str())) {
    if (module_ == nullptr) {
      prompter_.Tell(LibraryMissingText(fileName_), "Error", PromptIcon::Error);
    }
  }
  BoundLibrary(const BoundLibrary&) = delete;
  BoundLibrary& operator=(const BoundLibrary&) = delete;
  ~BoundLibrary() {
    if (module_ != nullptr) {
      FreeLibrary(module_);
    }
  }

  template <typename Entry>
  Entry Find(const char* name) {
    if (module_ == nullptr) {
      return nullptr;
    }
    const FARPROC entry = GetProcAddress(module_, name);
    if (entry == nullptr) {
      prompter_.Tell(EntryMissingText(fileName_, name), "Error", PromptIcon::Error);
      return nullptr;
    }
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(entry));
  }

  // An entry the library may lack, looked up without a message.
  template <typename Entry>
  Entry FindOptional(const char* name) {
    const FARPROC entry = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(entry));
  }

 private:
  std::string fileName_;
  Prompter& prompter_;
  HMODULE module_;
};

// Room for the texts the libraries write into the caller's buffer.
constexpr uint32_t TextBufferSize = 4096;

}  // namespace

std::string LibraryMissingText(const std::string& library) {
  return "The library " + library + " could not be loaded. It belongs beside kel.exe.";
}

std::string EntryMissingText(const std::string& library, const std::string& entry) {
  return "The library " + library + " has no function " + entry + ".";
}

bool Engine::SetWallpaper(const std::string& path, uint8_t style) {
  BoundLibrary library(libraries_.common, prompter_);
  const auto entry = library.Find<SetWallpaperEntry>("SetWallpaper");
  if (entry == nullptr) {
    return false;
  }
  const std::wstring widePath = WidenFromAnsi(path);
  entry(widePath.c_str(), style);
  const auto wasSet = library.FindOptional<WallpaperWasSetEntry>("WallpaperWasSet");
  if (wasSet != nullptr && wasSet() == 0) {
    prompter_.Tell(WallpaperNotSetText(path), "Error", PromptIcon::Error);
    return false;
  }
  return true;
}

std::optional<uint16_t> Engine::FindNextPicture(std::vector<uint8_t>& usedMarks, uint8_t mode) {
  if (usedMarks.empty() || usedMarks.size() > 65535) {
    return std::nullopt;
  }
  BoundLibrary library(libraries_.common, prompter_);
  const auto entry = library.Find<FindNextPictureEntry>("FindNextPicture");
  if (entry == nullptr) {
    return std::nullopt;
  }
  const auto count = static_cast<uint16_t>(usedMarks.size());
  const uint16_t chosen = entry(usedMarks.data(), count - 1, count, mode);
  // A library that answers past the list has chosen nothing.
  if (chosen >= count) {
    return std::nullopt;
  }
  return chosen;
}

std::string Engine::OpenDirectory(const std::string& prompt) {
  BoundLibrary library(libraries_.main, prompter_);
  const auto entry = library.Find<OpenDirectoryEntry>("OpenDirectory");
  if (entry == nullptr) {
    return {};
  }
  std::string folder(TextBufferSize, '\0');
  entry(prompt.c_str(), folder.data(), TextBufferSize);
  folder.resize(std::find(folder.begin(), folder.end(), '\0') - folder.begin());
  return folder;
}

bool Engine::ActiveDesktopOnOff(bool on, std::string& lastWallpaper) {
  BoundLibrary library(libraries_.main, prompter_);
  const auto entry = library.Find<ActiveDesktopOnOffEntry>("ActiveDesktopOnOff");
  if (entry == nullptr) {
    return false;
  }
  std::string buffer = lastWallpaper;
  buffer.resize(std::max<std::size_t>(TextBufferSize, lastWallpaper.size() + 1), '\0');
  entry(on ? 1 : 0, buffer.data(), static_cast<uint32_t>(buffer.size()));
  lastWallpaper = buffer.substr(0, buffer.find('\0'));
  return true;
}

}  // namespace seltane
