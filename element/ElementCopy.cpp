// Copies of an element (Duplicate) and markup fragments read into an element
// (InsertHTMLCodeToElement).

#include "element/Element.h"

#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"
#include "element/factory/ElementFactory.h"

CElement* CElement::Duplicate()
{
    CElement* copy = CreateElement(m_tagName, m_rules, m_root, m_owner);
    if (!copy)
        return nullptr;
    copy->m_style = m_style;
    if (!Rare().m_markerLabel.IsEmpty())
        copy->EditRare().m_markerLabel = Rare().m_markerLabel;
    copy->m_attributes = m_attributes;
    copy->Lay().m_sizeRect = Lay().m_sizeRect;
    copy->Lay().m_contentRect = Lay().m_contentRect;
    copy->m_parent = m_parent;
    return copy;
}

bool CElement::InsertHTMLCodeToElement(const unsigned short* markup)
{
    CSafeBuf text("<top>");
    text += markup;
    text += "</top>";
    xmlDoc* doc = LoadXMLString(text);
    if (!doc)
        return false;
    if (xmlNode* top = xmlDocGetRootElement(doc))
        SetElement(top, false, true, false);
    XMLReleaseDom(doc);
    return true;
}
