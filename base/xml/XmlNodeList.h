#pragma once
// libIXMLDOMNodeList: the result of SelectNodes. Either it wraps an XPath
// result together with its context (both owned, freed on release), or it is
// an own list of nodes gathered by name matching. The nodes always belong to
// their document and are never freed by the list.
//
// Created with new; freed only by Release. Walk it with nextNode until that
// gives null, then call Release.

#include <vector>

#include <libxml/tree.h>
#include <libxml/xpath.h>

class libIXMLDOMNodeList
{
public:
    // Takes over an XPath result and its context; both null makes an own list.
    libIXMLDOMNodeList(xmlXPathObject* result, xmlXPathContext* context);
    libIXMLDOMNodeList(const libIXMLDOMNodeList&) = delete;
    libIXMLDOMNodeList& operator=(const libIXMLDOMNodeList&) = delete;

    // *out = the next node, or null at the end; true when a node was given.
    bool nextNode(xmlNode** out);
    // The next nextNode starts again at the first node.
    void reset();
    // Frees the list and what it owns.
    void Release();

    // Number of nodes in the list.
    int GetLength() const;
    // Appends a node to an own list (ignored for an XPath list).
    void AddNode(xmlNode* node);

private:
    ~libIXMLDOMNodeList();

    bool m_ownList;
    xmlXPathObject* m_result;
    xmlXPathContext* m_context;
    int m_handedOut = 0;
    std::vector<xmlNode*> m_nodes;
};
