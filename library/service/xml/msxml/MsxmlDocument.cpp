// The XML document seam on MSXML 3 (the version-specific DOMDocument 3.0). Its default
// selection language, XSLPattern, compares element names as written, prefix included: the
// matching rule the service client relies on. Text and XML of a node are read by walking the
// tree here rather than through the DOM's own text and xml properties, which trim blanks and
// add line breaks of their own. Whitespace-only text nodes are left out, as MSXML's default
// load does; the document keeps them and the reads here skip them, because Wine's MSXML also
// drops blanks inside a text node ("Fish &amp; <b>" loses the blank after the "&").
// UTF-8 in and out; UTF-16 only inside this file.
//
// COM must be initialised on the calling thread: the client's thread is; programs and tests
// of our own call CoInitializeEx themselves before the first document.
#include <windows.h>
#include <msxml2.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "library/service/xml/XmlDocument.h"
#include "library/service/xml/msxml/ComText.h"
#include "library/support/Error.h"

namespace falcrest::xml {
namespace {

// "Msxml2.DOMDocument.3.0": the version-specific class, so that a later MSXML never answers.
const CLSID kDomDocument30 = {0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};

// Deeper documents are refused, as on every platform: nothing the service sends comes near.
constexpr int kMaxDepth = 1000;

// True when the prolog (everything before the first element) declares a DOCTYPE, which could
// carry entity declarations: such a document is refused before any parser sees it.
bool DeclaresDoctype(const std::string& text) {
  size_t at = 0;
  while ((at = text.find('<', at)) != std::string::npos) {
    if (text.compare(at, 4, "<!--") == 0) {
      at = text.find("-->", at + 4);
    } else if (text.compare(at, 2, "<?") == 0) {
      at = text.find("?>", at + 2);
    } else {
      return text.compare(at, 9, "<!DOCTYPE") == 0;  // anything else starts the root element
    }
    if (at == std::string::npos) return false;
  }
  return false;
}

// True for the path shapes the library uses: steps of plain names, each after "/" or "//".
// Anything else is refused before MSXML sees it: Wine's MSXML crashes on some malformed
// patterns ("//[") instead of failing.
bool IsPlainPath(const std::string& path) {
  size_t at = 0;
  if (path.empty()) return false;
  while (at < path.size()) {
    if (path[at] != '/') return false;
    at += path.compare(at, 2, "//") == 0 ? 2 : 1;
    const size_t start = at;
    while (at < path.size()) {
      const unsigned char c = static_cast<unsigned char>(path[at]);
      const bool name_char = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '_' || c == '-' || c == '.' || c == ':' || c >= 0x80;
      if (!name_char) break;
      ++at;
    }
    if (at == start) return false;
  }
  return true;
}

// True when some node deeper than kMaxDepth may exist: it needs that many "<" in the text.
bool MayBeTooDeep(const std::string& text) {
  return text.size() >= static_cast<size_t>(kMaxDepth) &&
         std::count(text.begin(), text.end(), '<') >= static_cast<std::ptrdiff_t>(kMaxDepth);
}

ComRef<IXMLDOMNode> FirstChild(IXMLDOMNode* node) {
  ComRef<IXMLDOMNode> child;
  if (node->get_firstChild(child.put()) != S_OK) child.reset();
  return child;
}

ComRef<IXMLDOMNode> NextSibling(IXMLDOMNode* node) {
  ComRef<IXMLDOMNode> next;
  if (node->get_nextSibling(next.put()) != S_OK) next.reset();
  return next;
}

DOMNodeType TypeOf(IXMLDOMNode* node) {
  DOMNodeType type = NODE_INVALID;
  node->get_nodeType(&type);
  return type;
}

std::string NameOf(IXMLDOMNode* node) {
  Bstr name;
  node->get_nodeName(name.put());
  return ToUtf8(name.get());
}

std::string ValueOf(IXMLDOMNode* node) {
  VARIANT value;
  VariantInit(&value);
  std::string text;
  if (node->get_nodeValue(&value) == S_OK && value.vt == VT_BSTR) text = ToUtf8(value.bstrVal);
  VariantClear(&value);
  return text;
}

// Calls `visit(node, depth)` for every node below `root` in document order, children of a
// node after the node itself; `visit` returns false to skip a node's children.
template <class Visit>
void Walk(IXMLDOMNode* root, Visit visit) {
  std::vector<ComRef<IXMLDOMNode>> path;  // the open nodes, root's child first
  ComRef<IXMLDOMNode> node = FirstChild(root);
  while (node || !path.empty()) {
    if (!node) {
      node = NextSibling(path.back().get());
      path.pop_back();
      continue;
    }
    if (visit(node.get(), static_cast<int>(path.size()) + 1)) {
      ComRef<IXMLDOMNode> child = FirstChild(node.get());
      if (child) {
        path.push_back(std::move(node));
        node = std::move(child);
        continue;
      }
    }
    node = NextSibling(node.get());
  }
}

// A text node MSXML's default load would have dropped.
bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

std::string DescendantText(IXMLDOMNode* root) {
  const DOMNodeType own = TypeOf(root);
  if (own == NODE_CDATA_SECTION) return ValueOf(root);
  if (own == NODE_TEXT) {
    std::string value = ValueOf(root);
    return IsBlank(value) ? std::string() : value;
  }
  std::string text;
  Walk(root, [&](IXMLDOMNode* node, int) {
    const DOMNodeType type = TypeOf(node);
    if (type == NODE_CDATA_SECTION) text += ValueOf(node);
    if (type == NODE_TEXT) {
      const std::string value = ValueOf(node);
      if (!IsBlank(value)) text += value;
    }
    return type == NODE_ELEMENT || type == NODE_ENTITY_REFERENCE;
  });
  return text;
}

bool IsTooDeep(IXMLDOMNode* doc) {
  bool deep = false;
  Walk(doc, [&](IXMLDOMNode*, int depth) {
    deep = deep || depth > kMaxDepth;
    return !deep;
  });
  return deep;
}

// Escapes text as written between tags (`attribute` false) or inside double quotes.
void AppendEscaped(std::string& out, const std::string& text, bool attribute) {
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"' && attribute) out += "&quot;";
    else if (u < 32 && (attribute || (c != '\t' && c != '\r' && c != '\n')))
      out.append("&#").append(std::to_string(u)).append(";");
    else out += c;
  }
}

void AppendAttributes(std::string& out, IXMLDOMNode* element) {
  ComRef<IXMLDOMNamedNodeMap> attributes;
  if (element->get_attributes(attributes.put()) != S_OK || !attributes) return;
  long count = 0;
  attributes->get_length(&count);
  for (long i = 0; i < count; ++i) {
    ComRef<IXMLDOMNode> attribute;
    if (attributes->get_item(i, attribute.put()) != S_OK || !attribute) continue;
    out.append(" ").append(NameOf(attribute.get())).append("=\"");
    AppendEscaped(out, ValueOf(attribute.get()), true);
    out += '"';
  }
}

// Writes `node` and all below it without any formatting: an element with no children as
// "<a/>", text escaped, CDATA, comments and instructions as they were.
void AppendXml(std::string& out, IXMLDOMNode* node) {
  switch (TypeOf(node)) {
    case NODE_ELEMENT: {
      const std::string name = NameOf(node);
      out.append("<").append(name);
      AppendAttributes(out, node);
      const size_t start = out.size();
      out += '>';
      for (ComRef<IXMLDOMNode> child = FirstChild(node); child; child = NextSibling(child.get()))
        AppendXml(out, child.get());
      if (out.size() == start + 1) {
        out.replace(start, 1, "/>");  // nothing inside, or only blanks
        return;
      }
      out.append("</").append(name).append(">");
      return;
    }
    case NODE_TEXT: {
      const std::string value = ValueOf(node);
      if (!IsBlank(value)) AppendEscaped(out, value, false);
      return;
    }
    case NODE_CDATA_SECTION:
      out.append("<![CDATA[").append(ValueOf(node)).append("]]>");
      return;
    case NODE_COMMENT:
      out.append("<!--").append(ValueOf(node)).append("-->");
      return;
    case NODE_PROCESSING_INSTRUCTION: {
      out.append("<?").append(NameOf(node));
      const std::string data = ValueOf(node);
      if (!data.empty()) out.append(" ").append(data);
      out += "?>";
      return;
    }
    case NODE_DOCUMENT:
    case NODE_DOCUMENT_FRAGMENT:
    case NODE_ENTITY_REFERENCE:
      for (ComRef<IXMLDOMNode> child = FirstChild(node); child; child = NextSibling(child.get()))
        AppendXml(out, child.get());
      return;
    default:
      return;
  }
}

ComRef<IXMLDOMDocument> CreateDocument() {
  ComRef<IXMLDOMDocument> doc;
  const HRESULT hr = CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                      reinterpret_cast<void**>(doc.put()));
  if (hr == CO_E_NOTINITIALIZED)
    throw Error(static_cast<uint32_t>(hr), kLibrarySource, "The XML library cannot start: COM is not initialised on this thread");
  if (FAILED(hr))
    throw Error(static_cast<uint32_t>(hr), kLibrarySource, "The XML library (MSXML 3.0, Msxml2.DOMDocument.3.0) cannot be created");
  doc->put_async(VARIANT_FALSE);
  doc->put_validateOnParse(VARIANT_FALSE);
  doc->put_resolveExternals(VARIANT_FALSE);
  doc->put_preserveWhiteSpace(VARIANT_TRUE);  // blanks are left out when read, see above
  return doc;
}

class MsxmlNode : public NodeImpl {
 public:
  explicit MsxmlNode(ComRef<IXMLDOMNode> node) : node_(std::move(node)) {}
  std::string Text() const override { return DescendantText(node_.get()); }
  std::string Xml() const override {
    std::string out;
    AppendXml(out, node_.get());
    return out;
  }

 private:
  ComRef<IXMLDOMNode> node_;  // holds its document alive, also across a later load
};

class MsxmlDocument : public Document {
 public:
  explicit MsxmlDocument(std::string context) : context_(std::move(context)) {}

  void LoadXml(const std::string& text) override {
    // Each load gets a fresh DOM, so nodes found before keep the old one.
    doc_.reset();
    if (DeclaresDoctype(text)) return;
    // A byte order mark is no part of the text a string load takes.
    const size_t skip = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    Bstr wide;
    if (!ToBstr(text.substr(skip), wide)) return;  // not UTF-8: not well-formed
    ComRef<IXMLDOMDocument> doc = CreateDocument();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (doc->loadXML(wide.get(), &loaded) != S_OK || loaded != VARIANT_TRUE) return;
    if (MayBeTooDeep(text) && IsTooDeep(doc.get())) return;
    doc_ = std::move(doc);
  }

  Node SelectSingleNode(const std::string& path) const override {
    const Bstr wide = PathText(path);
    if (!doc_) return Node(nullptr, context_, path);
    ComRef<IXMLDOMNode> found;
    const HRESULT hr = doc_->selectSingleNode(wide.get(), found.put());
    if (FAILED(hr)) RaiseBadPath(path);
    if (hr != S_OK || !found) return Node(nullptr, context_, path);
    return Node(std::make_shared<MsxmlNode>(std::move(found)), std::string(), std::string());
  }

  std::vector<Node> SelectNodes(const std::string& path) const override {
    const Bstr wide = PathText(path);
    std::vector<Node> nodes;
    if (!doc_) return nodes;
    ComRef<IXMLDOMNodeList> list;
    if (FAILED(doc_->selectNodes(wide.get(), list.put())) || !list) RaiseBadPath(path);
    long count = 0;
    list->get_length(&count);
    nodes.reserve(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i) {
      ComRef<IXMLDOMNode> item;
      if (list->get_item(i, item.put()) != S_OK || !item) continue;
      nodes.emplace_back(std::make_shared<MsxmlNode>(std::move(item)), std::string(), std::string());
    }
    return nodes;
  }

  std::string Text() const override { return doc_ ? DescendantText(doc_.get()) : std::string(); }

 private:
  static Bstr PathText(const std::string& path) {
    Bstr wide;
    if (!IsPlainPath(path) || !ToBstr(path, wide)) RaiseBadPath(path);
    return wide;
  }

  [[noreturn]] static void RaiseBadPath(const std::string& path) {
    // A bad path is a fault of the caller.
    throw Error(5, kLibrarySource, "The XML path \"" + path + "\" is not valid");
  }

  std::string context_;
  ComRef<IXMLDOMDocument> doc_;  // null for an empty document
};

}  // namespace

std::unique_ptr<Document> NewDocument(const std::string& context) {
  return std::make_unique<MsxmlDocument>(context);
}

}  // namespace falcrest::xml
