// XPath queries over documents and name-path searches below nodes.

#include "base/xml/XmlSelect.h"

#include <cstring>
#include <new>
#include <string>

#include <libxml/xpath.h>

#include "base/text/Utf.h"
#include "base/xml/XmlInternal.h"
#include "base/xml/XmlNodeList.h"

namespace {

void SilentXPathError(void*, xmlErrorPtr) { }

// Evaluates the expression; on success the caller owns both results.
bool Evaluate(xmlDoc* doc, const char* xpath, xmlXPathContext** ctxOut, xmlXPathObject** resOut)
{
    *ctxOut = nullptr;
    *resOut = nullptr;
    if (!doc || !xpath || !*xpath)
        return false;
    xmlXPathContext* ctx = xmlXPathNewContext(doc);
    if (!ctx)
        return false;
    ctx->error = SilentXPathError;
    xmlXPathObject* res = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(xpath), ctx);
    if (!res || res->type != XPATH_NODESET || !res->nodesetval || res->nodesetval->nodeNr < 1) {
        if (res)
            xmlXPathFreeObject(res);
        xmlXPathFreeContext(ctx);
        return false;
    }
    *ctxOut = ctx;
    *resOut = res;
    return true;
}

} // namespace

bool SelectNode(xmlDoc* doc, const char* xpath, xmlNode** out)
{
    if (out)
        *out = nullptr;
    xmlXPathContext* ctx = nullptr;
    xmlXPathObject* res = nullptr;
    if (!out || !Evaluate(doc, xpath, &ctx, &res))
        return false;
    xmlNode* first = res->nodesetval->nodeTab[0];
    // Namespace records and document nodes cannot be copied into a free node.
    if (XmlIsNode(first) && first->type != XML_DOCUMENT_NODE && first->type != XML_HTML_DOCUMENT_NODE)
        *out = xmlCopyNode(first, 1);
    xmlXPathFreeObject(res);
    xmlXPathFreeContext(ctx);
    return *out != nullptr;
}

bool SelectNode(xmlDoc* doc, const unsigned short* xpath, xmlNode** out)
{
    return SelectNode(doc, ToUTF8String(xpath).c_str(), out);
}

bool SelectNodes(xmlDoc* doc, const char* xpath, libIXMLDOMNodeList** out)
{
    if (out)
        *out = nullptr;
    xmlXPathContext* ctx = nullptr;
    xmlXPathObject* res = nullptr;
    if (!out || !Evaluate(doc, xpath, &ctx, &res))
        return false;
    *out = new (std::nothrow) libIXMLDOMNodeList(res, ctx);
    if (!*out) {
        xmlXPathFreeObject(res);
        xmlXPathFreeContext(ctx);
        return false;
    }
    return true;
}

bool SelectNodes(xmlDoc* doc, const unsigned short* xpath, libIXMLDOMNodeList** out)
{
    return SelectNodes(doc, ToUTF8String(xpath).c_str(), out);
}

namespace {

// Walks the children of start (the whole subtree when deep) in document
// order and hands every match to found; stops when found answers false.
template <typename Found>
void MatchPath(xmlNode* start, const char* path, Found found)
{
    if (!XmlIsNode(start) || !path || start->type == XML_ENTITY_REF_NODE)
        return;
    bool deep = false;
    if (std::strncmp(path, ".//", 3) == 0) {
        path += 3;
        deep = true;
    } else if (std::strncmp(path, "//", 2) == 0) {
        path += 2;
        deep = true;
    } else if (path[0] == '/') {
        path += 1;
        deep = true;
    }
    const std::string name(path);
    const bool any = name == "*";

    xmlNode* cur = start->children;
    while (cur) {
        if (cur->name) {
            bool match = any || name == reinterpret_cast<const char*>(cur->name)
                || (cur->type == XML_ELEMENT_NODE && name == XmlQualifiedName(cur));
            if (match && !found(cur))
                return;
        }
        // Entity references share the entity's nodes; their parent links lead
        // elsewhere, so the walk never enters them.
        if (deep && cur->children && cur->type != XML_ENTITY_REF_NODE) {
            cur = cur->children;
            continue;
        }
        while (cur && !cur->next) {
            cur = cur->parent;
            if (cur == start)
                cur = nullptr;
        }
        if (cur)
            cur = cur->next;
    }
}

} // namespace

bool SelectNode(xmlNode* node, const char* path, xmlNode** out)
{
    xmlNode* first = nullptr;
    MatchPath(node, path, [&first](xmlNode* n) {
        first = n;
        return false;
    });
    if (out)
        *out = first;
    return first != nullptr;
}

bool SelectNode(xmlNode* node, const unsigned short* path, xmlNode** out)
{
    return SelectNode(node, ToUTF8String(path).c_str(), out);
}

bool SelectNodes(xmlNode* node, const char* path, libIXMLDOMNodeList** out)
{
    if (!out)
        return false;
    *out = nullptr;
    libIXMLDOMNodeList* list = new (std::nothrow) libIXMLDOMNodeList(nullptr, nullptr);
    if (!list)
        return false;
    MatchPath(node, path, [list](xmlNode* n) {
        list->AddNode(n);
        return true;
    });
    *out = list;
    return true;
}

bool SelectNodes(xmlNode* node, const unsigned short* path, libIXMLDOMNodeList** out)
{
    return SelectNodes(node, ToUTF8String(path).c_str(), out);
}
