#pragma once
// What the record classes share: reading fields out of a parsed fragment and writing and
// reading the spare-last-slot lists of child records.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/records/RecordArray.h"
#include "library/service/xml/XmlDocument.h"
#include "library/support/Error.h"

namespace falcrest::records {

// Adds XmlElement(name, text) to `out` without the intermediate strings: the license goes out
// with every call.
void AppendElement(std::string& out, const char* name, const std::string& text);

// A new document named `context` in missing-node errors, loaded with `xml` (a parse error
// leaves it empty).
std::unique_ptr<xml::Document> LoadFragment(const std::string& xml, const std::string& context);

// Text of the first element `name` anywhere; missing-node error (91) when there is none.
std::string ReadText(const xml::Document& doc, const char* name);

// Sets `field` from the first element `name` only when its text is a number; text that is no
// number leaves it as it was. Missing-node error when the element is absent; overflow (6),
// naming "<owner>'s <name>", for a number that does not fit in 32 bits.
void ReadGuardedInt32(const xml::Document& doc, const char* name, int32_t& field, const char* owner);

// "true"/"false" as a Boolean the way the run-time converts text: "TRUE"/"FALSE" in any
// case, numbers (0 false, others true); type mismatch (13) for anything else.
bool ToBoolean(const std::string& text, const std::string& what);

// The fragments of slots Lower()..Upper()-1, each under `childTag`; empty when unassigned
// or Upper() <= 0. An empty slot in that range is a missing-object error (91).
template <class T>
std::string SerializeList(const RecordArray<T>& list, const std::string& childTag, const std::string& owner) {
  std::string out;
  if (!list.Assigned() || list.Upper() <= 0) return out;
  for (int32_t i = list.Lower(); i < list.Upper(); ++i) {
    const std::shared_ptr<T>& record = list.At(i);
    if (!record) RaiseMissingObject(owner + " has no " + childTag + " record at index " + std::to_string(i));
    out += record->Serialize(childTag);
  }
  return out;
}

// Reads every element matching `path` into a new record, in document order. After n
// records `list` has bounds 0..n with slot n empty; with none it is left as it was.
template <class T>
void DeserializeList(const xml::Document& doc, const std::string& path, RecordArray<T>& list) {
  std::vector<xml::Node> nodes = doc.SelectNodes(path);
  RecordArray<T> grown;
  for (size_t i = 0; i < nodes.size(); ++i) {
    auto record = std::make_shared<T>();
    record->Deserialize(nodes[i].Xml());
    int32_t index = static_cast<int32_t>(i);
    grown.Redim(0, index + 1, true);
    grown.Set(index, std::move(record));
    list = grown;
  }
}

}  // namespace falcrest::records
