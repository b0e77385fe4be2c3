#pragma once
// Arrays of objects in a VARIANT, as record arrays cross the boundary: a one-dimensional
// array with its own lower bound, whose slots may be empty, or unassigned altogether.
#include <windows.h>
#include <ole2.h>

#include <vector>

#include "comsupport/ComPtr.h"

namespace comsupport {

struct ObjectArray {
  bool assigned = false;
  LONG lower = 0;
  std::vector<ComPtr<IUnknown>> items;  // an empty slot holds nullptr
};

// Reads a variant holding a one-dimensional array of objects: of VT_DISPATCH, of VT_UNKNOWN,
// or of VT_VARIANT whose elements are objects, Nothing or Empty (an empty slot); by reference
// or not. A variant holding an array with no data is the unassigned array. Anything else
// raises the type-mismatch error.
ObjectArray ReadObjectArray(const VARIANT& value);
// Writes the array as VT_ARRAY | VT_VARIANT of VT_DISPATCH elements (Nothing for an empty
// slot), which scripts can index; an unassigned array as VT_ARRAY | VT_VARIANT without data.
void WriteObjectArray(const ObjectArray& array, VARIANT* out);

}  // namespace comsupport
