#pragma once
// Fitting the device rows of a frame to their captions: a check box, then one or two labels,
// left to right. Every rectangle is in pixels of the window that holds the controls.
#include <windows.h>

#include <vector>

namespace comsupport {

struct FitLabel {
  RECT rect;          // as designed; as placed after Widen and Clip
  int need = 0;       // the caption's width
  int designed = 0;   // the designed width, which a label keeps if there is room
  bool cut = false;   // the caption does not fit whole: drawn with "..."
};

struct FitRow {
  RECT box;           // the check box
  int boxNeed = 0;    // its caption's width plus the box and gap
  std::vector<FitLabel> labels;
};

// Widens the box and the labels to what their captions need, moving a label right where its
// left neighbour's caption reaches it (`gap` pixels apart). Gives the right edge the row needs.
int Widen(FitRow& row, int gap);

// Keeps the row's labels left of `limit`: the labels before the last give way first, down to
// their designed width, then the last; a label shorter than its caption is marked cut.
void Clip(FitRow& row, int limit, int gap);

}  // namespace comsupport
