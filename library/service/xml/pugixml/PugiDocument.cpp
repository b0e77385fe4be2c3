// The XML document seam on pugixml. Names are compared as written, prefix included, and
// no namespace is ever resolved: the matching rule the service client relies on. The three
// path shapes the library uses ("/a/b", "//name", "//parent/child") are answered by walking
// the tree; any other path goes to pugixml's XPath engine, which applies the same rule.
#include <pugixml.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "library/service/xml/XmlDocument.h"
#include "library/service/xml/pugixml/PugiPath.h"
#include "library/support/Error.h"

namespace falcrest::xml {
namespace {

// Deeper documents are refused: nothing the service sends comes near, and it keeps every
// later walk over the tree cheap and bounded.
constexpr int kMaxDepth = 1000;

// Compiled XPath queries kept per thread, for the paths the tree walk does not answer.
constexpr size_t kMaxCompiledPaths = 256;

// Text is kept as sent (no end-of-line normalisation) except text made only of whitespace,
// which is dropped as the seam promises; the DOCTYPE is kept as a node so that it can be refused.
constexpr unsigned kParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_doctype;

bool IsText(const pugi::xml_node& node) {
  const pugi::xml_node_type type = node.type();
  return type == pugi::node_pcdata || type == pugi::node_cdata;
}

// All PCDATA and CDATA below `root`, in document order.
std::string DescendantText(const pugi::xml_node& root) {
  const pugi::xml_node first = root.first_child();
  // The usual element holds one piece of text: no concatenation for it.
  if (first && !first.next_sibling() && IsText(first)) return first.value();
  std::string text;
  WalkInOrder(root, [&](const pugi::xml_node& node) {
    if (IsText(node)) text += node.value();
    return true;
  });
  return text;
}

// True when some PCDATA or CDATA below `root` is not empty.
bool HasDescendantText(const pugi::xml_node& root) {
  bool found = false;
  WalkInOrder(root, [&](const pugi::xml_node& node) {
    found = IsText(node) && node.value()[0] != '\0';
    return !found;
  });
  return found;
}

// True when some node deeper than kMaxDepth may exist: such a node needs kMaxDepth elements
// around it, so at least that many "<" in the text. Spares ordinary answers the walk below.
bool MayBeTooDeep(const std::string& text) {
  return text.size() >= static_cast<size_t>(kMaxDepth) &&
         std::count(text.begin(), text.end(), '<') >= static_cast<std::ptrdiff_t>(kMaxDepth);
}

bool IsTooDeep(const pugi::xml_document& doc) {
  pugi::xml_node node = doc.first_child();
  int depth = 1;
  while (node) {
    if (depth > kMaxDepth) return true;
    if (node.first_child()) {
      node = node.first_child();
      ++depth;
      continue;
    }
    while (!node.next_sibling()) {
      node = node.parent();
      --depth;
      if (node == doc) return false;
    }
    node = node.next_sibling();
  }
  return false;
}

// True when the tree has one root element, is no deeper than kMaxDepth and declares no
// DOCTYPE (which could carry entity declarations). pugixml itself accepts several roots, and
// takes a DOCTYPE only at the top level, so the top level is all there is to look at for it.
bool IsAcceptable(const pugi::xml_document& doc, const std::string& text) {
  int roots = 0;
  for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
    const pugi::xml_node_type type = child.type();
    if (type == pugi::node_doctype) return false;
    roots += type == pugi::node_element;
  }
  if (roots != 1) return false;
  return !MayBeTooDeep(text) || !IsTooDeep(doc);
}

class PugiNode : public NodeImpl {
 public:
  // Holds the document so that a node outlives a later load into the same Document.
  PugiNode(std::shared_ptr<const pugi::xml_document> doc, pugi::xml_node node)
      : doc_(std::move(doc)), node_(node) {}

  std::string Text() const override { return DescendantText(node_); }
  bool HasText() const override { return HasDescendantText(node_); }

  std::string Xml() const override {
    struct Appender : pugi::xml_writer {
      void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
      std::string text;
    } out;
    node_.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(out.text);
  }

  std::unique_ptr<Document> Copy(const std::string& context) const override;

 private:
  std::shared_ptr<const pugi::xml_document> doc_;
  pugi::xml_node node_;
};

class PugiDocument : public Document {
 public:
  explicit PugiDocument(std::string context)
      : context_(std::move(context)), doc_(std::make_shared<pugi::xml_document>()) {}
  // A document holding `element` of `doc` alone, as writing the element out and parsing
  // the text would give: the element's subtree of `doc` is read in place.
  PugiDocument(std::string context, std::shared_ptr<const pugi::xml_document> doc, pugi::xml_node element)
      : context_(std::move(context)), doc_(std::move(doc)), element_(element) {}

  void LoadXml(const std::string& text) override {
    // A document no node holds any more is loaded again in place; otherwise the nodes keep
    // the old one and this document gets a new one.
    std::shared_ptr<pugi::xml_document> doc =
        doc_.use_count() == 1 ? std::const_pointer_cast<pugi::xml_document>(doc_) : std::make_shared<pugi::xml_document>();
    pugi::xml_parse_result result = doc->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    // pugixml keeps what it parsed before an error; the seam promises an empty document.
    if (!result || !IsAcceptable(*doc, text)) doc->reset();
    doc_ = std::move(doc);
    element_ = pugi::xml_node();
  }

  Node SelectSingleNode(const std::string& path) const override {
    const SimplePath simple = ParsePath(path);
    if (simple.shape == SimplePath::Shape::kOther) {
      const std::shared_ptr<const pugi::xml_document> whole = WholeDocument();
      const pugi::xml_node found = Compile(path).evaluate_node(*whole).node();
      if (!found) return Node(nullptr, context_, path);
      return Found(whole, found);
    }
    const pugi::xml_node found = FindFirst(InScope(), path, simple);
    if (!found) return Node(nullptr, context_, path);
    return Found(doc_, found);
  }

  std::string SelectText(const std::string& path) const override {
    const SimplePath simple = ParsePath(path);
    if (simple.shape == SimplePath::Shape::kOther) return SelectSingleNode(path).Text();
    const pugi::xml_node found = FindFirst(InScope(), path, simple);
    if (!found) return Node(nullptr, context_, path).Text();  // raises the missing-node error
    return DescendantText(found);
  }

  std::vector<Node> SelectNodes(const std::string& path) const override {
    const SimplePath simple = ParsePath(path);
    std::shared_ptr<const pugi::xml_document> holder = doc_;
    std::vector<pugi::xml_node> found;
    if (simple.shape != SimplePath::Shape::kOther) {
      found = FindAll(InScope(), path, simple);
    } else {
      holder = WholeDocument();
      pugi::xpath_node_set set = Compile(path).evaluate_node_set(*holder);
      set.sort();
      for (const pugi::xpath_node& n : set) {
        if (n.node()) found.push_back(n.node());
      }
    }
    std::vector<Node> nodes;
    nodes.reserve(found.size());
    for (const pugi::xml_node& n : found) nodes.push_back(Found(holder, n));
    return nodes;
  }

  // The document's text is the text of all it holds: for an element standing for a
  // document, the element's own.
  std::string Text() const override { return DescendantText(element_ ? element_ : *doc_); }

 private:
  // Paths come from the library's own code, a few dozen in all: each is compiled once per
  // thread rather than on every selection.
  static const pugi::xpath_query& Compile(const std::string& path) {
    thread_local std::unordered_map<std::string, std::unique_ptr<pugi::xpath_query>> compiled;
    auto found = compiled.find(path);
    if (found != compiled.end()) return *found->second;
    std::unique_ptr<pugi::xpath_query> query;
    try {
      query = std::make_unique<pugi::xpath_query>(path.c_str());
    } catch (const pugi::xpath_exception& e) {
      // A bad path is a fault of the caller.
      throw Error(5, kLibrarySource, "The XML path \"" + path + "\" is not valid: " + e.what());
    }
    if (compiled.size() >= kMaxCompiledPaths) compiled.clear();  // a caller building paths from data
    return *compiled.emplace(path, std::move(query)).first->second;
  }

  Scope InScope() const { return element_ ? Scope{element_, true} : Scope{*doc_, false}; }

  // The XPath engine needs a real document: an element standing for one is copied into one.
  std::shared_ptr<const pugi::xml_document> WholeDocument() const {
    if (!element_) return doc_;
    auto whole = std::make_shared<pugi::xml_document>();
    whole->append_copy(element_);
    return whole;
  }

  // Only an absent node names its context and path in an error; a found one is given
  // neither, which spares two string copies per selection.
  static Node Found(const std::shared_ptr<const pugi::xml_document>& doc, const pugi::xml_node& node) {
    return Node(std::make_shared<PugiNode>(doc, node), std::string(), std::string());
  }

  std::string context_;
  std::shared_ptr<const pugi::xml_document> doc_;
  pugi::xml_node element_;  // set when the document stands for this element of doc_ alone
};

// Writing an element of an accepted document out and parsing the text gives a document
// whose tree equals the element's subtree, so the subtree is read in place instead. Other
// nodes (text, the document itself) take the way through the text, whose parse decides
// what they become.
std::unique_ptr<Document> PugiNode::Copy(const std::string& context) const {
  if (node_.type() != pugi::node_element) return NodeImpl::Copy(context);
  return std::make_unique<PugiDocument>(context, doc_, node_);
}

}  // namespace

std::unique_ptr<Document> NewDocument(const std::string& context) {
  return std::make_unique<PugiDocument>(context);
}

}  // namespace falcrest::xml
