#pragma once
// Reading a whole parsed document into a tree (the reader itself is
// CElement::SetElement, Element.h).

struct _xmlNode;
class CElement;
class CXmlPushParse;

// e->SetElement(node, false, false, keepWhiteSpace), freeing the nodes
// below node as they are read: the parsed document and the tree are not
// both whole in memory at once. The caller owns the parsed document and
// reads no node below node afterwards (node itself stays, childless). A body
// restyles its whole tree once, at the end; the elements inside it, and an e
// that is no body, do not restyle their subtrees on their own as they are
// read. Without restyle the body does not either: the caller restyles the
// whole tree once it has finished with it. Either way the elements inside
// e are styled in that restyle and not as they are read: until then they
// hold only what their presentational attributes set (ReadStyle.h).
bool ReadConsumingNodes(CElement* e, _xmlNode* node, bool restyle = true, bool keepWhiteSpace = false);
// The same for a node whose markup parse is still going on: whenever the
// reader reaches the last of node's children made so far, parse parses on
// until that child is closed. The parse must have opened node.
bool ReadConsumingNodes(
    CElement* e, _xmlNode* node, CXmlPushParse* parse, bool restyle = true, bool keepWhiteSpace = false);
