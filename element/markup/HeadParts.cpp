// The parts of a document's head, as libxml2 nodes.

#include "element/markup/HeadParts.h"

#include <libxml/tree.h>

namespace {

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Nesting an empty part looks into: deeper ones count as content.
constexpr int kEmptyPartDepth = 16;

bool IsEmptyPart(const xmlNode* n, int depth)
{
    // Every element the reader meets is asked: most are no head part, and
    // the length of the name (four or five letters for all of them) says so
    // before any name is compared.
    if (n->type != XML_ELEMENT_NODE || !n->name)
        return false;
    const xmlChar* name = n->name;
    if (!name[0] || !name[1] || !name[2] || !name[3] || (name[4] && name[5]))
        return false;
    if (depth > kEmptyPartDepth || !(IsHeadPart(n) || IsNamed(n, "html") || IsNamed(n, "body")))
        return false;
    for (const xmlNode* c = n->children; c; c = c->next) {
        if (c->type == XML_COMMENT_NODE || IsBlankText(c))
            continue;
        if (!IsEmptyPart(c, depth + 1))
            return false;
    }
    return true;
}

} // namespace

bool IsNamed(const xmlNode* n, const char* name)
{
    return n->type == XML_ELEMENT_NODE && xmlStrcmp(n->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool IsHeadPart(const xmlNode* n)
{
    static const char* const kParts[] = {"head", "title", "meta", "link", "style", "base"};
    for (const char* part : kParts) {
        if (IsNamed(n, part))
            return true;
    }
    return false;
}

bool IsBlankText(const xmlNode* n)
{
    if (n->type != XML_TEXT_NODE)
        return false;
    for (const xmlChar* c = n->content; c && *c; ++c) {
        if (!IsSpace(*c))
            return false;
    }
    return true;
}

bool IsEmptyHeadPartInBody(const xmlNode* n) { return IsEmptyPart(n, 0); }

bool GoesIntoBody(const xmlNode* c)
{
    return !IsHeadPart(c) && c->type != XML_COMMENT_NODE && !IsBlankText(c)
        && (c->type == XML_ELEMENT_NODE || c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE
            || c->type == XML_ENTITY_REF_NODE);
}

void GatherIntoBody(xmlNode* html, xmlNode* body)
{
    xmlNode* bodyStart = body->children;
    bool afterBody = false;
    for (xmlNode* c = html->children; c;) {
        xmlNode* next = c->next;
        if (c == body) {
            afterBody = true;
        } else if (GoesIntoBody(c)) {
            // A second body gives what it holds.
            const bool secondBody = IsNamed(c, "body");
            xmlNode* first = secondBody ? c->children : c;
            xmlNode* last = secondBody ? nullptr : c->next;
            for (xmlNode* m = first; m != last;) {
                xmlNode* following = m->next;
                xmlUnlinkNode(m);
                // Either call may merge m into a neighbouring text and free it.
                if (!afterBody && bodyStart)
                    xmlAddPrevSibling(bodyStart, m);
                else
                    xmlAddChild(body, m);
                m = following;
            }
            if (secondBody) {
                xmlUnlinkNode(c);
                xmlFreeNode(c);
            }
        }
        c = next;
    }
}
