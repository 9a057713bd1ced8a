#pragma once
// The style a newly computed one most likely equals: that of a sibling just
// before the element of the same kind (the runs of a paragraph, the items of
// a list), or else of the sibling just before it. Sharing tries it before
// the table of shared styles.

class CElement;
class CSharedStyle;

// Null when the element has no sibling before it.
const CSharedStyle* LikelySiblingStyle(const CElement* e);
