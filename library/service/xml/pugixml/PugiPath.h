#pragma once
// The paths the library uses, answered by walking a pugixml tree instead of running the
// XPath engine: "/a/b/c" (from the document down), "//name" (anywhere) and "//parent/child"
// (every such child directly under such a parent). Names are compared as written, prefix
// included; results come in document order, as XPath gives them.
#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace falcrest::xml {

// Calls `visit(node)` for every node below `root` in document order until it returns false.
// pugixml's own walk over its tree: far cheaper per node than stepping through the node API.
template <class Visit>
void WalkInOrder(const pugi::xml_node& root, Visit visit) {
  struct Walker : pugi::xml_tree_walker {
    explicit Walker(Visit& v) : visit(v) {}
    bool for_each(pugi::xml_node& node) override { return visit(node); }
    Visit& visit;
  } walker(visit);
  pugi::xml_node handle = root;  // the walk needs a handle it may change; the tree is only read
  handle.traverse(walker);
}

struct SimplePath {
  enum class Shape { kOther, kAbsolute, kAnywhere, kAnywhereChild };
  Shape shape = Shape::kOther;
  std::string_view parent;  // kAnywhereChild: the parent's name
  std::string_view name;    // kAnywhere and kAnywhereChild: the element's name
};

// Where paths are looked for: a whole document, or an element standing for a document that
// holds it alone (what writing the element out and parsing the text would give).
struct Scope {
  pugi::xml_node root;  // the document, or the element
  bool element = false;
};

// The shape of `path` when it is one of the three with plain names in every step; kOther
// for anything else, which is left to XPath (and to its error for a malformed path).
SimplePath ParsePath(const std::string& path);

// The first match in `scope` in document order, or a null node. `path` is the text `simple`
// came from.
pugi::xml_node FindFirst(const Scope& scope, const std::string& path, const SimplePath& simple);

// Every match in `scope` in document order.
std::vector<pugi::xml_node> FindAll(const Scope& scope, const std::string& path, const SimplePath& simple);

}  // namespace falcrest::xml
