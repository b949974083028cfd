// Writes and reads back a list of 65,535 pictures over 1,000 folders and 3
// extensions with sizes stored, and prints the time of each and the memory
// the entries take.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "data/ListFiles.h"
#include "platform/Files.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/PrintingPrompter.h"

namespace {

using namespace seltane;

// Bytes the entries hold: the vector's room and every string kept on the
// heap, with 16 bytes of allocator overhead per block.
std::size_t EntryBytes(const std::vector<kelWide>& entries) {
  constexpr std::size_t BlockOverhead = 16;
  std::size_t bytes = entries.capacity() * sizeof(kelWide) + BlockOverhead;
  const std::size_t inlineCapacity = std::string().capacity();
  for (const kelWide& entry : entries) {
    for (const std::string* text : {&entry.FullPath, &entry.FileName}) {
      if (text->capacity() > inlineCapacity) {
        bytes += text->capacity() + 1 + BlockOverhead;
      }
    }
  }
  return bytes;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
  constexpr int Pictures = 65535;
  constexpr int Folders = 1000;
  const char* const extensions[] = {"jpg", "bmp", "JPEG"};

  char tempBase[MAX_PATH];
  GetTempPathA(MAX_PATH, tempBase);
  const std::string folder = std::string(tempBase) + "seltane-bench";
  CreateDirectoryA(folder.c_str(), nullptr);

  testing::FakeRegistry registry;
  testing::PrintingPrompter prompter;
  TOptions options({registry, prompter, [] { return std::string("C:\\"); }, false});
  options.StoreSizes = true;

  ListState written;
  written.ListPath = folder + "\\bench.lst";
  for (int i = 0; i < Pictures; ++i) {
    written.AddPictureEntry("C:\\Users\\someone\\Pictures\\Holiday folder " +
                                std::to_string(i % Folders) + "\\picture number " +
                                std::to_string(i) + "." + extensions[i % 3],
                            static_cast<uint8_t>(i % 6), static_cast<uint16_t>(640 + i % 1000),
                            static_cast<uint16_t>(480 + i % 700), i % 2 == 0);
  }
  written.ListChanged = true;
  written.RandomChanged = true;

  auto start = std::chrono::steady_clock::now();
  const bool saved = WriteListFiles(written, options, prompter);
  const double writeSeconds = Seconds(start);

  start = std::chrono::steady_clock::now();
  ListState read;
  read.ListPath = written.ListPath;
  const bool loaded = ReadListFile(read, prompter) == ListRead::Loaded;
  const double readSeconds = Seconds(start);

  std::printf("list files, %d pictures, %d folders, 3 extensions, sizes stored\n", Pictures,
              Folders);
  std::printf("  write list and random file: %.3f s (%s)\n", writeSeconds, saved ? "ok" : "FAILED");
  std::printf("  read into the list state:   %.3f s (%zu pictures%s)\n", readSeconds,
              read.PictureList.size(), loaded ? "" : ", FAILED");
  std::printf("  memory of the entries:      %.1f MB\n", EntryBytes(read.PictureList) / 1e6);

  DeleteFileA(written.ListPath.c_str());
  DeleteFileA(RandomFilePath(written.ListPath).c_str());
  RemoveDirectoryA(folder.c_str());
  return saved && loaded && read.PictureList.size() == Pictures ? 0 : 1;
}
