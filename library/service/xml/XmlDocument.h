#pragma once
// The XML document seam: what the records and the SOAP transport need of an XML library.
// Paths are matched by element name as written, prefix included ("soap:Envelope" matches
// only the soap prefix; "GetReminderIdsResponse" matches that element whatever default
// namespace it carries). Three shapes are used: absolute paths ("/a:b/c"), "//name" and
// "//parent/child".
#include <memory>
#include <string>
#include <vector>

namespace falcrest::xml {

class Document;

// What a backend node offers; Node wraps it as a null object.
class NodeImpl {
 public:
  virtual ~NodeImpl() = default;
  virtual std::string Text() const = 0;  // all descendant text concatenated
  virtual std::string Xml() const = 0;   // the element written as XML, start tag to end tag
  // !Text().empty(), which a backend may answer without building the text.
  virtual bool HasText() const { return !Text().empty(); }
  // A new document holding a copy of the element, as loading Xml() into a new document named
  // `context` gives; a backend may copy the tree instead of writing and reading the text.
  virtual std::unique_ptr<Document> Copy(const std::string& context) const;
};

// A node found by a query, or the absence of one. Reading Text or Xml of an absent node
// raises the missing-node error (91) naming the element and what was being read.
class Node {
 public:
  Node(std::shared_ptr<const NodeImpl> impl, std::string context, std::string path);

  // True when the query found an element.
  bool Exists() const { return impl_ != nullptr; }
  // All descendant text; missing-node error when absent.
  std::string Text() const;
  // The element as XML; missing-node error when absent.
  std::string Xml() const;
  // True when Text() would not be empty; missing-node error when absent.
  bool HasText() const;
  // A new document named `context` holding the element and all below it: the same as loading
  // Xml() into NewDocument(context); missing-node error when absent.
  std::unique_ptr<Document> Fragment(const std::string& context) const;

 private:
  [[noreturn]] void RaiseMissing() const;

  std::shared_ptr<const NodeImpl> impl_;
  std::string context_;
  std::string path_;
};

class Document {
 public:
  virtual ~Document() = default;

  // Parses the text (UTF-8); a parse error leaves an empty document (no error is raised).
  // Text made only of whitespace (blanks, tabs, line breaks) between elements is dropped, as
  // the platform's XML document does by default: an indented answer reads the same as a
  // compact one, in its texts, its XML and its emptiness. CDATA sections are kept.
  virtual void LoadXml(const std::string& text) = 0;
  // First match in document order, or an absent node.
  virtual Node SelectSingleNode(const std::string& path) const = 0;
  // All matches in document order; empty when none.
  virtual std::vector<Node> SelectNodes(const std::string& path) const = 0;
  // SelectSingleNode(path).Text(), which a backend may answer without making a node.
  virtual std::string SelectText(const std::string& path) const { return SelectSingleNode(path).Text(); }
  // All text of the document concatenated; empty for an empty document.
  virtual std::string Text() const = 0;
};

// A new empty document from the platform's backend. `context` names what the document
// holds in missing-node errors: "<context> has no <Name> element".
std::unique_ptr<Document> NewDocument(const std::string& context = "The XML text");

}  // namespace falcrest::xml
