// The node list returned by SelectNodes.

#include "base/xml/XmlNodeList.h"

libIXMLDOMNodeList::libIXMLDOMNodeList(xmlXPathObject* result, xmlXPathContext* context)
    : m_ownList(result == nullptr && context == nullptr), m_result(result), m_context(context)
{ }

libIXMLDOMNodeList::~libIXMLDOMNodeList()
{
    if (m_result)
        xmlXPathFreeObject(m_result);
    if (m_context)
        xmlXPathFreeContext(m_context);
}

int libIXMLDOMNodeList::GetLength() const
{
    if (m_ownList)
        return static_cast<int>(m_nodes.size());
    if (m_result && m_result->type == XPATH_NODESET && m_result->nodesetval)
        return m_result->nodesetval->nodeNr;
    return 0;
}

bool libIXMLDOMNodeList::nextNode(xmlNode** out)
{
    xmlNode* node = nullptr;
    if (m_handedOut < GetLength()) {
        node = m_ownList ? m_nodes[static_cast<size_t>(m_handedOut)]
                         : m_result->nodesetval->nodeTab[m_handedOut];
        ++m_handedOut;
    }
    if (out)
        *out = node;
    return node != nullptr;
}

void libIXMLDOMNodeList::reset() { m_handedOut = 0; }

void libIXMLDOMNodeList::Release() { delete this; }

void libIXMLDOMNodeList::AddNode(xmlNode* node)
{
    if (!m_ownList || !node)
        return;
    try {
        m_nodes.push_back(node);
    } catch (...) {
        // Out of memory: the list stays as it was.
    }
}
