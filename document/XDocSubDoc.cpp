// Sub-documents: content that a web service supplies for custom elements.
//
// The document asks the service once which element types are sub-documents
// (doSubdocumentDescribe) and keeps the definitions (m_subDocInfo, mode 2);
// until it has them (mode 0 never asked, 1 asked without success) every load
// asks again, telling the user of a failure only on the very first attempt.
// The content of one element is then fetched with doSubdocumentDownload,
// naming the element's tag, its id value and the values of up to ten option
// attributes. Every value put into a request is XML-escaped.

#include "document/SubDocInfo.h"
#include "document/XDoc.h"

#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNodeList.h"
#include "base/xml/XmlNodeValue.h"
#include "base/xml/XmlSelect.h"
#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "elements/CustomElement.h"

#include <cstdio>

namespace {

constexpr int kNeverAsked = 0;
constexpr int kNoDefinitions = 1;
constexpr int kDefinitionsHeld = 2;

constexpr int kNothingToDo = 0;
constexpr int kServiceFailed = 1;
constexpr int kContentReceived = 2;

// The namespace of the service operations (that of every web-service call).
const char* const kNamespace = "urn:quillmark:webservice";

void AppendEscaped(CSafeBuf& body, const char* name, const CSafeBuf& value)
{
    CSafeBuf escaped(value);
    escaped.EscapeXML();
    body += "<";
    body += name;
    body += ">";
    body += escaped;
    body += "</";
    body += name;
    body += ">";
}

void OpenOperation(CSafeBuf& body, const char* operation, const CSafeBuf& language)
{
    body = "<";
    body += operation;
    body += " xmlns='";
    body += kNamespace;
    body += "'>";
    AppendEscaped(body, "lang", language);
}

// The number of an option field as written in the requests: "01" ... "10".
void OptionName(char* out, std::size_t size, int index, const char* suffix)
{
    std::snprintf(out, size, "option%02d%s", index + 1, suffix);
}

// The element's value of attribute name; empty when the name is empty or the
// element lacks it.
CSafeBuf AttributeValue(const CElement* e, const CSafeBuf& name)
{
    CSafeBuf value;
    if (!name.IsEmpty())
        e->GetAttrString(static_cast<const unsigned short*>(name), value);
    return value;
}

// The text of the child of definition called prefix + name (empty when absent).
CSafeBuf ChildValue(xmlNode* definition, const CSafeBuf& prefix, const char* name)
{
    CSafeBuf path(prefix);
    path += name;
    xmlNode* child = nullptr;
    CSafeBuf value;
    if (SelectNode(definition, static_cast<const unsigned short*>(path), &child) && child) {
        CSafeBuf ignored;
        GetNameValue(child, ignored, value, true);
    }
    return value;
}

} // namespace

bool CXDoc::DescribeSubDocuments(const CSafeBuf& url, bool tellUser)
{
    CSafeBuf body;
    OpenOperation(body, "doSubdocumentDescribe", m_language);
    body += "</doSubdocumentDescribe>";

    _xmlDoc* answer = nullptr;
    _xmlNode* result = nullptr;
    CSafeBuf prefix;
    const bool report = tellUser && m_subDocMode == kNeverAsked;
    m_subDocMode = kNoDefinitions;
    if (!m_owner->FetchSoapService(url, body, &answer, &result, prefix, report))
        return false;

    ReleaseSubDocInfo();
    CSafeBuf path("//");
    path += prefix;
    path += "subdocumentDefinition";
    libIXMLDOMNodeList* list = nullptr;
    xmlNode* root = xmlDocGetRootElement(answer);
    if (root && SelectNodes(root, static_cast<const unsigned short*>(path), &list) && list
        && list->GetLength() > 0) {
        m_subDocMode = kDefinitionsHeld;
        SUBDOC_INFO** tail = &m_subDocInfo;
        xmlNode* node = nullptr;
        while (list->nextNode(&node)) {
            CSafeBuf name = ChildValue(node, prefix, "elementName");
            if (name.IsEmpty())
                continue;
            auto* info = new SUBDOC_INFO();
            info->elementName.ReplaceWith(&name);
            info->idAttribute = ChildValue(node, prefix, "idAttribute");
            for (int i = 0; i < SUBDOC_INFO::kOptionCount; ++i) {
                char field[32];
                OptionName(field, sizeof field, i, "Attribute");
                info->optionAttributes[i] = ChildValue(node, prefix, field);
            }
            *tail = info;
            tail = &info->next;
        }
    }
    if (list)
        list->Release();
    XMLReleaseDom(answer);
    return m_subDocMode == kDefinitionsHeld;
}

SUBDOC_INFO* CXDoc::FindSubDocInfo(CElement* e, CSafeBuf& idValue) const
{
    idValue.Empty();
    const unsigned short* tag = e->GetTagName();
    for (SUBDOC_INFO* info = m_subDocInfo; info; info = info->next) {
        if (!tag || !(info->elementName == tag) || info->idAttribute.IsEmpty())
            continue;
        CSafeBuf value = AttributeValue(e, info->idAttribute);
        value.EscapeXML();
        if (value.IsEmpty())
            continue;
        idValue.ReplaceWith(&value);
        return info;
    }
    return nullptr;
}

int CXDoc::LoadSubDocumentForElement(CElement* e, CSafeBuf& markup, bool tellUser)
{
    markup.Empty();
    if (!e || !m_owner)
        return kNothingToDo;
    try {
        if (!m_owner->m_control)
            return kNothingToDo;
        const CSafeBuf url(m_owner->m_control->SubdocumentServiceURL());
        if (m_subDocMode != kDefinitionsHeld) {
            if (url.IsEmpty())
                return kNothingToDo;
            if (!DescribeSubDocuments(url, tellUser))
                return kServiceFailed;
        }
        CSafeBuf id;
        const SUBDOC_INFO* info = FindSubDocInfo(e, id);
        if (!info)
            return kNothingToDo;

        CSafeBuf body;
        OpenOperation(body, "doSubdocumentDownload", m_language);
        AppendEscaped(body, "type", CSafeBuf(e->GetTagName()));
        body += "<id>";
        body += id; // escaped already
        body += "</id>";
        for (int i = 0; i < SUBDOC_INFO::kOptionCount; ++i) {
            char field[32];
            OptionName(field, sizeof field, i, "");
            AppendEscaped(body, field, AttributeValue(e, info->optionAttributes[i]));
        }
        body += "</doSubdocumentDownload>";

        _xmlDoc* answer = nullptr;
        _xmlNode* result = nullptr;
        CSafeBuf prefix;
        if (!m_owner->FetchSoapService(url, body, &answer, &result, prefix, tellUser))
            return kServiceFailed;
        CSafeBuf path("//");
        path += prefix;
        path += "subdocument";
        xmlNode* root = xmlDocGetRootElement(answer);
        xmlNode* content = nullptr;
        if (root && SelectNode(root, static_cast<const unsigned short*>(path), &content) && content) {
            CSafeBuf ignored;
            GetNameValue(content, ignored, markup, true);
        }
        XMLReleaseDom(answer);
        return kContentReceived;
    } catch (...) {
        markup.Empty();
        return kServiceFailed;
    }
}

bool CXDoc::IsSubDocChanged(CElement* e)
{
    if (!e || m_subDocMode != kDefinitionsHeld || e->m_kind != kKindCustom)
        return false;
    const auto* custom = dynamic_cast<const CCustomElement*>(e);
    CSafeBuf id;
    const SUBDOC_INFO* info = FindSubDocInfo(e, id);
    if (!custom || !info)
        return false;
    CSafeBuf current = AttributeValue(e, info->idAttribute);
    CSafeBuf kept;
    custom->m_loadAttributes.Lookup(static_cast<const unsigned short*>(info->idAttribute), kept);
    return !(current == kept);
}
