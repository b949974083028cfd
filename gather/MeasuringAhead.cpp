#include "gather/MeasuringAhead.h"

#include <algorithm>
#include <system_error>

namespace seltane {
namespace {

// The picture's size; nothing when measuring throws (out of memory, say):
// the picture counts as one that cannot be read. (Returned from both
// branches: with an optional assigned in a try block instead, GCC 12 at -O1
// and above left it uninitialised where the call threw, and the picture
// took the size measured before it.)
std::optional<MeasuredSize> MeasureGuarded(const PictureMeasure& measure, const std::string& path) {
  try {
    return measure(path);
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

MeasuringAhead::MeasuringAhead(std::vector<std::string> paths, PictureMeasure measure,
                               unsigned threads)
    : paths_(std::move(paths)),
      measure_(std::move(measure)),
      sizes_(paths_.size()),
      done_(paths_.size(), false) {
  const std::size_t count = std::min<std::size_t>(threads, paths_.size());
  try {
    for (std::size_t i = 0; i < count; ++i) {
      threads_.emplace_back([this] {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stop_ && next_ < paths_.size()) {
          MeasureNext(lock);
        }
      });
    }
  } catch (const std::system_error&) {
    // Fewer threads, or none: Size measures what is left.
  }
}

MeasuringAhead::~MeasuringAhead() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  for (std::thread& thread : threads_) {
    thread.join();
  }
}

std::optional<MeasuredSize> MeasuringAhead::Size(std::size_t index) {
  std::unique_lock<std::mutex> lock(mutex_);
  while (next_ <= index) {
    MeasureNext(lock);
  }
  if (!done_[index]) {
    // Being measured by a thread, which measures the run after it too.
    waiting_ = true;
    awaitedFirst_ = index;
    awaitedLast_ = std::min(index + MeasuredRun, paths_.size()) - 1;
    measured_.wait(lock, [this] { return !waiting_; });
  }
  return sizes_[index];
}

// Takes the next path and measures it with the lock released.
void MeasuringAhead::MeasureNext(std::unique_lock<std::mutex>& lock) {
  const std::size_t index = next_++;
  lock.unlock();
  const std::optional<MeasuredSize> size = MeasureGuarded(measure_, paths_[index]);
  lock.lock();
  sizes_[index] = size;
  done_[index] = true;
  if (waiting_ && done_[awaitedFirst_] && done_[awaitedLast_]) {
    waiting_ = false;
    measured_.notify_one();
  }
}

}  // namespace seltane
