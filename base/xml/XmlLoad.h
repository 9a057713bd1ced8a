#pragma once
// Loading and freeing XML documents. Documents and nodes are libxml2's own.
// Whoever receives a document from LoadXMLString or LoadXMLFile owns it and
// frees it with XMLReleaseDom; nodes found in a document belong to it.
//
// Parsing never reaches the network and never uses the parser's "huge"
// option, so nesting depth and entity growth stay within the library's
// default bounds. External entities are left as references; where a parse
// does load them, only the system catalog and the resources folder are read
// (XmlEntityLoader.h). A parse failure gives the text
//   "Incorrect XML<br />Reason: " + message + "<br />Line: " + line number
// (the breaks are there because the text is shown in HTML views).
//
// Text to parser: a text starting with the characters EF BB BF (a UTF-8
// byte-order mark carried one byte per character) is parsed from the low
// bytes that follow as UTF-8. A UTF-16 byte-order mark in front (the unit
// U+FEFF, or the two characters FF FE or FE FF of a mark carried one byte per
// character) is dropped and the rest read by the next rule; a zero-terminated
// text cannot carry UTF-16 bytes one per character past its first zero byte,
// so what follows such a mark is taken as characters. A text whose characters
// are all below 0x100 and that declares encoding='UTF-8' (or "UTF-8",
// 'utf-8', "utf-8") holds UTF-8 bytes one per character and is parsed from its
// low bytes. Every other text is encoded to UTF-8 and parsed as such.

#include <libxml/tree.h>

#include <cstddef>
#include <string>

class CSafeBuf;

// The document, or null. error (when given) is cleared first and receives the
// error text on failure. clearError resets the library's last-error record
// after it has been read.
xmlDoc* LoadXMLString(const unsigned short* text, CSafeBuf* error = nullptr, bool clearError = false);
// The same storing the document in doc (null on failure); true when one was made.
bool LoadXMLString(
    xmlDoc*& doc, const unsigned short* text, CSafeBuf* error = nullptr, bool clearError = false);
// Parses UTF-8 bytes (no byte-order mark) as they are, as LoadXMLString
// parses the UTF-8 it has made of a text.
xmlDoc* LoadXMLBytes(const char* bytes, size_t size, CSafeBuf* error = nullptr, bool clearError = false);
// The UTF-8 bytes LoadXMLString parses for a text (a byte-order mark
// dropped; units up to 0xFF of a text that declares UTF-8 taken as its
// bytes). Throws std::bad_alloc when memory runs out.
std::string XmlTextBytes(const unsigned short* text);
// The same of the length units at text (a zero unit stands after them), for
// a caller that knows the length.
std::string XmlTextBytes(const unsigned short* text, size_t length);
// Parses a file (UTF-16 path, reaching the system as UTF-8) with the library's
// own encoding detection. The last-error record is always reset afterwards.
xmlDoc* LoadXMLFile(const unsigned short* path, CSafeBuf* error = nullptr);

// Frees a document and all its nodes (null allowed).
void XMLReleaseDom(xmlDoc* doc);
// Does nothing: nodes handed out by the lookups belong to their document.
void XMLReleaseNode(xmlNode* node);
// Unlinks a node from its document and frees it with its subtree.
void XMLRemoveNode(xmlNode* node);
