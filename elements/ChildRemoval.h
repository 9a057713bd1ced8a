#pragma once
// Taking an element's generated or loaded children away while an event may
// still hold them: the caret never stays in removed content, and the
// children outlive the event that removed them.

class CElement;

// Unlinks every child of e. When the document's caret element is one of the
// children or below one, the caret first moves to e itself with caretOffset
// (0 before e, 1 after it). The children go to the document's removed list;
// without a document they are destroyed at once.
void RemoveChildrenKeepingCaret(CElement* e, long caretOffset);
