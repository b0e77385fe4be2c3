#include "comsupport/FrameRows.h"

#include <algorithm>

namespace comsupport {

namespace {

int Width(const RECT& r) { return r.right - r.left; }

}  // namespace

int Widen(FitRow& row, int gap) {
  row.box.right = std::max<LONG>(row.box.right, row.box.left + row.boxNeed);
  // Only a caption that reaches its neighbour moves it: designed room between them is kept.
  LONG before = row.box.left + row.boxNeed;
  for (FitLabel& label : row.labels) {
    label.designed = Width(label.rect);
    const LONG shift = std::max<LONG>(0, before + gap - label.rect.left);
    label.rect.left += shift;
    label.rect.right = label.rect.left + std::max(label.designed, label.need);
    before = label.rect.left + label.need;
  }
  return row.labels.empty() ? row.box.right : row.labels.back().rect.right;
}

void Clip(FitRow& row, int limit, int gap) {
  if (row.labels.empty()) return;
  // What the labels after each one take, at their captions' widths.
  std::vector<int> after(row.labels.size(), 0);
  for (size_t i = row.labels.size() - 1; i > 0; --i) {
    after[i - 1] = after[i] + gap + std::max(row.labels[i].need, 1);
  }
  LONG before = row.labels.front().rect.left - gap;
  for (size_t i = 0; i < row.labels.size(); ++i) {
    FitLabel& label = row.labels[i];
    const LONG width = Width(label.rect);
    label.rect.left = std::max<LONG>(label.rect.left, before + gap);
    LONG right = std::min<LONG>(label.rect.left + width, limit - after[i]);
    right = std::max<LONG>(right, label.rect.left + std::min<LONG>(label.designed, width));  // keeps its designed room
    right = std::min<LONG>(right, limit);
    label.rect.right = std::max<LONG>(right, label.rect.left);
    label.cut = Width(label.rect) < label.need;
    before = label.rect.left + std::min<LONG>(Width(label.rect), label.need);
  }
}

}  // namespace comsupport
