#include "thumbs/Paging.h"

namespace tamsel::thumbs {

int PageSize(int listCount) {
    return listCount <= kCellsPerPage ? listCount : kCellsPerPage;
}

int CellEntry(int pageStart, int cell, int listCount) {
    const int entry = pageStart + cell - 1;
    return entry <= listCount - 1 ? entry : entry - listCount;
}

int NextPageStart(int selected, int listCount) {
    return selected == listCount - 1 ? 0 : selected + 1;
}

int PreviousPageStart(int pageStart, int listCount) {
    const int step = PageSize(listCount);
    return pageStart - step >= 0 ? pageStart - step : pageStart - step + listCount;
}

}  // namespace tamsel::thumbs
