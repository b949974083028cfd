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
// nothing when the listing failed. An empty folder has no files.
std::optional<std::unordered_set<std::wstring>> FileKeys(const std::string& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((WidenFromAnsi(folder) + L"\\*").c_str(), &found);
  std::unordered_set<std::wstring> keys;
  if (search == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) {
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

bool NotThere(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The folder holding the path, or nothing for a drive's or share's root.
std::optional<std::string> Parent(const std::string& path) {
  const std::size_t root = PathRoot(path).size();
  std::size_t end = path.size();
  while (end > root && LastSeparator(std::string_view(path).substr(0, end)) == end - 1) {
    --end;
  }
  if (end <= root || (root == 0 && LastSeparator(path) == std::string::npos)) {
    return std::nullopt;
  }
  const std::size_t separator = LastSeparator(std::string_view(path).substr(0, end));
  if (separator == std::string::npos || separator < root) {
    return root != 0 ? std::optional<std::string>(path.substr(0, root)) : std::nullopt;
  }
  return path.substr(0, std::max(separator, root));
}

// Whether the folder can be reached: Exists when it is there, Missing when
// it is not (or a file is in its place) and a folder above it says so.
// Folders asked about before are answered from `known`.
FileState FolderState(const std::string& folder,
                      std::unordered_map<std::string, FileState>& known) {
  if (const auto found = known.find(folder); found != known.end()) {
    return found->second;
  }
  // A root is asked about with its final backslash: "D:" alone names the
  // current folder on D:.
  std::string asked = folder;
  if (PathRoot(folder).size() == folder.size() && folder.back() != '\\' && folder.back() != '/') {
    asked += '\\';
  }
  const DWORD attributes = GetFileAttributesA(asked.c_str());
  FileState state = FileState::Unreachable;
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    state = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileState::Exists : FileState::Missing;
  } else if (NotThere(GetLastError())) {
    const auto parent = Parent(folder);
    if (parent && FolderState(*parent, known) != FileState::Unreachable) {
      state = FileState::Missing;
    }
  }
  known[folder] = state;
  return state;
}

// One path looked up by itself.
FileState LookUp(const std::string& path, std::unordered_map<std::string, FileState>& known) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? FileState::Exists : FileState::Missing;
  }
  if (!NotThere(GetLastError())) {
    return FileState::Unreachable;
  }
  const auto parent = Parent(path);
  if (!parent) {
    // A relative name, looked up in the current folder, which is there.
    return PathRoot(path).empty() ? FileState::Missing : FileState::Unreachable;
  }
  return FolderState(*parent, known) == FileState::Unreachable ? FileState::Unreachable
                                                               : FileState::Missing;
}

}  // namespace

std::vector<FileState> FileStates(const std::vector<std::string>& paths) {
  std::vector<FileState> states(paths.size(), FileState::Missing);
  std::unordered_map<std::string, FileState> known;
  // Positions of the paths by their folder's text.
  std::unordered_map<std::string, std::vector<std::size_t>> folders;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    const std::size_t separator = LastSeparator(path);
    // A name the system would change before looking it up (trailing dots
    // and spaces go), or a path without a folder, is looked up as it is.
    if (separator == std::string::npos || separator + 1 == path.size() || path.back() == '.' ||
        path.back() == ' ') {
      states[i] = LookUp(path, known);
    } else {
      folders[path.substr(0, separator)].push_back(i);
    }
  }
  for (const auto& [folder, positions] : folders) {
    const auto keys = FileKeys(folder);
    if (!keys) {
      // A folder that is not there, or on a drive or share that cannot be
      // reached (each look-up there may wait for the network), answers for
      // all its files at once.
      const FileState folderState = FolderState(folder, known);
      if (folderState != FileState::Exists) {
        for (std::size_t i : positions) {
          states[i] =
              folderState == FileState::Unreachable ? FileState::Unreachable : FileState::Missing;
        }
        continue;
      }
    }
    for (std::size_t i : positions) {
      if (!keys) {
        states[i] = LookUp(paths[i], known);
      } else {
        const std::size_t separator = LastSeparator(paths[i]);
        states[i] = keys->count(NameKey(WidenFromAnsi(paths[i].substr(separator + 1)))) != 0
                        ? FileState::Exists
                        : FileState::Missing;
      }
    }
  }
  return states;
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

std::optional<std::string> KeepFileAside(const std::string& path, std::string& error) {
  const std::size_t nameStart = LastSeparator(path) + 1;
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart || dot == nameStart) {
    dot = path.size();  // no extension: the words go at the end
  }
  constexpr int MostTries = 100;
  for (int number = 1; number <= MostTries; ++number) {
    const std::string words =
        number == 1 ? " (not read)" : " (not read " + std::to_string(number) + ")";
    const std::string aside = path.substr(0, dot) + words + path.substr(dot);
    // Without MOVEFILE_REPLACE_EXISTING: a file kept aside earlier stays.
    BOOL moved = MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!moved && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
      moved = MoveFileA(path.c_str(), aside.c_str());  // Windows 95/98/Me
    }
    if (moved) {
      return aside;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS) {
      error = LastErrorText();
      return std::nullopt;
    }
  }
  error = "there are already " + std::to_string(MostTries);
  error += " such files";
  return std::nullopt;
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
