// The parts of a document's head, as libxml2 nodes.

#include "element/markup/HeadParts.h"

#include <libxml/tree.h>

#include <cctype>
#include <cstring>
#include <strings.h>
#include <vector>

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

bool IsStyleElement(const xmlNode* n)
{
    return n->type == XML_ELEMENT_NODE && (!n->ns || !n->ns->prefix)
        && xmlStrcasecmp(n->name, reinterpret_cast<const xmlChar*>("style")) == 0;
}

// Whether the reader keeps the element's content as markup text rather than
// as elements: a style inside it is part of that text.
bool ReadsContentAsText(const xmlNode* n)
{
    static const char* const kKinds[] = {"script", "noscript", "map", "object", "input", "textarea", "select",
        "option", "optgroup", "button", "legend"};
    for (const char* kind : kKinds) {
        if (xmlStrcasecmp(n->name, reinterpret_cast<const xmlChar*>(kind)) == 0)
            return true;
    }
    return false;
}

// Takes n out of its parent; the texts before and after it become one.
void UnlinkJoiningTexts(xmlNode* n)
{
    xmlNode* before = n->prev;
    xmlNode* after = n->next;
    xmlUnlinkNode(n);
    if (before && after && before->type == XML_TEXT_NODE && after->type == XML_TEXT_NODE)
        xmlTextMerge(before, after); // frees after
}

bool IsNameUnit(unsigned char c) { return std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == ':'; }

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

namespace {

// Appends the style elements under top (top itself excepted) to styles, in
// document order.
void FindStyles(xmlNode* top, std::vector<xmlNode*>& styles)
{
    for (xmlNode* n = top->children; n;) {
        if (IsStyleElement(n)) {
            if (!IsEmptyPart(n, 0))
                styles.push_back(n);
        } else if (n->type == XML_ELEMENT_NODE && n->children && !ReadsContentAsText(n)) {
            n = n->children;
            continue;
        }
        while (n != top && !n->next)
            n = n->parent;
        n = n == top ? nullptr : n->next;
    }
}

} // namespace

bool MoveStylesIntoHead(xmlNode* html, xmlNode* body, xmlNode** head)
{
    // The style elements first, in document order: moving one while the
    // walk stands on it would lose the walk's place.
    std::vector<xmlNode*> styles;
    for (xmlNode* c = html->children; c; c = c->next) {
        if (c == body)
            FindStyles(body, styles);
        else if (IsStyleElement(c) && !IsEmptyPart(c, 0))
            styles.push_back(c);
    }
    if (styles.empty())
        return false;
    if (!*head) {
        xmlNode* made = xmlNewDocNode(html->doc, html->ns, reinterpret_cast<const xmlChar*>("head"), nullptr);
        if (!made || !xmlAddPrevSibling(body, made)) {
            xmlFreeNode(made);
            return false;
        }
        *head = made;
    }
    for (xmlNode* style : styles) {
        UnlinkJoiningTexts(style);
        xmlAddChild(*head, style);
    }
    return true;
}

bool MayHoldStyleAfterBody(const char* bytes, size_t size)
{
    const char* end = bytes + size;
    const char* s = static_cast<const char*>(memmem(bytes, size, "<body", 5));
    while (s && s < end) {
        s = static_cast<const char*>(std::memchr(s + 1, '<', static_cast<size_t>(end - s - 1)));
        if (!s || end - s < 7)
            return false;
        if (strncasecmp(s + 1, "style", 5) == 0 && !IsNameUnit(static_cast<unsigned char>(s[6])))
            return true;
    }
    return false;
}

bool HasStyleChild(const xmlNode* html)
{
    for (const xmlNode* c = html->children; c; c = c->next) {
        if (IsStyleElement(c) && !IsEmptyPart(c, 0))
            return true;
    }
    return false;
}
