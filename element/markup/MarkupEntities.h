#pragma once
// Named character references in markup handed to the reader. Users' XHTML
// is full of &nbsp;, &eacute;, &mdash; ...; the XML parser knows only the five
// of XML itself and would need the XHTML DTDs (which are never fetched) for
// the others.

#include <cstddef>
#include <string>

class CSafeBuf;
struct _xmlDoc;

// Turns every named reference of the HTML2XML table into its numeric
// reference, then removes the named references that are left and that no
// parser here could resolve (RemoveXMLAllEscape; the five of XML stay).
// Comments, character data sections, processing instructions and the
// DOCTYPE are left as they are, and a document that declares entities of its
// own (an internal DTD subset) loses none of its references. Works on
// UTF-16 text and on UTF-8 bytes carried one per unit alike, and on UTF-8
// bytes as they are.
void PrepareMarkupEntities(CSafeBuf& text);
void PrepareMarkupEntities(std::string& bytes);
// Whether n bytes of markup may hold a named reference ("&" then a letter,
// "_" or ":"): without one, PrepareMarkupEntities leaves them as they are
// (numeric references and a lone "&" stay).
bool MayHoldNamedReference(const char* bytes, size_t n);

// What the entities that markup of size bytes declares in its internal subset
// may expand to when it is read (XmlExpandEntities): 1 MB, or four times its
// size when that is more. A small page may declare entities that expand a
// thousandfold.
size_t MarkupEntityBudget(size_t size);

// After the parse of markup that was size bytes long: the references to the
// entities that the document declares itself are put in place
// (XmlExpandEntities, within MarkupEntityBudget(size)) and its DTD is
// dropped, so that its nodes read, and are written by the library, the same
// without it (as plain XML, not with the library's XHTML additions). False,
// with the error text in error (when given), when the entities expand past
// the budget: the document is then to be dropped.
bool SettleDeclaredEntities(_xmlDoc* doc, size_t size, CSafeBuf* error);
// Whether the document type of a parsed document has an internal subset
// that declares anything (entities, elements, attributes) or holds
// anything else (comments, instructions). Only such a document can hold
// references that the parser kept as references.
bool DeclaresInSubset(const _xmlDoc* doc);
