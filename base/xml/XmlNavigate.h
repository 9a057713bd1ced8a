#pragma once
// Walking a parsed document: root, parent, children and siblings, and the
// first child or sibling of a given local name. Every node handed out belongs
// to its document. Names compare exactly, case-sensitively, as UTF-8 bytes.

#include <libxml/tree.h>

// The root element, or null.
xmlNode* GetRootElement(xmlDoc* doc);
// The parent (for the root element, the document node); null for null.
xmlNode* GetParentNode(xmlNode* node);
// out = the first child / the next sibling; null for a null node.
void XMLGetFirstChild(xmlNode* node, xmlNode** out);
void XMLGetNextSibling(xmlNode* node, xmlNode** out);
// Nodes in the sibling chain starting at first (first included); 0 for null.
int XMLGetChildCount(xmlNode* first);
// The first direct child of parent whose local name is name.
bool FindChildNode(xmlNode* parent, const char* name, xmlNode** out);
// The first of node and its following siblings whose local name is name.
bool FindNodeInCurLevel(xmlNode* node, const char* name, xmlNode** out);
