#include "platform/Files.h"

#include <windows.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/TextConversion.h"

namespace seltane {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    const bool closed = !Valid() || CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - written, 1 << 20));
    DWORD done = 0;
    if (!WriteFile(file, text.data() + written, chunk, &done, nullptr) || done == 0) {
      return false;
    }
    written += done;
  }
  return true;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  // Windows 95/98/Me have no MoveFileEx.
  if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    DeleteFileA(to.c_str());
    return MoveFileA(from.c_str(), to.c_str()) != 0;
  }
  return false;
}

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

namespace {

// A name as the file system compares it: upper-cased by the invariant rules.
std::wstring NameKey(const std::wstring& name) {
  std::wstring key(name.size(), L'\0');
  const int length =
      LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.c_str(), static_cast<int>(name.size()),
                   key.data(), static_cast<int>(key.size()));
  key.resize(static_cast<std::size_t>(std::max(length, 0)));
  return key;
}

// The keys of the files (not folders) in the folder, long and short names;
// nothing when the listing failed other than for a missing folder, which
// has no files.
std::optional<std::unordered_set<std::wstring>> FileKeys(const std::string& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((WidenFromAnsi(folder) + L"\\*").c_str(), &found);
  std::unordered_set<std::wstring> keys;
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return keys;
    }
    return std::nullopt;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      keys.insert(NameKey(found.cFileName));
      if (found.cAlternateFileName[0] != L'\0') {
        keys.insert(NameKey(found.cAlternateFileName));
      }
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return keys;
}

}  // namespace

std::vector<bool> FilesExist(const std::vector<std::string>& paths) {
  std::vector<bool> exists(paths.size());
  // Positions of the paths by their folder's text.
  std::unordered_map<std::string, std::vector<std::size_t>> folders;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    const std::size_t separator = path.find_last_of("\\/");
    // A name the system would change before looking it up (trailing dots
    // and spaces go), or a path without a folder, is looked up as it is.
    if (separator == std::string::npos || separator + 1 == path.size() || path.back() == '.' ||
        path.back() == ' ') {
      exists[i] = FileExists(path);
    } else {
      folders[path.substr(0, separator)].push_back(i);
    }
  }
  for (const auto& [folder, positions] : folders) {
    const auto keys = FileKeys(folder);
    for (std::size_t i : positions) {
      if (!keys) {
        exists[i] = FileExists(paths[i]);
      } else {
        const std::size_t separator = paths[i].find_last_of("\\/");
        exists[i] = keys->count(NameKey(WidenFromAnsi(paths[i].substr(separator + 1)))) != 0;
      }
    }
  }
  return exists;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::string error;
  return ReadWholeFile(path, error);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) {
    error = LastErrorText();
    return std::nullopt;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) {
    error = LastErrorText();
    return std::nullopt;
  }
  // Refuse anything absurd rather than try to hold it in memory.
  if (size.QuadPart > MaxWholeFileRead) {
    error = "The file is larger than " + std::to_string(MaxWholeFileRead >> 20) + " MiB.";
    return std::nullopt;
  }
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), text.data() + done, static_cast<DWORD>(text.size() - done), &got,
                  nullptr)) {
      error = LastErrorText();
      return std::nullopt;
    }
    if (got == 0) {
      break;  // the file shrank while it was read
    }
    done += got;
  }
  text.resize(done);
  return text;
}

bool WriteFileReplacing(const std::string& path, const std::string& text, std::string& error) {
  const std::string temporary = path + ".~" + std::to_string(GetCurrentProcessId()) + ".tmp";
  FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    error = LastErrorText();
    return false;
  }
  const bool written = WriteAll(file.Get(), text) && FlushFileBuffers(file.Get());
  if (!written) {
    error = LastErrorText();
  }
  if (!file.Close() && written) {
    error = LastErrorText();
  }
  if (!written || !error.empty()) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  if (!MoveReplacing(temporary, path)) {
    error = LastErrorText();
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length != 0 && buffer != nullptr ? std::string(buffer, length)
                                                      : "error " + std::to_string(code);
  LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace seltane
