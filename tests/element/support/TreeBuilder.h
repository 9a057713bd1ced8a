#pragma once
// Element trees for tests, written as markup. Every element node becomes an
// element made by the factory and appended to its parent; its attributes are
// stored as written; a text node becomes a text run holding its text (text
// of white space only is left out, so the markup may be laid out freely); a
// comment becomes a "_comment_" element. Two attributes are taken out again:
// "_mark" names the element a test is about, and "_group" (a number) sets
// the element's inline group, marking the pieces of one wrapped element.

#include <string>

class CElement;
class CXHTML;

namespace qmtest {

struct BuiltTree
{
    CElement* root = nullptr;   // null when the markup does not parse
    CElement* marked = nullptr; // the element carrying "_mark", if any
};

// Builds the tree with owner (may be null); with an owner the root becomes
// the document's root, which then owns the tree.
BuiltTree BuildTree(const std::string& markup, CXHTML* owner);

} // namespace qmtest
