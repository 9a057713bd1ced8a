#pragma once
// Queries: an XPath expression over a whole document, or a one-name path
// below a node.
//
// Name paths: a path starting with ".//", "//" or "/" (the prefix is dropped)
// searches the whole subtree below the node; a bare name searches only the
// node's direct children. What is left is one name, not a sequence of steps,
// so a name holding a slash matches nothing. A node matches when it has a
// name and the path is "*" (every named node: elements, and text and comment
// nodes under the names "text" and "comment"), or its local name or its
// qualified name equals the path. Matches come in document order (a node
// before its descendants, descendants before the following sibling).
//
// Expressions and names given as UTF-16 are converted to UTF-8.

#include <libxml/tree.h>

class libIXMLDOMNodeList;

// The first node of the expression's node set as a deep copy detached from
// the document; the caller frees it with xmlFreeNode. False and *out null
// when the expression gives no node (or only a namespace or document node).
bool SelectNode(xmlDoc* doc, const char* xpath, xmlNode** out);
bool SelectNode(xmlDoc* doc, const unsigned short* xpath, xmlNode** out);
// A new list over the expression's node set; false and *out null when the
// expression gives no nodes.
bool SelectNodes(xmlDoc* doc, const char* xpath, libIXMLDOMNodeList** out);
bool SelectNodes(xmlDoc* doc, const unsigned short* xpath, libIXMLDOMNodeList** out);

// The first node below node that matches the name path (document-owned).
bool SelectNode(xmlNode* node, const char* path, xmlNode** out);
bool SelectNode(xmlNode* node, const unsigned short* path, xmlNode** out);
// Always makes a new list in *out (possibly empty, to be released) holding
// every match in document order, and answers true.
bool SelectNodes(xmlNode* node, const char* path, libIXMLDOMNodeList** out);
bool SelectNodes(xmlNode* node, const unsigned short* path, libIXMLDOMNodeList** out);
