#pragma once

// The arithmetic of thumbnail pages over the file list, wrapping around at its ends.
namespace tamsel::thumbs {

inline constexpr int kCellsPerPage = 9;

// Files on a page: the whole list when it holds nine or fewer, else nine.
int PageSize(int listCount);

// The entry shown in `cell` (1..9) of the page that starts at `pageStart`: the page wraps to the
// start of the list when the files after `pageStart` run out.
int CellEntry(int pageStart, int cell, int listCount);

// The page after the selection: it starts right after the selected entry, or at 0 after the last.
int NextPageStart(int selected, int listCount);

// The page before: `pageStart` moved back by a page size, wrapping; the selection plays no part.
int PreviousPageStart(int pageStart, int listCount);

}  // namespace tamsel::thumbs
