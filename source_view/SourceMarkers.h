#pragma once
// The three marker words by which the source text carries the caret and the
// selection across a view switch: "_x_Here_to_put_cursor_x_" where the caret
// is, "_x_Here_selection_begins_x_" and "_x_Here_selection_ends_x_" around
// the selection.

#include "base/text/SafeBuf.h"

#include <vector>

// Where the markers of a text put the caret and the selection, as positions
// in the text without its markers; -1 for a marker that is absent.
struct SourceMarkerPlaces
{
    int cursor = -1;
    int begins = -1;
    int ends = -1;
};

// Removes every marker word from text (of any length) into out and answers
// where the first of each kind stood.
SourceMarkerPlaces RemoveSourceMarkers(
    const unsigned short* text, int length, std::vector<unsigned short>& out);

// Writes text into out with the markers put back: for a selection (anchor
// and caret differ) "begins" at its start and "ends" at its end, and the
// cursor marker at the caret, outside the selection's markers.
void InsertSourceMarkers(const unsigned short* text, int length, int anchor, int caret, CSafeBuf& out);

// Where a marker word for position pos of the markup text stands as content
// of the document, so that reading the text back takes it for the marker and
// changes nothing else: pos itself in text, in a comment or in character
// data of an element, or else the end of the tag, processing instruction,
// declaration or character reference that pos lies in. -1 when that place is
// outside the root element of a whole document (one whose first element is
// "html"), where a word would make the markup ill-formed.
int MarkerPlace(const unsigned short* text, int length, int pos);
