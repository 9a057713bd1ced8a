// Element trees from markup, for tests.

#include "tests/element/support/TreeBuilder.h"

#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "tests/common/TextHelpers.h"

#include <libxml/tree.h>

#include <cstdlib>

namespace qmtest {

namespace {

CSafeBuf Utf8Text(const xmlChar* text)
{
    CSafeBuf out;
    out.AssignUTF8(reinterpret_cast<const char*>(text));
    return out;
}

CElement* Build(xmlNode* node, CElement* root, CXHTML* owner, BuiltTree& tree)
{
    CElement* e = CreateElement(Utf8Text(node->name), nullptr, root, owner);
    if (!root)
        root = e;
    for (xmlAttr* a = node->properties; a; a = a->next) {
        CSafeBuf name = Utf8Text(a->name);
        xmlChar* raw = xmlNodeGetContent(reinterpret_cast<xmlNode*>(a));
        CSafeBuf value = Utf8Text(raw);
        xmlFree(raw);
        if (name == "_mark")
            tree.marked = e;
        else if (name == "_group")
            e->m_inlineGroup = std::atol(ToUtf8(value).c_str());
        else
            e->m_attributes.SetAt(static_cast<const unsigned short*>(name), value);
    }
    for (xmlNode* c = node->children; c; c = c->next) {
        CElement* child = nullptr;
        if (c->type == XML_ELEMENT_NODE) {
            child = Build(c, root, owner, tree);
        } else if (c->type == XML_TEXT_NODE) {
            CSafeBuf text = Utf8Text(c->content);
            if (text.JustSpace())
                continue;
            child = CreateElement("", nullptr, root, owner);
            child->m_text = text;
        } else if (c->type == XML_COMMENT_NODE) {
            child = CreateElement("_comment_", nullptr, root, owner);
            child->m_text = Utf8Text(c->content);
        }
        if (child)
            e->AppendChild(child);
    }
    return e;
}

} // namespace

BuiltTree BuildTree(const std::string& markup, CXHTML* owner)
{
    BuiltTree tree;
    xmlDoc* doc = LoadXMLString(FromUtf8(markup));
    if (!doc)
        return tree;
    tree.root = Build(xmlDocGetRootElement(doc), nullptr, owner, tree);
    XMLReleaseDom(doc);
    if (owner) {
        delete owner->m_doc.m_root;
        owner->m_doc.m_root = tree.root;
    }
    return tree;
}

} // namespace qmtest
