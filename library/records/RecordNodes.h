#pragma once
// Records read from an element of a document already parsed: the same as Deserialize of the
// element's XML, errors included, without writing the element out and parsing it again.
#include "library/records/DeviceType.h"
#include "library/service/xml/XmlDocument.h"

namespace falcrest::records {

// device.Deserialize(element.Xml()).
void DeserializeDevice(const xml::Node& element, DeviceType& device);

}  // namespace falcrest::records
