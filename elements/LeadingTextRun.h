#pragma once
// After a line is broken inside a list item, a list or a definition, the new
// half must start with a text run, so that the caret has a place on its first
// line.

class CElement;

// Puts a new empty text run before holder's first child when that child is
// not a text run (appends it to an empty holder), styled from holder
// (CopyFromParent mode 1). Nothing for null.
void GiveLeadingTextRun(CElement* holder);
