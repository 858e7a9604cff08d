#pragma once

// The matrix as a file for other programs: CSV for spreadsheets and scripts,
// HTML as one page a browser shows without anything from elsewhere. Every name,
// title and command is escaped for the format, so that text from a hub's file
// is shown as text.

#include "base/result.h"
#include "matrix/profile_matrix.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tavu {

// What a cell says: "x" written, "off" switched off, nothing when absent.
std::string_view markText(Mark mark);

// RFC 4180: a header of identity, path, command and the profiles' names, then
// a record an item, lines ending in CR LF. A field that a spreadsheet would
// take for a formula begins with an apostrophe.
std::string matrixCsv(const ProfileMatrix& matrix);

// One self-contained page: the header row and the path column stay in view
// while the table scrolls, each submenu is a group of rows under its path, the
// header gives each profile's count of items, and a path shows its item's
// command when the pointer rests on it. No script, font or picture is loaded.
std::string matrixHtml(const ProfileMatrix& matrix, std::string_view title);

// A file the matrix could not be written to, and why (an errno value).
struct MatrixFileUnwritable {
    std::filesystem::path path;
    int reason = 0;
};

// Replaces the file whole with the matrix as HTML when its name ends in
// ".html" or ".htm" in any letter case, else as CSV.
Result<Done, MatrixFileUnwritable> writeMatrixFile(const ProfileMatrix& matrix,
                                                   const std::filesystem::path& path, std::string_view title);

// The submenu an item stands in: its path up to the last "\", empty at the top.
std::string_view submenuOf(const MatrixItem& item);

} // namespace tavu
