#pragma once
// The parts of a document's head, as libxml2 nodes: what may stand in an
// html element beside its body without being shown, and what, met inside
// the body, shows nothing.

#include <cstddef>

struct _xmlNode;

// An element node of this name (no namespace test).
bool IsNamed(const _xmlNode* n, const char* name);
// head, title, meta, link, style or base.
bool IsHeadPart(const _xmlNode* n);
// A text node of blanks only (or empty).
bool IsBlankText(const _xmlNode* n);
// A head part (or html, or body) met inside a body that holds nothing but
// blanks, comments and more of the same. The writer unwraps such an element
// to its content, which is nothing: read as an element it would make an
// empty paragraph that reads back as one holding a no-break space.
bool IsEmptyHeadPartInBody(const _xmlNode* n);
// Content an html element holds outside its body (anything but head parts,
// comments and blank text) goes into the body, so that none of it is lost:
// what stands before the body at the body's start, what follows it at its
// end, each in its order.
void GatherIntoBody(_xmlNode* html, _xmlNode* body);
// Whether a child of html other than its body goes into the body.
bool GoesIntoBody(const _xmlNode* c);
// Moves every style element (the name compared without regard to case, no
// namespace prefix) that stands in body's content or in html beside its
// head and body, and holds more than blanks and comments
// (IsEmptyHeadPartInBody), to the end of the head,
// in document order, and answers whether there was one: the document's
// style rules are kept in its head, and read as content their text would
// show as text. A head is made before body when html has none (*head then
// points to it). Texts that stood on both sides of a moved element are
// joined. Elements whose content is read as markup text (scripts,
// noscripts, form controls, objects, maps, legends) are not looked into.
bool MoveStylesIntoHead(_xmlNode* html, _xmlNode* body, _xmlNode** head);
// Whether the UTF-8 markup may hold a style element after its first body
// start tag: a start tag named style, case ignored, follows "<body". Tags
// inside comments, character data and attribute values count too.
bool MayHoldStyleAfterBody(const char* bytes, size_t size);
// Whether a style element that holds more than blanks and comments stands
// among html's children (a head's style is the head's child).
bool HasStyleChild(const _xmlNode* html);
