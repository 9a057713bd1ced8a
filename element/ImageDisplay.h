#pragma once
// Rebuilding images after the image display type changed (per image or
// document-wide). An image shown as its alternative text may have been
// split over lines into pieces (a group of duplicates, each holding part of
// the text, element/Element.h: GetWrappedInlineBrothers); shown another way
// it has no children at all.

class CElement;

// Walks root's subtree (root included) in document order. Every image that
// has pieces is joined with them: the pieces' "alt" values follow its own in
// document order (kept as an attribute even when empty), the pieces are
// destroyed (a caret in one goes to the image, offset 0) and the image
// leaves its group; shown as alternative text it then shows the joined text
// in one text child (CImageElement::SetAltTxt). Every image not shown as
// alternative text loses its children. Pieces are joined whatever the
// display type: left apart, each would be written as an image of its own.
// Answers whether any image was joined; false for null.
bool CombineImage(CElement* root);

// Every image in root's subtree (root included) drops its own display type
// (0: it follows the engine's) and recomputes its style (StyleChanged(1)).
// Answers the number of images changed; 0 for null.
int ResetImageDisplayType(CElement* root);
