#pragma once
// Helpers shared by the XML layer's source files; not for use elsewhere.
//
// Names and texts cross to libxml2 as UTF-8 (ToUTF8String on the way in). Every node the layer receives
// may also be a namespace record cast to a node (XPath results hold them),
// whose layout differs from a node's beyond the type field, so the layer
// looks at `type` first and touches nothing else of such a record.

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <string>

class CSafeBuf;

// UTF-8 bytes (null allowed) decoded into out.
void XmlFromUtf8(const xmlChar* utf8, CSafeBuf& out);

// True for a real node (element, attribute, text ...), false for null and for
// namespace records.
bool XmlIsNode(const xmlNode* node);

// Qualified name of an element or attribute: prefix ":" local name when its
// namespace has a prefix, else the local name. Empty for nameless nodes.
std::string XmlQualifiedName(const xmlNode* node);

// The text of a node: the content of its first child when that child is a
// text or CDATA node; empty otherwise.
void XmlNodeText(const xmlNode* node, CSafeBuf& out);

// Parses UTF-16 text by the layer's encoding rules with the given extra
// libxml2 options (network access is always off). error, when given, is
// cleared and receives the error text on failure; clearError resets the
// library's last-error record after it has been read.
xmlDoc* XmlParseText(const unsigned short* text, CSafeBuf* error, bool clearError, int extraOptions);
// The same for UTF-8 bytes, parsed as they are.
xmlDoc* XmlParseBytes(const char* bytes, size_t size, CSafeBuf* error, bool clearError, int extraOptions);

// A parser context that prints nothing and remembers the first error of a
// parse (the library's records end with the last one). Making one installs
// the layer's external entity loader (XmlEntityLoader.h).
class XmlQuietContext
{
public:
    XmlQuietContext();
    ~XmlQuietContext();
    XmlQuietContext(const XmlQuietContext&) = delete;
    XmlQuietContext& operator=(const XmlQuietContext&) = delete;
    xmlParserCtxt* Get() const { return m_ctxt; }
    // The first error of the parse, or null.
    const xmlError* Error() const;

private:
    xmlParserCtxt* m_ctxt;
    xmlError m_first;
};

// The error text shown for a parse failure.
void XmlFormatError(const xmlError* err, CSafeBuf& out);
