#pragma once
// Named character references in markup handed to the reader. Users' XHTML
// is full of &nbsp;, &eacute;, &mdash; ...; the XML parser knows only the five
// of XML itself and would need the XHTML DTDs (which are never fetched) for
// the others.

#include <cstddef>
#include <string>

class CSafeBuf;

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

// What the entities that markup of size bytes declares in its internal subset
// may expand to when it is read (XmlExpandEntities): 1 MB, or four times its
// size when that is more. A small page may declare entities that expand a
// thousandfold.
size_t MarkupEntityBudget(size_t size);
