// The XML document seam on pugixml. pugixml's XPath compares element names as written,
// prefix included, when no namespace is declared to it: the matching rule the service
// client relies on.
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "library/service/xml/XmlDocument.h"
#include "library/support/Error.h"

namespace falcrest::xml {
namespace {

// Deeper documents are refused: nothing the service sends comes near, and it keeps every
// later walk over the tree cheap and bounded.
constexpr int kMaxDepth = 1000;

// Compiled XPath queries kept per thread.
constexpr size_t kMaxCompiledPaths = 256;

// Text is kept exactly as sent: no end-of-line normalisation, whitespace-only text kept,
// the DOCTYPE kept as a node so that it can be refused.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_ws_pcdata |
                                   pugi::parse_wconv_attribute | pugi::parse_doctype;

// All PCDATA and CDATA below `root`, in document order, walked without recursion.
std::string DescendantText(const pugi::xml_node& root) {
  std::string text;
  pugi::xml_node node = root.first_child();
  while (node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != root && !node.next_sibling()) node = node.parent();
    if (node == root) break;
    node = node.next_sibling();
  }
  return text;
}

// True when the tree has one root element, is no deeper than kMaxDepth and declares no
// DOCTYPE (which could carry entity declarations). pugixml itself accepts several roots.
bool IsAcceptable(const pugi::xml_document& doc) {
  int roots = 0;
  for (pugi::xml_node child : doc.children()) roots += child.type() == pugi::node_element;
  if (roots != 1) return false;
  pugi::xml_node node = doc.first_child();
  int depth = 1;
  while (node) {
    if (node.type() == pugi::node_doctype || depth > kMaxDepth) return false;
    if (node.first_child()) {
      node = node.first_child();
      ++depth;
      continue;
    }
    while (!node.next_sibling()) {
      node = node.parent();
      --depth;
      if (node == doc) return true;
    }
    node = node.next_sibling();
  }
  return true;
}

class PugiNode : public NodeImpl {
 public:
  // Holds the document so that a node outlives a later load into the same Document.
  PugiNode(std::shared_ptr<const pugi::xml_document> doc, pugi::xml_node node)
      : doc_(std::move(doc)), node_(node) {}

  std::string Text() const override { return DescendantText(node_); }

  std::string Xml() const override {
    struct Appender : pugi::xml_writer {
      void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
      std::string text;
    } out;
    node_.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(out.text);
  }

 private:
  std::shared_ptr<const pugi::xml_document> doc_;
  pugi::xml_node node_;
};

class PugiDocument : public Document {
 public:
  explicit PugiDocument(std::string context)
      : context_(std::move(context)), doc_(std::make_shared<pugi::xml_document>()) {}

  void LoadXml(const std::string& text) override {
    auto doc = std::make_shared<pugi::xml_document>();
    pugi::xml_parse_result result = doc->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    // pugixml keeps what it parsed before an error; the seam promises an empty document.
    if (!result || !IsAcceptable(*doc)) doc->reset();
    doc_ = std::move(doc);
  }

  Node SelectSingleNode(const std::string& path) const override {
    pugi::xpath_node found = Compile(path).evaluate_node(*doc_);
    if (!found.node()) return Node(nullptr, context_, path);
    return Node(std::make_shared<PugiNode>(doc_, found.node()), context_, path);
  }

  std::vector<Node> SelectNodes(const std::string& path) const override {
    pugi::xpath_node_set found = Compile(path).evaluate_node_set(*doc_);
    found.sort();
    std::vector<Node> nodes;
    nodes.reserve(found.size());
    for (const pugi::xpath_node& n : found) {
      if (n.node()) nodes.emplace_back(std::make_shared<PugiNode>(doc_, n.node()), context_, path);
    }
    return nodes;
  }

  std::string Text() const override { return DescendantText(*doc_); }

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

  std::string context_;
  std::shared_ptr<const pugi::xml_document> doc_;
};

}  // namespace

std::unique_ptr<Document> NewDocument(const std::string& context) {
  return std::make_unique<PugiDocument>(context);
}

}  // namespace falcrest::xml
