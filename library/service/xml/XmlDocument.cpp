#include "library/service/xml/XmlDocument.h"

#include <utility>

#include "library/support/Error.h"

namespace falcrest::xml {

Node::Node(std::shared_ptr<const NodeImpl> impl, std::string context, std::string path)
    : impl_(std::move(impl)), context_(std::move(context)), path_(std::move(path)) {}

std::string Node::Text() const {
  if (!impl_) RaiseMissing();
  return impl_->Text();
}

std::string Node::Xml() const {
  if (!impl_) RaiseMissing();
  return impl_->Xml();
}

bool Node::HasText() const {
  if (!impl_) RaiseMissing();
  return impl_->HasText();
}

std::unique_ptr<Document> Node::Fragment(const std::string& context) const {
  if (!impl_) RaiseMissing();
  return impl_->Copy(context);
}

std::unique_ptr<Document> NodeImpl::Copy(const std::string& context) const {
  std::unique_ptr<Document> doc = NewDocument(context);
  doc->LoadXml(Xml());
  return doc;
}

void Node::RaiseMissing() const {
  // The element is the last step of the path: "//a/DeviceId" names "DeviceId".
  std::string name = path_.substr(path_.find_last_of('/') + 1);
  RaiseMissingObject(context_ + " has no " + name + " element (looked for " + path_ + ")");
}

}  // namespace falcrest::xml
