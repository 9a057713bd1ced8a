#pragma once
// Style records into an element's computed style: the text of a style
// attribute parsed into a record, and a record merged into an element under
// an origin (1 presentational attribute, 2 style attribute, 3 style-sheet
// rule).
//
// Parsing. The text ("color: red; margin: 0") is split into declarations as
// style sheets are (style/sheets/Declarations.h), so quoted texts and url()
// values keep their ";", and each is parsed by the property parser of the
// element's document (CXDoc::ParseCSSStyleString). Without an element in a
// document nothing is parsed.
//
// Merging, group by group, under origin priority (style/records/StyleType.h):
// a group of the source that is set is written when the element's group has
// no ranked origin, has the same origin, or ranks below the new one. So a
// style attribute (2) beats a rule (3), which beats a presentational
// attribute (1), and of two writes of the same origin the later wins. Cells
// with their own origin follow CheckSetStyleType; list, lock, marker,
// caption, line-height, transform and collapse cells follow
// ApplyNewTypeStyle.
//
// Inside the font group only the fields the source sets are taken (each
// clears its inherited mark); underline and line-through only while the
// element does not set them itself, italic likewise unless the source's is
// explicit. Borders: a side the source sets takes its width (and its line
// style when the source gives line styles), a side whose colour the source
// sets takes the colour. Paddings are not merged into tables nor into
// elements without padding (text runs and comments); the border-collapse
// cell only into tables. After paddings, the background colour and the
// borders, "inherit" values are resolved from the ancestors
// (ApplyInheritValue).
//
// With clear, every group of that origin that the source sets is returned
// to its unset state instead: the background to white, the text colour to
// grey (128, 128, 128), and the font taken again from the parent (then the
// kind's own weight or italic); without a parent the font is unset.

class CElement;
struct ELEMENT_STYLE;

// Parses the declarations of a style attribute into record. Always true.
bool ParseStyleString(const unsigned short* text, ELEMENT_STYLE* record, CElement* e);
// Merges record into e's style with origin; with clear, removes e's values
// of that origin that record sets.
void SetNewStyle(CElement* e, ELEMENT_STYLE* record, int origin, bool clear);

// Merges the rules that match e (its own style pieces, the sheets' rules) into
// its style in order of precedence, as ApplyCSS does before it inherits
// again; whether any was merged. Nothing for an element without a tag.
bool MergeMatchingRules(CElement* e);

// Whether the element keeps no paddings: text runs and comments.
bool HasNoPadding(const CElement* e);
