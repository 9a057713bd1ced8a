#pragma once
// Whether UTF-8 bytes would parse, told without building the document: the
// parser runs over them with the options LoadXMLBytes uses but keeps nothing.
// A load that replaces a large tree asks first, so that it can let the old
// tree go before the new one is built (the new one then takes the old one's
// memory in order, rather than filling the gaps between the parser's nodes).

#include <cstddef>

// True when the bytes are well-formed, hold no document type declaration
// (whose entities the document's own load settles after the parse) and their
// root element, named root, has a child element named child. False is only a
// "not known": the caller then parses as it would have.
bool XmlParsesWithChild(const char* bytes, size_t size, const char* root, const char* child);
