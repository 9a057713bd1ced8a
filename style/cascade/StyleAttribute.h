#pragma once
// The text of a style attribute ("color: red; margin: 0") parsed into a
// style record, declaration by declaration, by the property parser of the
// element's document (CXDoc::ParseCSSStyleString). Declarations split as in
// style sheets (style/sheets/Declarations.h), so quoted texts and url()
// values keep their ";". Without an element in a document nothing is parsed.

class CElement;
struct ELEMENT_STYLE;

// Answers true.
bool ParseStyleString(const unsigned short* text, ELEMENT_STYLE* style, CElement* e);
