// The generated folder tree the folder benchmarks search: 10,000 JPEG files
// of varied sizes in 100 folders, 3 levels ("album N\part M\photo K.jpg").
// Plain-coloured pictures compress small, so the tree stays light on disk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Files.h"
#include "tests/support/TestJpeg.h"

namespace seltane::bench {

// Writes the tree under `root` (created) and returns the files' paths in
// the order written.
inline std::vector<std::string> WritePictureTree(const std::string& root) {
  const int sizes[][2] = {{640, 480},   {800, 600},   {1024, 768}, {1280, 1024},
                          {1920, 1080}, {2560, 1600}, {3000, 2000}};
  std::vector<std::string> pictures;
  for (const auto& size : sizes) {
    pictures.push_back(testing::EncodeJpeg(size[0], size[1], {}, [](int, int, uint8_t* rgb) {
      rgb[0] = 40;
      rgb[1] = 90;
      rgb[2] = 160;
    }));
  }
  std::vector<std::string> files;
  std::string error;
  CreateDirectoryA(root.c_str(), nullptr);
  for (int first = 0; first < 10; ++first) {
    const std::string level1 = root + "\\album " + std::to_string(first);
    CreateDirectoryA(level1.c_str(), nullptr);
    for (int second = 0; second < 10; ++second) {
      const std::string level2 = level1 + "\\part " + std::to_string(second);
      CreateDirectoryA(level2.c_str(), nullptr);
      for (int file = 0; file < 100; ++file) {
        const std::string path = level2 + "\\photo " + std::to_string(file) + ".jpg";
        WriteFileReplacing(path, pictures[(first + second + file) % pictures.size()], error);
        files.push_back(path);
      }
    }
  }
  return files;
}

}  // namespace seltane::bench
