#pragma once
// Compiling and applying style sheets for TransformXML and LangFilter.

#include <string>
#include <utility>
#include <vector>

#include <libxml/tree.h>

class CSafeBuf;

// Parses options for documents and style sheets that go through a transform:
// entities are substituted and external DTDs loaded, only where the layer's
// entity loader allows (the system catalog, the resources folder).
int XmlTransformParseOptions();

// Parses and compiles the style sheet text and applies it to doc with the
// given (name, value) string parameters, UTF-8. Answers the result document
// (owned by the caller) or null. error (when given) receives the parse error
// text of the style sheet.
xmlDoc* XmlApplyStylesheetText(xmlDoc* doc, const unsigned short* xslt,
    const std::vector<std::pair<std::string, std::string>>& params, CSafeBuf* error);
