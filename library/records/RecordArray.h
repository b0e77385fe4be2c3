#pragma once
// An array property of a record: a value (copied in and out) holding shared references to
// records, with a lower and an upper bound, slots that may be empty, and an unassigned state.
// The library's arrays keep a spare last slot: writers use Lower() .. Upper()-1.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/support/Error.h"

namespace falcrest {

template <class T>
class RecordArray {
 public:
  // Unassigned.
  RecordArray() = default;
  // Assigned, bounds lower..upper inclusive, every slot empty.
  RecordArray(int32_t lower, int32_t upper) { Redim(lower, upper, false); }

  bool Assigned() const { return assigned_; }
  // Bounds; subscript-out-of-range error when unassigned.
  int32_t Lower() const { RequireAssigned(); return lower_; }
  int32_t Upper() const { RequireAssigned(); return lower_ + static_cast<int32_t>(slots_.size()) - 1; }

  // The record at index i (may be empty); subscript-out-of-range error outside the bounds.
  const std::shared_ptr<T>& At(int32_t i) const { return slots_[Index(i)]; }
  // Stores a shared reference at index i; subscript-out-of-range error outside the bounds.
  void Set(int32_t i, std::shared_ptr<T> record) { slots_[Index(i)] = std::move(record); }

  // New bounds; with preserve the records at indexes kept in both stay.
  void Redim(int32_t lower, int32_t upper, bool preserve) {
    std::vector<std::shared_ptr<T>> slots(upper >= lower ? static_cast<size_t>(upper - lower + 1) : 0);
    if (preserve && assigned_) {
      for (int32_t i = lower; i <= upper; ++i) {
        if (i >= lower_ && i < lower_ + static_cast<int32_t>(slots_.size())) slots[i - lower] = slots_[i - lower_];
      }
    }
    slots_ = std::move(slots);
    lower_ = lower;
    assigned_ = true;
  }

 private:
  void RequireAssigned() const {
    if (!assigned_) RaiseSubscriptOutOfRange("Subscript out of range: the array is not assigned");
  }
  size_t Index(int32_t i) const {
    RequireAssigned();
    if (i < lower_ || i - lower_ >= static_cast<int32_t>(slots_.size()))
      RaiseSubscriptOutOfRange("Subscript out of range: index " + std::to_string(i) + " is outside the array");
    return static_cast<size_t>(i - lower_);
  }

  bool assigned_ = false;
  int32_t lower_ = 0;
  std::vector<std::shared_ptr<T>> slots_;
};

}  // namespace falcrest
