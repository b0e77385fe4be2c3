#pragma once
// The records' COM objects as the other classes reach them: a record to its object, an
// object handed in back to its record, and the array properties.
#include <memory>

#include "Falcrest_h.h"
#include "comsupport/ObjectArray.h"
#include "library/records/CalendarEventKeyType.h"
#include "library/records/CalendarEventType.h"
#include "library/records/ContactType.h"
#include "library/records/DeviceType.h"
#include "library/records/LicenseType.h"
#include "library/records/MemberType.h"
#include "library/records/RecordArray.h"
#include "library/records/ReminderType.h"
#include "library/records/ResultType.h"

namespace falcrest::com {

// The record's object (the live one if there is one); nullptr for no record.
comsupport::ComPtr<_DeviceType> ObjectOf(const std::shared_ptr<DeviceType>& record);
comsupport::ComPtr<_ContactType> ObjectOf(const std::shared_ptr<ContactType>& record);
comsupport::ComPtr<_MemberType> ObjectOf(const std::shared_ptr<MemberType>& record);
comsupport::ComPtr<_CalendarEventType> ObjectOf(const std::shared_ptr<CalendarEventType>& record);
comsupport::ComPtr<_ResultType> ObjectOf(const std::shared_ptr<ResultType>& record);

// The record behind an object handed in; nullptr for no object; the type-mismatch error for
// an object that is not such a record.
void RecordOf(IUnknown* object, std::shared_ptr<DeviceType>& out);
void RecordOf(IUnknown* object, std::shared_ptr<ContactType>& out);
void RecordOf(IUnknown* object, std::shared_ptr<MemberType>& out);
void RecordOf(IUnknown* object, std::shared_ptr<CalendarEventType>& out);
void RecordOf(IUnknown* object, std::shared_ptr<LicenseType>& out);
void RecordOf(IUnknown* object, std::shared_ptr<ReminderType>& out);
void RecordOf(IUnknown* object, std::shared_ptr<CalendarEventKeyType>& out);

// The record an argument names, which must be set: the missing-object error otherwise.
template <class Record, class Itf>
Record& RequiredRecord(Itf** argument, std::shared_ptr<Record>& holder, const char* name) {
  RecordOf(argument ? *argument : nullptr, holder);
  if (!holder) RaiseMissingObject(std::string("Object variable not set: the argument ") + name + " holds no record");
  return *holder;
}

// An array property read: a copy of the array, holding the records themselves.
template <class Record>
void WriteArray(const RecordArray<Record>& array, VARIANT* out) {
  comsupport::ObjectArray objects;
  if (array.Assigned()) {
    objects.assigned = true;
    objects.lower = array.Lower();
    for (int32_t i = array.Lower(); i <= array.Upper(); ++i) {
      objects.items.push_back(comsupport::ComPtr<IUnknown>::Attach(ObjectOf(array.At(i)).Detach()));
    }
  }
  comsupport::WriteObjectArray(objects, out);
}

// An array property written: the given array copied in, its records shared; the
// type-mismatch error for anything that is not an array of such records.
template <class Record>
void ReadArray(const VARIANT& value, RecordArray<Record>& into) {
  comsupport::ObjectArray objects = comsupport::ReadObjectArray(value);
  RecordArray<Record> array;
  if (objects.assigned) {
    const int32_t lower = objects.lower;
    array.Redim(lower, lower + static_cast<int32_t>(objects.items.size()) - 1, false);
    for (size_t i = 0; i < objects.items.size(); ++i) {
      std::shared_ptr<Record> record;
      RecordOf(objects.items[i].get(), record);
      array.Set(lower + static_cast<int32_t>(i), std::move(record));
    }
  }
  into = std::move(array);
}

}  // namespace falcrest::com
