#pragma once
// Reader of the place-holder document (root "placeholders"): every
// "placeholder" element, wherever it stands, defines the picture shown for
// one element of the page's own vocabulary. Its "elt" names the element
// (qualified, cut to 49 units) and its "icon" the picture: an icon name of
// the icon set when it is 50 units or shorter, else the picture itself as
// hexadecimal text. A definition without either is passed over, and so is
// one whose picture text decodes to nothing. Each "attr" child with a
// "name" and a "value" adds a condition the element must meet, in document
// order (names and values cut to 50 units).

#include "element/services/PlaceHolder.h"

#include <libxml/tree.h>

// Appends the definitions of doc to the chain whose first record is head and
// last record last (both null for an empty chain), moving them as records
// are added. Answers how many were read (none for a null document).
int ReadPlaceHolderDocument(xmlDoc* doc, PLACEHOLDERSSTRUCT*& head, PLACEHOLDERSSTRUCT*& last);

// Icon texts longer than this are picture data, not icon names.
constexpr int kPlaceHolderIconNameUnits = 50;
