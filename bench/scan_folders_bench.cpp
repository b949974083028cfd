// Times the folder search with adding, without confirmation and headless,
// over a tree as a collection of wallpapers holds it, and the full decode of
// up to 100 of the same files for comparison.
//
// Without an argument the tree is generated: 10,000 pictures in 100 folders
// on 3 levels, photographs' sizes up to 6,000 x 4,000, baseline and
// progressive JPEGs, JPEGs carrying 1 MiB of metadata before their frame,
// and PNG files of photographs' sizes. Plain-coloured pictures keep it light
// on disk. With a folder as argument, that folder's tree is used instead.
//
// Besides the whole adding, the two parts it is made of are timed alone:
// listing the folders, and measuring each picture from its header.
#include <windows.h>

#include <commctrl.h>
#include <wincodec.h>

#include <chrono>
#include <cstdio>
#include <map>

#include "bench/BenchClock.h"
#include "bench/BenchServices.h"
#include "data/PathText.h"
#include "gather/FolderScan.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/Picture.h"
#include "platform/TextConversion.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestJpeg.h"

using namespace seltane;

namespace {

constexpr int PictureWidths[][2] = {{1920, 1080}, {2560, 1600}, {3840, 2160}, {5120, 2880},
                                    {6000, 4000}, {4000, 6000}, {1024, 768}};

// One colour, RGB.
void Sky(int, int, uint8_t* rgb) {
  rgb[0] = 40;
  rgb[1] = 90;
  rgb[2] = 160;
}

// A plain-coloured PNG, encoded by the system's imaging component.
std::string EncodePng(int width, int height) {
  std::string png;
  IWICImagingFactory* factory = nullptr;
  IStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  const std::vector<uint8_t> row(static_cast<std::size_t>(width) * 3, 0x80);
  bool written = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_PPV_ARGS(&factory))) &&
                 SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
                 SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
                 SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
                 SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
                 SUCCEEDED(frame->Initialize(nullptr)) &&
                 SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)));
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  written = written && SUCCEEDED(frame->SetPixelFormat(&format)) &&
            IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
  for (int y = 0; written && y < height; ++y) {
    written =
        SUCCEEDED(frame->WritePixels(1, static_cast<UINT>(row.size()),
                                     static_cast<UINT>(row.size()), const_cast<BYTE*>(row.data())));
  }
  written = written && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  HGLOBAL memory = nullptr;
  if (written && SUCCEEDED(GetHGlobalFromStream(stream, &memory))) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    png.assign(static_cast<const char*>(GlobalLock(memory)),
               static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder, stream, factory}) {
    if (object != nullptr) {
      object->Release();
    }
  }
  return png;
}

// A plain write: the tree is scratch, and flushing each of its files to disk
// would make generating it take minutes.
void WriteScratchFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    std::printf("cannot write %s\n", path.c_str());
  }
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
  }
}

// The generated tree: in each folder of 100 pictures, 10 PNGs, 2 JPEGs with
// metadata, 18 progressive JPEGs and 70 baseline ones, of the sizes above.
std::string GenerateTree(const std::string& root) {
  std::vector<std::string> baseline, progressive, png;
  testing::JpegSettings progressiveSettings;
  progressiveSettings.progressive = true;
  for (const auto& size : PictureWidths) {
    baseline.push_back(testing::EncodeJpeg(size[0], size[1], {}, Sky));
    progressive.push_back(testing::EncodeJpeg(size[0], size[1], progressiveSettings, Sky));
  }
  const std::string withMetadata = testing::WithMetadata(baseline[4], 16);
  png.push_back(EncodePng(6000, 4000));
  png.push_back(EncodePng(3840, 2160));
  if (png[0].empty() || png[1].empty()) {
    std::printf("the imaging component encoded no PNG\n");
  }
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
        if (file % 10 == 9) {
          WriteScratchFile(name + ".png", png[kind % png.size()]);
        } else if (file % 50 == 4) {
          WriteScratchFile(name + ".jpg", withMetadata);
        } else if (file % 10 == 3 || file % 10 == 6) {
          WriteScratchFile(name + ".jpeg", progressive[kind % progressive.size()]);
        } else {
          WriteScratchFile(name + ".jpg", baseline[kind % baseline.size()]);
        }
      }
    }
  }
  return "10,000 pictures (JPEG, progressive JPEG, JPEG with 1 MiB of metadata, PNG) in 100 "
         "folders, 3 levels";
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

void PrintRate(const char* what, std::size_t count, double seconds) {
  std::printf("  %s: %zu in %.2f s: %.0f per second\n", what, count, seconds,
              seconds > 0 ? count / seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
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
    description = GenerateTree(root);
    std::printf("(tree generated in %.1f s)\n", bench::SecondsSince(start));
  }

  // Warm the cache: list the tree and measure every picture once.
  std::vector<std::string> found = ListTree(root);
  for (const std::string& path : found) {
    MeasurePictureFile(WidenFromAnsi(path));
  }

  bench::BenchServices services(folder.Path());
  TOptions& options = services.options;
  options.WallpaperList = folder / "bench.lst";
  options.AutoAddConfirm = false;
  std::string created;
  WriteFileReplacing(options.WallpaperList, ";kel list file\r\n;Don't modify this file\r\n",
                     created);
  TForm1 form({options, services.prompter, services.dialogs, {}, false, folder.Path()});
  form.Create();

  // The machine may be shared: each figure is the best of three runs.
  constexpr int Runs = 3;
  double listSeconds = 1e9, measureSeconds = 1e9, addSeconds = 1e9;
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
  PrintRate("of which alone, listing the folders (files found)", found.size(), listSeconds);
  PrintRate("and alone, measuring from the headers (pictures)", measured, measureSeconds);

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
