#pragma once

// One step through the file list, the single view's Previous and Next and the show's sequential
// order: wrapping around at both ends.
namespace tamsel::browse {

// One entry forward (from no selection, -1, to entry 0) and back (from entry 0 or no selection to
// the last), wrapping at both ends.
int NextEntry(int index, int listCount);
int PreviousEntry(int index, int listCount);

}  // namespace tamsel::browse
