// A file mapped into memory for reading: the system reads only the pages
// that are looked at.
#pragma once

#include <string>
#include <string_view>

namespace seltane {

class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  // False when the file cannot be opened or mapped. An empty file opens with
  // empty text.
  bool Open(const std::string& path);
  std::string_view Text() const { return text_; }

 private:
  void* view_ = nullptr;
  std::string_view text_;
};

}  // namespace seltane
