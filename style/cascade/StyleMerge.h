#pragma once
// Style records into an element's computed style: the style attribute's text
// parsed into a record, and a record merged into an element under an origin
// (1 presentational attribute, 2 style attribute, 3 style-sheet rule).

class CElement;
struct ELEMENT_STYLE;

// Parses the declarations of a style attribute into record. Always true.
bool ParseStyleString(const unsigned short* text, ELEMENT_STYLE* record, CElement* e);
// Merges record into e's style with origin; with clear, removes e's values
// of that origin that record sets.
void SetNewStyle(CElement* e, ELEMENT_STYLE* record, int origin, bool clear);
