#pragma once
// One live COM object per native object: a record reached twice (through two properties, or
// through a property and the variable it was set from) is the same COM object, so that
// identity tests of callers ("Is") hold as they do for the records themselves.
#include <map>
#include <mutex>
#include <utility>

#include "comsupport/Object.h"

namespace comsupport {

class IdentityMap {
 public:
  // The kind tells apart native objects of different types that could share an address.
  using Key = std::pair<const void*, const void*>;  // kind, native object

  // The live object of the key with a reference added, or the one `make` creates (holding
  // its creator's reference), which is then entered.
  template <class Make>
  ObjectCore* FindOrAdd(const Key& key, Make&& make) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = objects_.find(key);
    if (found != objects_.end() && found->second->TryAddRef()) return found->second;
    ObjectCore* made = make();
    objects_[key] = made;
    return made;
  }
  // Called by a dying object: removes the entry if it is still this object's.
  void Forget(const Key& key, const ObjectCore* object) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = objects_.find(key);
    if (found != objects_.end() && found->second == object) objects_.erase(found);
  }

 private:
  std::mutex mutex_;
  std::map<Key, ObjectCore*> objects_;
};

// The module's map.
IdentityMap& Identities();

}  // namespace comsupport
