#include "element/markup/ParseToBody.h"

#include "base/xml/XmlNavigate.h"
#include "base/xml/XmlPushParse.h"
#include "element/markup/HeadParts.h"
#include "element/markup/MarkupEntities.h"

#include <libxml/tree.h>

xmlNode* ParseToBody(CXmlPushParse& parse, bool rootMayBeBody, xmlNode** root)
{
    xmlNode* top = nullptr;
    xmlNode* body = nullptr;
    xmlNode* seen = nullptr; // the last child of the root looked at
    while (!body) {
        xmlDoc* doc = parse.Doc();
        if (doc && DeclaresInSubset(doc))
            return nullptr;
        top = GetRootElement(doc);
        if (top && rootMayBeBody && !IsNamed(top, "html")) {
            body = top;
            break;
        }
        if (top && top->children) {
            FindNodeInCurLevel(seen ? seen : top->children, "body", &body);
            seen = top->last;
        }
        if (!body && !parse.More())
            return nullptr;
    }
    *root = top;
    if (body == top)
        return body;
    if (body->type != XML_ELEMENT_NODE)
        return nullptr;
    for (xmlNode* c = top->children; c != body; c = c->next) {
        if (GoesIntoBody(c))
            return nullptr;
    }
    return body;
}
