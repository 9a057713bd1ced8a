#pragma once
// A text picture of a laid-out tree, for tests and for qm-render --boxes:
// one element a line, in document order, root first:
//
//   /body[1]/div[2]/p[1] x=0 y=36 w=800 h=19 kind=8 wrap=0 line=1
//
// The path is the indexed tag path of the style report
// (style/cascade/StyleReport.h): each tag with its number among the
// siblings of that tag from 1 (the pieces of a wrapped element counted
// once), a text run as "text()[n]". x, y, w, h are the element's box in
// document coordinates; kind its kind code; wrap its wrap state (0 not
// wrapped, -1 first piece, 1 last, 2 middle); line numbers the lines of its
// parent in order from 1 (0: on no line, as floats and the root). Without a
// root the text is empty.

class CElement;
class CSafeBuf;

void GetBoxDump(const CElement* root, CSafeBuf& out);
