#pragma once
// Names, texts and markup of libxml2 nodes as CSafeBuf text.
//
// A qualified name is prefix ":" local name when the node's namespace has a
// prefix, else the local name. The text of an element or attribute is the
// content of its first child when that child is a text or CDATA node;
// nothing else (later text nodes, text inside child elements) counts. Names
// compare exactly, case-sensitively, as UTF-8; 8-bit names are UTF-8 bytes.

#include <libxml/tree.h>

class CSafeBuf;

// The node's qualified name; empty for null or a nameless node.
void MacGetTagName(xmlNode* node, CSafeBuf& name);
// The same name widened into out, for a name of plain ASCII that fits in
// room units with its terminator: answers its length. -1 for any other name
// (out then holds nothing of use: MacGetTagName decodes it), 0 for null or a
// nameless node.
int XmlAsciiName(const xmlNode* node, unsigned short* out, int room);
// name = qualified name; value = the node's own content for a text or CDATA
// node, else its text. trim strips spaces, tabs, CR and LF from both ends of
// both. The last argument plays no part.
void GetNameValue(xmlNode* node, CSafeBuf& name, CSafeBuf& value, bool trim = false, unsigned int = 0);

// The text of the first child element of parent whose local name is name and,
// when attrName and attrValue are both non-empty, whose attribute attrName
// equals attrValue exactly. False with value empty when there is none. The
// unsigned argument plays no part.
bool GetNodeValue(const unsigned short* name, CSafeBuf& value, xmlNode* parent, unsigned int = 0,
    const unsigned short* attrName = nullptr, const unsigned short* attrValue = nullptr);
bool GetNodeValue(const char* name, CSafeBuf& value, xmlNode* parent, unsigned int = 0,
    const char* attrName = nullptr, const unsigned short* attrValue = nullptr);

// The text of the node's first attribute whose qualified name is name
// (value cleared first, empty when the attribute has no text).
bool FindAttribute(const char* name, CSafeBuf& value, xmlNode* node);
bool FindAttribute(const unsigned short* name, CSafeBuf& value, xmlNode* node);

// Qualified name and text of one attribute; an attribute without text leaves
// both empty. False only for a null attribute.
bool XMLGetAttrInfo(xmlAttr* attr, CSafeBuf& name, CSafeBuf& value);
// The URI of a namespace declaration as written. libxml2 keeps a character
// reference that stood for "&" (as "&amp;" does) undecoded in a
// declaration's URI; here it is the character again. Empty for null.
void XmlNamespaceURI(const xmlNs* ns, CSafeBuf& uri);
// Clears the outputs given; false when the node is null or has no namespace,
// else the namespace's prefix (when it has one) and URI.
bool GetNamespaceInfo(xmlNode* node, CSafeBuf* prefix, CSafeBuf* uri);

// The element's start tag only: "<" qualified name, then for each attribute
// with text, in document order, a space, its qualified name, "=" and the text
// in double quotes (written as it is, not escaped), and ">". Namespace
// declarations are not written. False for a null node.
bool GetElementXML(xmlNode* node, CSafeBuf& out);
// The node and its subtree as markup serialised by the library (no
// indentation), decoded from UTF-8. False for a null node.
bool XMLGetNodeXML(xmlNode* node, CSafeBuf& out);
