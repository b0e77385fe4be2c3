#include "library/service/xml/pugixml/PugiPath.h"

namespace falcrest::xml {
namespace {

// What each byte may be in a plain name: kStart may begin a name, kName may follow.
constexpr unsigned char kStart = 1;
constexpr unsigned char kName = 2;

struct NameChars {
  unsigned char kind[256] = {};
  constexpr NameChars() {
    for (int c = 0; c < 256; ++c) {
      const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
      const bool other = (c >= '0' && c <= '9') || c == '-' || c == '.';
      kind[c] = static_cast<unsigned char>((letter ? kStart | kName : 0) | (other ? kName : 0));
    }
  }
  bool Is(char c, unsigned char what) const { return (kind[static_cast<unsigned char>(c)] & what) != 0; }
};
constexpr NameChars kNameChars;

// The length of the plain name at the start of `text`: a name, or a prefix and a name
// ("Device", "soap:Body"); 0 when `text` does not start with one. Anything XPath might read
// as more than a name test (axes, wildcards, predicates, functions, other letters) is not
// taken: the step must end at "/" or at the end of the path.
size_t PlainNameLength(std::string_view text) {
  size_t i = 0;
  for (int part = 0; part < 2; ++part) {
    if (i == text.size() || !kNameChars.Is(text[i], kStart)) return 0;
    ++i;
    while (i < text.size() && kNameChars.Is(text[i], kName)) ++i;
    if (i == text.size() || text[i] == '/') return i;
    if (text[i] != ':') return 0;
    ++i;
  }
  return 0;
}

// `name` (as pugixml keeps it, NUL-terminated) equals `want` exactly.
bool NameIs(const char* name, std::string_view want) {
  for (char c : want) {
    if (*name != c) return false;
    ++name;
  }
  return *name == '\0';
}

bool IsElementNamed(const pugi::xml_node& node, std::string_view want) {
  return NameIs(node.name(), want) && node.type() == pugi::node_element;
}

bool Matches(const pugi::xml_node& node, const SimplePath& simple) {
  if (!IsElementNamed(node, simple.name)) return false;
  return simple.shape == SimplePath::Shape::kAnywhere || IsElementNamed(node.parent(), simple.parent);
}

pugi::xml_node ChildrenAbsolute(const pugi::xml_node& node, std::string_view steps, std::vector<pugi::xml_node>* found);

// `node` against the first of the absolute steps, then its children against the rest. With
// `found` null, gives the first match; otherwise adds every match to it and gives null.
// Depth first in child order is document order, since every match sits at the same depth.
pugi::xml_node StepAbsolute(const pugi::xml_node& node, std::string_view steps, std::vector<pugi::xml_node>* found) {
  const size_t slash = steps.find('/');
  if (!IsElementNamed(node, steps.substr(0, slash))) return pugi::xml_node();
  if (slash != std::string_view::npos) return ChildrenAbsolute(node, steps.substr(slash + 1), found);
  if (!found) return node;
  found->push_back(node);
  return pugi::xml_node();
}

pugi::xml_node ChildrenAbsolute(const pugi::xml_node& node, std::string_view steps, std::vector<pugi::xml_node>* found) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    const pugi::xml_node first = StepAbsolute(child, steps, found);
    if (first) return first;
  }
  return pugi::xml_node();
}

pugi::xml_node Absolute(const Scope& scope, const std::string& path, std::vector<pugi::xml_node>* found) {
  const std::string_view steps = std::string_view(path).substr(1);
  return scope.element ? StepAbsolute(scope.root, steps, found) : ChildrenAbsolute(scope.root, steps, found);
}

// The element standing for a document is at the top: it matches "//name", never
// "//parent/child", whose parent would be the document.
bool MatchesTop(const pugi::xml_node& element, const SimplePath& simple) {
  return simple.shape == SimplePath::Shape::kAnywhere && IsElementNamed(element, simple.name);
}

}  // namespace

SimplePath ParsePath(const std::string& path) {
  SimplePath simple;
  std::string_view rest(path);
  const bool anywhere = rest.substr(0, 2) == "//";
  if (!anywhere && rest.substr(0, 1) != "/") return simple;
  rest.remove_prefix(anywhere ? 2 : 1);
  std::string_view steps[2];
  size_t count = 0;
  while (true) {
    const size_t length = PlainNameLength(rest);
    if (length == 0) return simple;
    if (count < 2) steps[count] = rest.substr(0, length);
    ++count;
    if (length == rest.size()) break;
    rest.remove_prefix(length + 1);
  }
  if (!anywhere) {
    simple.shape = SimplePath::Shape::kAbsolute;
  } else if (count == 1) {
    simple.shape = SimplePath::Shape::kAnywhere;
    simple.name = steps[0];
  } else if (count == 2) {
    simple.shape = SimplePath::Shape::kAnywhereChild;
    simple.parent = steps[0];
    simple.name = steps[1];
  }
  return simple;
}

pugi::xml_node FindFirst(const Scope& scope, const std::string& path, const SimplePath& simple) {
  if (simple.shape == SimplePath::Shape::kAbsolute) return Absolute(scope, path, nullptr);
  if (scope.element && MatchesTop(scope.root, simple)) return scope.root;
  pugi::xml_node found;
  WalkInOrder(scope.root, [&](const pugi::xml_node& node) {
    if (!Matches(node, simple)) return true;
    found = node;
    return false;
  });
  return found;
}

std::vector<pugi::xml_node> FindAll(const Scope& scope, const std::string& path, const SimplePath& simple) {
  std::vector<pugi::xml_node> found;
  if (simple.shape == SimplePath::Shape::kAbsolute) {
    Absolute(scope, path, &found);
    return found;
  }
  if (scope.element && MatchesTop(scope.root, simple)) found.push_back(scope.root);
  WalkInOrder(scope.root, [&](const pugi::xml_node& node) {
    if (Matches(node, simple)) found.push_back(node);
    return true;
  });
  return found;
}

}  // namespace falcrest::xml
