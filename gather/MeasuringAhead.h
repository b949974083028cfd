// Measuring pictures from their headers ahead of the loop that adds them,
// on threads of its own.
//
// Measuring a picture is an open, a small read or two and a close, each
// mostly a wait: for the disk, or under Wine for its server process, whose
// round trips cost most where the two run on different processors. Two
// threads overlap those waits, while the adding loop takes the sizes in
// the pictures' order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace seltane {

// A picture's size as a list stores it.
struct MeasuredSize {
  uint16_t width = 0;
  uint16_t height = 0;
};

// The size of the picture in the file; nothing when the file is missing or
// no picture the program shows.
using PictureMeasure = std::function<std::optional<MeasuredSize>(const std::string& path)>;

inline constexpr unsigned MeasuringThreads = 2;
// A wait for a picture still being measured lasts until the next pictures
// are measured too, this many in all: each wake-up is a switch of threads,
// often across processors, and costs more than a picture's measuring.
inline constexpr std::size_t MeasuredRun = 64;

class MeasuringAhead {
 public:
  // Starts measuring the paths in their order. `measure` is called on
  // several threads at once; what it throws counts as nothing measured.
  MeasuringAhead(std::vector<std::string> paths, PictureMeasure measure,
                 unsigned threads = MeasuringThreads);
  MeasuringAhead(const MeasuringAhead&) = delete;
  MeasuringAhead& operator=(const MeasuringAhead&) = delete;
  // Waits only for the pictures being measured; the rest are left.
  ~MeasuringAhead();

  // The size of paths[index], waiting for it; called from one thread. A
  // picture up to `index` that no thread has taken yet is measured on the
  // calling thread, so that all are measured even where no thread could be
  // started.
  std::optional<MeasuredSize> Size(std::size_t index);

 private:
  void MeasureNext(std::unique_lock<std::mutex>& lock);

  const std::vector<std::string> paths_;
  const PictureMeasure measure_;
  std::mutex mutex_;
  std::condition_variable measured_;
  std::vector<std::optional<MeasuredSize>> sizes_;
  std::vector<bool> done_;
  std::size_t next_ = 0;  // the first path no thread has taken
  // While Size waits: the first and the last path of the run it waits
  // for; only their measuring wakes it.
  bool waiting_ = false;
  std::size_t awaitedFirst_ = 0;
  std::size_t awaitedLast_ = 0;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace seltane
