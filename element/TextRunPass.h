#pragma once
// The runs where the caret can stand and the collapsed white space, in one
// walk of a tree that was just read.

#include <functional>

class CElement;

// What root->ValidTextInput(state 2, no restyle) and then
// root->RemoveExtraSpace(previous 0) do, in one walk of the tree: on a large
// tree the second walk costs more than the work it does. onTable (when set)
// is called for every table element before either pass has touched it or
// anything inside it, so that it may still restructure the table's rows.
void MakeRunsAndCollapseSpace(CElement* root, const std::function<void(CElement*)>& onTable);

// A pre, a break, a picture, and the icon of a form control, map, object or
// noscript end the run of text in which RemoveExtraSpace collapses white space: it
// leaves what is inside them alone.
bool SeparatesSpaceRuns(const CElement* e);
