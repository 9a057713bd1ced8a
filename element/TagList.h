#pragma once
// The tag list: the chain of elements around the caret as text, published to
// the page (TagList, TagListXML, Path, QPath) and shown by the tag-list
// dialog. Also two diagnostic listings of a subtree.

#include "base/text/SafeBuf.h"

class CElement;

// Tag-list modes of GetEleTagList.
constexpr int kTagListNames = 0;       // "body,p,b"
constexpr int kTagListXML = 1;         // <elt><name>..</name><index>..</index><attr>..</attr></elt>...
constexpr int kTagListXMLClass = 2;    // as 1 with only the class attribute
constexpr int kTagListPath = 3;        // "/body/p/b"
constexpr int kTagListIndexedPath = 4; // "/body[1]/p[2]/b[1]"

// Replaces text with the chain from e up to the root, text runs left out,
// outermost first, in the form of mode. The index is GetIndex() + 1. In the
// XML modes names and values are escaped (& < > "), so markup characters in
// them cannot break the XML. Any other mode, or a null e, gives an empty text.
void GetEleTagList(const CElement* e, CSafeBuf& text, int mode);

// One element's piece of the tag list in the form of mode (piece replaced):
// its name, "/" and its name, the indexed step, or its "<elt>" record (the
// XML modes, escaped as above; mode 2 lists only the class attribute).
void GetEleTagListPiece(const CElement* e, int mode, CSafeBuf& piece);

// Appends one line per element of e's subtree: indent plus one TAB per
// level, "[" + the tag name (a text run: its text) + "]:" and "\r\n".
void GetElementList(CSafeBuf& text, const unsigned short* indent, const CElement* e);

// Replaces text with "<attributes>", one "<attr><name>..</name><value>..
// </value></attr>" per attribute (escaped as above) and "</attributes>".
void GetEleAttrsXML(const CElement* e, CSafeBuf& text);
