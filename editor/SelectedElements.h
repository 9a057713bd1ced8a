#pragma once
// The selected elements of a document, by identifier: an edit that goes
// through them one by one may delete some on the way, and an identifier
// names either the same element or none (CXDoc::FindElement tells which).

#include <vector>

class CElement;

// The identifiers of the selected elements under root, in document order
// (CElement::GetAllChildren with selectedOnly). Empty for a null root.
std::vector<long> SelectedElementIds(const CElement* root);
