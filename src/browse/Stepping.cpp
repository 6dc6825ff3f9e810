#include "browse/Stepping.h"

namespace tamsel::browse {

int NextEntry(int index, int listCount) {
    return index + 1 >= listCount ? 0 : index + 1;
}

int PreviousEntry(int index, int listCount) {
    return index <= 0 ? listCount - 1 : index - 1;
}

}  // namespace tamsel::browse
