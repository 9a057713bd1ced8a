#pragma once
// Small tree operations the list, definition-list and Tab commands share:
// new entries, moving elements and children beside one another, and the
// list and item around an element.

class CElement;

// A ul or an ol.
bool IsListElement(const CElement* e);
// e itself or its nearest ancestor of kind; null when none.
CElement* AtOrAbove(CElement* e, long kind);
// The nearest ul or ol above e; null when none.
CElement* ListAbove(const CElement* e);
// A new element of tag holding one empty text run, inheriting from parent;
// not linked. Null when the factory fails.
CElement* NewEntry(const char* tag, CElement* parent);
// e is unlinked and linked again right after (after) or before ref, in
// ref's parent. False when ref has no parent or lies inside e.
bool MoveBeside(CElement* e, CElement* ref, bool after);
// The children of from, starting with first (null: all of them), move in
// order to the end of to. Answers how many moved.
int MoveChildrenToEnd(CElement* from, CElement* to, CElement* first = nullptr);
// The children of from, in order, go right after ref in ref's parent.
void MoveChildrenAfter(CElement* from, CElement* ref);
// e's parent unlinks and destroys e; nothing without a parent.
void DestroyElement(CElement* e);
// The number of children of kind.
int CountChildren(const CElement* e, long kind);
// The document's caret element is e or lies inside it.
bool CaretWithin(const CElement* e);
