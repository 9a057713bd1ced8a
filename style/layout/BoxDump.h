#pragma once
// A text picture of a laid-out tree, for tests and for qm-render --boxes:
// one element a line, in document order, root first:
//
//   body/div[2]/p x=0 y=36 w=800 h=19 kind=8 wrap=0 line=1
//
// The path names the element by its tags from the root down ("#text" for a
// text run), with [n] (from 1) when the parent has more than one child of
// that tag. x, y, w, h are its box in document coordinates. wrap is its
// wrap state (0 not wrapped, -1 first piece, 1 last, 2 middle); line numbers
// the lines of its parent in order of appearance from 1 (0: on no line,
// as floats). Without a root the text is empty.

class CElement;
class CSafeBuf;

void GetBoxDump(const CElement* root, CSafeBuf& out);
