#include "platform/MappedFile.h"

#include <windows.h>

namespace seltane {

MappedFile::~MappedFile() {
  if (view_ != nullptr) {
    UnmapViewOfFile(view_);
  }
}

bool MappedFile::Open(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  LARGE_INTEGER size;
  bool opened = GetFileSizeEx(file, &size) != 0;
  // A 32-bit process cannot map more than a part of its address space.
  constexpr LONGLONG MaxMappedSize = 512LL << 20;
  if (opened && size.QuadPart > MaxMappedSize) {
    opened = false;
  }
  if (opened && size.QuadPart > 0) {
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    opened = mapping != nullptr;
    if (opened) {
      view_ = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
      CloseHandle(mapping);
      opened = view_ != nullptr;
      if (opened) {
        text_ = std::string_view(static_cast<const char*>(view_),
                                 static_cast<std::size_t>(size.QuadPart));
      }
    }
  }
  CloseHandle(file);
  return opened;
}

}  // namespace seltane
