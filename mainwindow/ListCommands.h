// The main window's list commands on plain data: sorting, deleting and
// moving pictures, and the texts the window shows for them. The window
// applies the results to its list view.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/ListState.h"
#include "data/PictureEntry.h"

namespace seltane {

// The style texts, in code order, as the style box and the list show them.
inline constexpr std::array<std::string_view, WallpaperStyleCount> StyleTexts = {
    "stretch", "center", "tile", "fit width", "fit height", "fit screen"};
std::string_view StyleText(uint8_t style);

// The list's columns.
enum ListColumn : int { lcFileName = 0, lcStyle = 1, lcFullPath = 2 };
inline constexpr int ListColumnCount = 3;
inline constexpr std::array<std::string_view, ListColumnCount> ListColumnHeaders = {
    "File name", "Style", "Full path"};

// The text of a row's first column: the file name, without its extension
// when extensions are not shown.
std::string_view RowCaption(const kelWide& picture, bool showExtensions);

struct SortState {
  int SortColumn = -1;  // -1: not sorted
  bool SortAscending = true;
};

// A click on a column header: a second click on the sorted column turns the
// direction, another column sorts ascending. The headers carry " +" or " -"
// on the sorted column.
void ApplyColumnClick(SortState& sort, std::array<std::string, ListColumnCount>& headers,
                      int column);

// Orders the pictures by the column's key: file name or full path compared
// ignoring the case of A-Z and byte by byte otherwise, or the style code.
// Pictures with equal keys keep their order. Returns, for each new row, the
// row it came from, so that the window can carry selections along.
std::vector<uint32_t> SortPictures(std::vector<kelWide>& pictures, const SortState& sort);

// Removes the pictures at the selected rows. Returns the row to select
// afterwards: the first selected row's index, or the row before it when that
// index is now past the end; -1 when the list became empty or nothing was
// selected.
int DeleteRows(std::vector<kelWide>& pictures, std::vector<int> selectedRows);

// Where a row is once the rows in `removed` (ascending, none twice) have
// gone; -1 when it is one of them.
int RowAfterRemoving(const std::vector<int>& removed, int row);

// Moves the picture at the row one place up or down. Returns its new row, or
// -1 when it cannot move (no such row, or already first or last).
int MoveRowUp(std::vector<kelWide>& pictures, int row);
int MoveRowDown(std::vector<kelWide>& pictures, int row);

// Moves the pictures at the rows one place up or down together: a row at
// the end, or behind a row of the block that cannot move, stays where it
// is, so a block keeps together and gaps between rows close. Returns, for
// each new row, the row it came from; empty when nothing moved.
std::vector<uint32_t> MoveRows(std::vector<kelWide>& pictures, const std::vector<int>& rows,
                               bool up);

// Deleting, moving, sorting, saving as and adding pictures change what both
// the list file and the random file hold.
void MarkListAndRandomChanged(ListState& list);

// A picture's width or height as an entry keeps it: 0 to 65535.
uint16_t ClampToWord(int value);

// The status bar's three panels for a shown picture: "3/120", "1024x768" and
// the path.
std::array<std::string, 3> RowStatusTexts(std::size_t row, std::size_t rowCount, int width,
                                          int height, const std::string& path);

// The window's caption once a row is shown: "Seltane - name - [list]".
std::string PreviewCaption(std::string_view rowCaption, std::string_view listTitle);

// The question asked when the current list file is missing at start-up or
// on opening; candidate is the program folder's file of the same name when
// that exists, else empty.
std::string MissingListQuestion(const std::string& listPath, const std::string& candidate);

}  // namespace seltane
