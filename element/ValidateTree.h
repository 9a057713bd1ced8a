#pragma once
// Keeping the tree in shape after an edit: a p, dt or heading may not hold
// blocks; text that leaves a pre is normalised as text read from markup; a
// pre may not receive pictures, objects or raised and lowered text.

class CElement;

// For e a p, dt or heading: every block child is dissolved (its children
// take its place), repeatedly, until no block child remains; the subtree is
// then restyled. Answers whether anything was dissolved; false for null e
// and for other kinds.
bool ValidateTree(CElement* e);

// After e's content left a pre: the line breaks that stood for the pre's
// line ends (CBRElement::m_preBreak) are destroyed with flag 1, each leaving
// its line end as white space at the front of the text after it (a new run
// where an element follows, nothing at the end of e's content), or with
// flag 2 kept as ordinary breaks; then every text run of the subtree is
// normalised (CTextElement::ValidateText), so a line end after inline
// content of the same line reads as a blank. Nothing for null e.
void ValidateTextChildFromPre(CElement* e, int flags);

// Whether moving e's children into target must be refused: target is a pre
// and e holds, at any depth, an image, object, sub or sup, which a pre may
// not hold. False for a null argument. (True means: do not move.)
bool CanMoveChildrenTo(const CElement* e, const CElement* target);
