#include "mainwindow/ListCommands.h"

#include <algorithm>

#include "data/ListFormat.h"
#include "data/PathText.h"

namespace seltane {

std::string_view StyleText(uint8_t style) {
  return style < StyleTexts.size() ? StyleTexts[style] : std::string_view{};
}

std::string_view RowCaption(const kelWide& picture, bool showExtensions) {
  return showExtensions ? std::string_view(picture.FileName)
                        : NameWithoutExtension(picture.FileName);
}

void ApplyColumnClick(SortState& sort, std::array<std::string, ListColumnCount>& headers,
                      int column) {
  if (column < 0 || column >= ListColumnCount) {
    return;
  }
  if (column == sort.SortColumn) {
    sort.SortAscending = !sort.SortAscending;
    headers[column].back() = sort.SortAscending ? '+' : '-';
    return;
  }
  if (sort.SortColumn != -1) {
    headers[sort.SortColumn].resize(headers[sort.SortColumn].size() - 2);
  }
  sort.SortColumn = column;
  sort.SortAscending = true;
  headers[column] += " +";
}

std::vector<uint32_t> SortPictures(std::vector<kelWide>& pictures, const SortState& sort) {
  auto key = [&](const kelWide& a, const kelWide& b) {
    switch (sort.SortColumn) {
      case lcFileName:
        return CompareLowerAZ(a.FileName, b.FileName);
      case lcStyle:
        return static_cast<int>(a.Style) - static_cast<int>(b.Style);
      case lcFullPath:
        return CompareLowerAZ(a.FullPath, b.FullPath);
      default:
        return 0;
    }
  };
  std::vector<uint32_t> order(pictures.size());
  for (uint32_t row = 0; row < order.size(); ++row) {
    order[row] = row;
  }
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int byKey = key(pictures[a], pictures[b]);
    return sort.SortAscending ? byKey < 0 : byKey > 0;
  });
  std::vector<kelWide> sorted;
  sorted.reserve(pictures.size());
  for (uint32_t from : order) {
    sorted.push_back(std::move(pictures[from]));
  }
  pictures = std::move(sorted);
  return order;
}

int DeleteRows(std::vector<kelWide>& pictures, std::vector<int> selectedRows) {
  std::sort(selectedRows.begin(), selectedRows.end());
  selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
  selectedRows.erase(
      std::remove_if(selectedRows.begin(), selectedRows.end(),
                     [&](int row) { return row < 0 || row >= static_cast<int>(pictures.size()); }),
      selectedRows.end());
  if (selectedRows.empty()) {
    return -1;
  }
  const int first = selectedRows.front();
  std::size_t next = 0;
  std::size_t kept = 0;
  for (std::size_t row = 0; row < pictures.size(); ++row) {
    if (next < selectedRows.size() && static_cast<int>(row) == selectedRows[next]) {
      ++next;
      continue;
    }
    if (kept != row) {
      pictures[kept] = std::move(pictures[row]);
    }
    ++kept;
  }
  pictures.resize(kept);
  if (pictures.empty()) {
    return -1;
  }
  return first == static_cast<int>(pictures.size()) ? first - 1 : first;
}

int RowAfterRemoving(const std::vector<int>& removed, int row) {
  const auto before = std::lower_bound(removed.begin(), removed.end(), row);
  if (before != removed.end() && *before == row) {
    return -1;
  }
  return row - static_cast<int>(before - removed.begin());
}

int MoveRowUp(std::vector<kelWide>& pictures, int row) {
  if (row <= 0 || row >= static_cast<int>(pictures.size())) {
    return -1;
  }
  std::swap(pictures[row], pictures[row - 1]);
  return row - 1;
}

int MoveRowDown(std::vector<kelWide>& pictures, int row) {
  if (row < 0 || row + 1 >= static_cast<int>(pictures.size())) {
    return -1;
  }
  std::swap(pictures[row], pictures[row + 1]);
  return row + 1;
}

std::vector<uint32_t> MoveRows(std::vector<kelWide>& pictures, const std::vector<int>& rows,
                               bool up) {
  const std::size_t count = pictures.size();
  std::vector<uint8_t> moving(count, 0);
  for (int row : rows) {
    if (row >= 0 && static_cast<std::size_t>(row) < count) {
      moving[row] = 1;
    }
  }
  std::vector<uint32_t> order(count);
  for (std::size_t row = 0; row < count; ++row) {
    order[row] = static_cast<uint32_t>(row);
  }
  // Taken from the end the block moves to, so that each row finds the
  // place before it free once the row ahead of it has moved.
  bool moved = false;
  for (std::size_t step = 1; step < count; ++step) {
    const std::size_t row = up ? step : count - 1 - step;
    const std::size_t place = up ? row - 1 : row + 1;
    if (moving[row] != 0 && moving[place] == 0) {
      std::swap(moving[row], moving[place]);
      std::swap(order[row], order[place]);
      std::swap(pictures[row], pictures[place]);
      moved = true;
    }
  }
  if (!moved) {
    order.clear();
  }
  return order;
}

void MarkListAndRandomChanged(ListState& list) {
  list.ListChanged = true;
  list.RandomChanged = true;
}

uint16_t ClampToWord(int value) {
  return static_cast<uint16_t>(std::clamp(value, 0, 65535));
}

std::array<std::string, 3> RowStatusTexts(std::size_t row, std::size_t rowCount, int width,
                                          int height, const std::string& path) {
  return {std::to_string(row + 1) + "/" + std::to_string(rowCount),
          std::to_string(width) + "x" + std::to_string(height), path};
}

std::string PreviewCaption(std::string_view rowCaption, std::string_view listTitle) {
  std::string caption = "Seltane - ";
  caption.append(rowCaption).append(" - ").append(listTitle);
  return caption;
}

std::string MissingListQuestion(const std::string& listPath, const std::string& candidate) {
  if (!candidate.empty()) {
    return "Picture list file " + listPath + " not found. But file " + candidate +
           " founded. Press [ Yes ] - to open it, [ No ] - open othet list file, [ Cancel ] - "
           "do nothing.";
  }
  return "Picture list file " + listPath +
         " not found. Create new list? Press [ Yes ] - to create, [ No ] - open other list, "
         "[ Cancel ] - do nothing.";
}

}  // namespace seltane
