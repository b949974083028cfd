// Reads 8-bit text line by line: a line ends at LF, and a CR before the LF
// is dropped. Text after the last LF is a line of its own when not empty.
#pragma once

#include <cstddef>
#include <string_view>

namespace seltane {

class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // Takes the next line; false at the end of the text.
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) {
      return false;
    }
    const auto lf = text_.find('\n', pos_);
    const std::size_t end = lf == std::string_view::npos ? text_.size() : lf;
    line = text_.substr(pos_, end - pos_);
    if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    pos_ = lf == std::string_view::npos ? text_.size() : lf + 1;
    ++lineNumber_;
    return true;
  }

  // Passes over the next line; false at the end of the text.
  bool Skip() {
    std::string_view unused;
    return Next(unused);
  }

  // 1-based number of the line Next returned last.
  std::size_t LineNumber() const { return lineNumber_; }

  // The text not read yet.
  std::string_view Rest() const { return text_.substr(pos_); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t lineNumber_ = 0;
};

}  // namespace seltane
