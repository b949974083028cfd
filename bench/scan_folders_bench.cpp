// Times the folder search with adding, without confirmation and headless,
// over a tree as a collection of wallpapers holds it, and the full decode of
// up to 100 of the same files for comparison.
//
// Without an argument the tree is generated: 10,000 pictures in 100 folders
// on 3 levels, photographs' sizes up to 6,000 x 4,000 with a photograph's
// detail, JPEGs with a camera's metadata, progressive JPEGs, JPEGs carrying
// 1 MiB of metadata before their frame, and PNG files. With a folder as
// argument, that folder's tree is used instead.
//
// Besides the whole adding, which measures the pictures on two threads, the
// parts it is made of are timed alone: listing the folders, and measuring
// each picture from its header on one thread; and what measuring on one
// thread cannot go below, opening each file, reading the first bytes a
// header needs and closing it.
#include <windows.h>

#include <commctrl.h>
#include <wincodec.h>

#include <chrono>
#include <cstdio>
#include <map>

#include "bench/BenchClock.h"
#include "bench/BenchPictures.h"
#include "bench/BenchServices.h"
#include "data/PathText.h"
#include "gather/FolderScan.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/Picture.h"
#include "platform/PictureHeader.h"
#include "platform/TextConversion.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestJpeg.h"
#include "ui/Window.h"

using namespace seltane;

namespace {

// The photographs' sizes of the tree's JPEGs.
constexpr int PhotographSizes[][2] = {{1920, 1080}, {2560, 1600}, {3840, 2160}, {5120, 2880},
                                      {6000, 4000}, {4000, 6000}, {1024, 768}};

// A plain write: the files are scratch, and flushing each to disk would make
// generating them take longer than the measuring.
bool WriteScratchFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool done =
      file != INVALID_HANDLE_VALUE && !bytes.empty() &&
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
  }
  if (!done) {
    std::printf("cannot write %s\n", path.c_str());
  }
  return done;
}

// The pictures the tree's names link to, written to `folder`: for each
// size, a JPEG with a camera's metadata and a progressive one; a JPEG with
// 1 MiB of metadata before its frame; PNGs of a photograph and of renders.
struct Originals {
  std::vector<std::string> baseline, progressive, png;
  std::string withMetadata;
};

Originals WriteOriginals(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  Originals originals;
  int seed = 0;
  const auto write = [&](const std::string& bytes, const char* extension) {
    const std::string path = folder + "\\" + std::to_string(seed++) + extension;
    WriteScratchFile(path, bytes);
    return path;
  };
  testing::JpegSettings progressive;
  progressive.progressive = true;
  for (const auto& [width, height] : PhotographSizes) {
    originals.baseline.push_back(
        write(bench::WithCameraMetadata(bench::PhotographJpeg(width, height, seed), seed), ".jpg"));
    originals.progressive.push_back(
        write(bench::PhotographJpeg(width, height, seed, progressive), ".jpg"));
  }
  originals.withMetadata =
      write(testing::WithMetadata(bench::PhotographJpeg(6000, 4000, seed), 16), ".jpg");
  const auto writePng = [&](int width, int height, int noiseBits) {
    const std::string path = folder + "\\" + std::to_string(seed++) + ".png";
    if (!bench::WritePhotographPng(WidenFromAnsi(path), width, height, seed, noiseBits)) {
      std::printf("cannot write %s\n", path.c_str());
    }
    return path;
  };
  originals.png.push_back(writePng(6000, 4000, 4));
  originals.png.push_back(writePng(3840, 2160, 0));
  originals.png.push_back(writePng(2560, 1440, 0));
  return originals;
}

// The generated tree: in each folder of 100 pictures, 10 PNGs, 2 JPEGs with
// 1 MiB of metadata, 18 progressive JPEGs and 70 with a camera's metadata.
// Each name is a hard link to one of the originals: every picture is opened
// and read as a distinct file, at a photograph's cost to decode, without
// gigabytes on disk.
std::string GenerateTree(const std::string& root, const std::string& originalsFolder) {
  const Originals originals = WriteOriginals(originalsFolder);
  CreateDirectoryA(root.c_str(), nullptr);
  for (int first = 0; first < 10; ++first) {
    const std::string level1 = root + "\\album " + std::to_string(first);
    CreateDirectoryA(level1.c_str(), nullptr);
    for (int second = 0; second < 10; ++second) {
      const std::string level2 = level1 + "\\part " + std::to_string(second);
      CreateDirectoryA(level2.c_str(), nullptr);
      for (int file = 0; file < 100; ++file) {
        const std::string name = level2 + "\\photo " + std::to_string(file);
        const std::size_t kind = static_cast<std::size_t>(first + second + file);
        std::string path, original;
        if (file % 10 == 9) {
          path = name + ".png";
          original = originals.png[kind % originals.png.size()];
        } else if (file % 50 == 4) {
          path = name + ".jpg";
          original = originals.withMetadata;
        } else if (file % 10 == 3 || file % 10 == 6) {
          path = name + ".jpeg";
          original = originals.progressive[kind % originals.progressive.size()];
        } else {
          path = name + ".jpg";
          original = originals.baseline[kind % originals.baseline.size()];
        }
        if (!CreateHardLinkA(path.c_str(), original.c_str(), nullptr)) {
          std::printf("cannot link %s\n", path.c_str());
        }
      }
    }
  }
  return "10,000 pictures of photographs' sizes up to 6,000 x 4,000 (JPEG with a camera's "
         "metadata, progressive JPEG, JPEG with 1 MiB of metadata, PNG) in 100 folders, 3 levels";
}

std::vector<std::string> ListTree(const std::string& root) {
  FolderScanEvents events;
  UseFileSystem(events);
  events.folderNotFound = [](const std::string& folder) {
    std::printf("folder %s not found\n", folder.c_str());
  };
  events.progress = [](std::size_t, std::size_t) {};
  return ScanFolderTrees({root}, events);
}

std::string FormatOf(const std::string& path) {
  const std::string name = LowerAZ(path);
  const std::size_t dot = name.rfind('.');
  const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (extension == "jpg" || extension == "jpeg") {
    return "JPEG";
  }
  if (extension == "tif" || extension == "tiff") {
    return "TIFF";
  }
  std::string upper = extension;
  for (char& c : upper) {
    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return upper;
}

// Seconds to open each file, read as much of its start as an examination
// reads first, and close it.
double OpenReadCloseSeconds(const std::vector<std::string>& paths) {
  std::vector<uint8_t> start(FirstPictureHeaderRead);
  const auto begin = std::chrono::steady_clock::now();
  for (const std::string& path : paths) {
    HANDLE file = CreateFileW(WidenFromAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD read = 0;
    if (file != INVALID_HANDLE_VALUE) {
      ReadFile(file, start.data(), static_cast<DWORD>(start.size()), &read, nullptr);
      CloseHandle(file);
    }
  }
  return bench::SecondsSince(begin);
}

void PrintRate(const char* what, std::size_t count, double seconds) {
  std::printf("  %s: %zu in %.2f s: %.0f per second\n", what, count, seconds,
              seconds > 0 ? count / seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  RegisterControlClasses();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::TempFolder folder;
  std::string root;
  std::string description;
  if (argc > 1) {
    root = argv[1];
    description = root;
  } else {
    root = folder / "tree";
    const auto start = std::chrono::steady_clock::now();
    description = GenerateTree(root, folder / "originals");
    std::printf("(tree generated in %.1f s)\n", bench::SecondsSince(start));
  }

  std::vector<std::string> found;

  bench::BenchServices services(folder.Path());
  TOptions& options = services.options;
  options.WallpaperList = folder / "bench.lst";
  options.AutoAddConfirm = false;
  std::string created;
  WriteFileReplacing(options.WallpaperList, ";kel list file\r\n;Don't modify this file\r\n",
                     created);
  TForm1 form({options, services.prompter, services.dialogs, {}, false, folder.Path()});
  form.Create();

  // Each figure is the best of three runs: the first warms the cache, and
  // the machine may be shared.
  constexpr int Runs = 3;
  double listSeconds = 1e9, measureSeconds = 1e9, floorSeconds = 1e9, addSeconds = 1e9;
  std::size_t measured = 0;
  std::size_t added = 0;
  for (int run = 0; run < Runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    found = ListTree(root);
    listSeconds = std::min(listSeconds, bench::SecondsSince(start));

    start = std::chrono::steady_clock::now();
    measured = 0;
    for (const std::string& path : found) {
      measured += MeasurePictureFile(WidenFromAnsi(path)).has_value() ? 1 : 0;
    }
    measureSeconds = std::min(measureSeconds, bench::SecondsSince(start));
    floorSeconds = std::min(floorSeconds, OpenReadCloseSeconds(found));

    form.list.PictureList.clear();
    form.RefreshRows();
    start = std::chrono::steady_clock::now();
    form.ScanFolders({root}, true);
    addSeconds = std::min(addSeconds, bench::SecondsSince(start));
    added = form.list.PictureList.size();
  }
  const std::size_t taken = std::min(found.size(), MaxPictures);

  std::printf("folder search and adding, %s; best of %d runs\n", description.c_str(), Runs);
  std::printf("  picture files found %zu, added %zu, refused %zu%s\n", found.size(), added,
              taken - added, found.size() > taken ? " (more than a list holds)" : "");
  std::printf("  added %zu pictures in %.2f s: %.0f pictures per second\n", added, addSeconds,
              addSeconds > 0 ? added / addSeconds : 0.0);
  PrintRate("its parts alone: listing the folders (files found)", found.size(), listSeconds);
  PrintRate("measuring from the headers on one thread (pictures)", measured, measureSeconds);
  PrintRate("one open, read and close a file on one thread (files)", found.size(), floorSeconds);

  // Full decodes of up to 100 of the files, spread over the tree, by format.
  const std::size_t sample = std::min<std::size_t>(100, found.size());
  const std::size_t stride = sample == 0 ? 1 : found.size() / sample;
  std::map<std::string, std::pair<std::size_t, double>> decodes;
  double decodeSeconds = 0;
  for (std::size_t i = 0; i < sample; ++i) {
    const std::string& path = found[i * stride + i % stride];
    Picture picture;
    const auto start = std::chrono::steady_clock::now();
    const PictureError error = DecodePictureFile(WidenFromAnsi(path), {}, picture);
    const double seconds = bench::SecondsSince(start);
    if (error != PictureError::None) {
      std::printf("  cannot decode %s: %s\n", path.c_str(), PictureErrorText(error));
      continue;
    }
    auto& [count, total] = decodes[FormatOf(path)];
    ++count;
    total += seconds;
    decodeSeconds += seconds;
  }
  std::size_t decoded = 0;
  for (const auto& [format, figures] : decodes) {
    decoded += figures.first;
  }
  std::printf(
      "  full decode of %zu of them: %.2f s: %.1f pictures per second (%.0fx slower "
      "than adding)\n",
      decoded, decodeSeconds, decodeSeconds > 0 ? decoded / decodeSeconds : 0.0,
      decodeSeconds > 0 && addSeconds > 0 ? (added / addSeconds) / (decoded / decodeSeconds) : 0.0);
  for (const auto& [format, figures] : decodes) {
    std::printf("    %s: %zu in %.2f s: %.1f per second\n", format.c_str(), figures.first,
                figures.second, figures.second > 0 ? figures.first / figures.second : 0.0);
  }
  CoUninitialize();
  return argc > 1 || added == found.size() ? 0 : 1;
}
