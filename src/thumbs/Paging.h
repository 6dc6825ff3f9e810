#pragma once

// The arithmetic of stepping through the file list: single entries and thumbnail pages, both
// wrapping around at the ends of the list.
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

// One entry forward (from no selection, -1, to entry 0) and back (from entry 0 or no selection to
// the last), wrapping at both ends.
int NextEntry(int index, int listCount);
int PreviousEntry(int index, int listCount);

}  // namespace tamsel::thumbs
