// Expanding references to a document's own entities, within a budget.
//
// Every expanded reference in content is replaced by a copy of the list of
// nodes that the parser made of the entity's replacement text (text,
// elements, and references to further entities, which the same walk then
// expands in turn); the copies are linked in by hand, because the library's
// insertion joins neighbouring texts by appending to a growing one. Texts
// that end up side by side are joined once, at the end of their parent's
// walk.

#include "base/xml/XmlEntityExpansion.h"

#include "base/text/SafeBuf.h"
#include "base/xml/XmlInternal.h"

#include <libxml/entities.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The depth to which the parser lets elements nest without its "huge"
// option. Elements that expanded entities put in place may not pass it.
constexpr int kMaxDepth = 256;
// Entities within entities: the parser refuses a nesting far shallower;
// this keeps the recursion of attribute texts bounded whatever it does.
constexpr int kMaxEntityNesting = 64;
// What each node other than text that a replacement puts in place costs,
// beside the length of the replacement: an element costs its reader far
// more than a character of text does.
constexpr size_t kNodeCost = 64;

// The nodes other than texts and references in a list and below.
size_t CountNodes(const xmlNode* list)
{
    size_t n = 0;
    for (const xmlNode* k = list; k; k = k->next) {
        if (k->type != XML_TEXT_NODE && k->type != XML_ENTITY_REF_NODE)
            ++n;
        if (k->type == XML_ELEMENT_NODE)
            n += CountNodes(k->children);
    }
    return n;
}

class Expansion
{
public:
    Expansion(xmlDoc* doc, size_t budget) : m_doc(doc), m_left(budget) { }
    ~Expansion()
    {
        for (xmlNs* ns : m_unbound)
            xmlFreeNs(ns);
    }
    Expansion(const Expansion&) = delete;
    Expansion& operator=(const Expansion&) = delete;

    // Expands the references among parent's children and in their
    // subtrees. copyLine is the line of the reference whose replacement
    // parent belongs to, or -1 for the document's own nodes.
    bool Children(xmlNode* parent, int depth, long copyLine);

    const char* Reason() const { return m_reason; }
    long Line() const { return m_line; }

private:
    const xmlEntity* Entity(const xmlNode* ref) const;
    bool Charge(const xmlEntity* entity, long line);
    bool Attributes(xmlNode* element, long line);
    bool AttributeText(const xmlNode* list, bool replacement, int nesting, long line, std::string& out);
    bool Fail(const char* reason, long line)
    {
        m_reason = reason;
        m_line = line;
        return false;
    }
    void TakeNamespaceInPlace(xmlNode* element);

    xmlDoc* m_doc;
    size_t m_left;
    const char* m_reason = nullptr;
    long m_line = 0;
    // Declarations without a URI taken off copied elements, freed at the
    // end.
    std::vector<xmlNs*> m_unbound;
    // CountNodes of each entity's replacement, once counted.
    std::unordered_map<const xmlEntity*, size_t> m_nodes;
};

// Puts list (linked by next, parents unset, may be null) in the place of
// node, which is freed. Answers the first node put in, or the node that
// followed when list is empty.
xmlNode* ReplaceWithList(xmlNode* node, xmlNode* list)
{
    xmlNode* parent = node->parent;
    xmlNode* prev = node->prev;
    xmlNode* next = node->next;
    xmlUnlinkNode(node);
    xmlFreeNode(node);
    if (!list)
        return next;
    xmlNode* last = list;
    for (xmlNode* k = list; k; k = k->next) {
        k->parent = parent;
        last = k;
    }
    list->prev = prev;
    last->next = next;
    if (prev)
        prev->next = list;
    else
        parent->children = list;
    if (next)
        next->prev = last;
    else
        parent->last = last;
    return list;
}

// Joins each run of neighbouring text nodes among parent's children into
// its first node.
void JoinTexts(xmlNode* parent)
{
    std::string text;
    for (xmlNode* c = parent->children; c; c = c->next) {
        if (c->type != XML_TEXT_NODE || !c->next || c->next->type != XML_TEXT_NODE)
            continue;
        text.assign(c->content ? reinterpret_cast<const char*>(c->content) : "");
        while (c->next && c->next->type == XML_TEXT_NODE) {
            xmlNode* joined = c->next;
            if (joined->content)
                text += reinterpret_cast<const char*>(joined->content);
            xmlUnlinkNode(joined);
            xmlFreeNode(joined);
        }
        xmlNodeSetContentLen(c, reinterpret_cast<const xmlChar*>(text.data()), static_cast<int>(text.size()));
    }
}

const xmlEntity* Expansion::Entity(const xmlNode* ref) const
{
    const xmlEntity* entity = ref->name ? xmlGetDocEntity(m_doc, ref->name) : nullptr;
    return entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY ? entity : nullptr;
}

// The parser reads an entity's elements apart from the place of a
// reference: an element whose prefix (the default one too) is declared only
// there gets a declaration of that prefix without a URI, and no namespace.
// In its place, a copied element takes the declaration in force where it now
// stands. (A prefixed attribute of such an element has lost its prefix in
// the parser already.)
void Expansion::TakeNamespaceInPlace(xmlNode* element)
{
    bool unbound = false;
    const xmlChar* prefix = nullptr;
    for (xmlNs** link = &element->nsDef; *link;) {
        xmlNs* ns = *link;
        if (ns->href) {
            link = &ns->next;
            continue;
        }
        *link = ns->next;
        ns->next = nullptr;
        m_unbound.push_back(ns);
        if (!unbound)
            prefix = ns->prefix;
        unbound = true;
    }
    if (unbound && !element->ns)
        element->ns = xmlSearchNs(m_doc, element, prefix);
}

bool Expansion::Charge(const xmlEntity* entity, long line)
{
    auto counted = m_nodes.find(entity);
    if (counted == m_nodes.end())
        counted = m_nodes.emplace(entity, CountNodes(entity->children)).first;
    const size_t cost
        = (entity->length > 0 ? static_cast<size_t>(entity->length) : 1) + kNodeCost * counted->second;
    if (cost > m_left)
        return Fail("the document's entities expand beyond the size allowed for it\n", line);
    m_left -= cost;
    return true;
}

bool Expansion::Children(xmlNode* parent, int depth, long copyLine)
{
    bool expanded = false;
    // The nodes from a reference's replacement up to rangeEnd carry the
    // reference's line.
    bool inRange = copyLine >= 0;
    long rangeLine = copyLine;
    xmlNode* rangeEnd = nullptr;
    // References and texts carry no line of their own; their parent's is
    // told instead.
    const long parentLine = std::max(xmlGetLineNo(parent), 0L);
    for (xmlNode* c = parent->children; c;) {
        if (copyLine < 0 && inRange && c == rangeEnd)
            inRange = false;
        long line = inRange ? rangeLine : xmlGetLineNo(c);
        if (line <= 0)
            line = parentLine;
        if (c->type == XML_ENTITY_REF_NODE) {
            const xmlEntity* entity = Entity(c);
            if (!entity) {
                c = c->next;
                continue;
            }
            if (!Charge(entity, line))
                return false;
            xmlNode* copies = nullptr;
            if (entity->children) {
                copies = xmlDocCopyNodeList(m_doc, entity->children);
                if (!copies)
                    return Fail("out of memory\n", line);
            }
            xmlNode* next = c->next;
            if (!inRange) {
                inRange = true;
                rangeLine = line;
                rangeEnd = next;
            }
            expanded = true;
            c = ReplaceWithList(c, copies); // the copies are walked next
            continue;
        }
        if (c->type == XML_ELEMENT_NODE) {
            if (inRange && depth + 1 > kMaxDepth)
                return Fail("the document's entities nest elements too deeply\n", line);
            if (inRange)
                TakeNamespaceInPlace(c);
            if (!Attributes(c, line) || !Children(c, depth + 1, inRange ? rangeLine : -1))
                return false;
        }
        c = c->next;
    }
    if (expanded)
        JoinTexts(parent);
    return true;
}

bool Expansion::Attributes(xmlNode* element, long line)
{
    std::string value;
    for (xmlAttr* a = element->properties; a; a = a->next) {
        const xmlNode* first = a->children;
        if (!first || (!first->next && first->type == XML_TEXT_NODE))
            continue;
        // References (and the texts between them): one text, as the value
        // reads.
        value.clear();
        if (!AttributeText(first, false, 0, line, value))
            return false;
        xmlNode* text = xmlNewDocTextLen(
            m_doc, reinterpret_cast<const xmlChar*>(value.data()), static_cast<int>(value.size()));
        if (!text)
            return Fail("out of memory\n", line);
        xmlFreeNodeList(a->children);
        text->parent = reinterpret_cast<xmlNode*>(a);
        a->children = a->last = text;
    }
    return true;
}

bool Expansion::AttributeText(const xmlNode* list, bool replacement, int nesting, long line, std::string& out)
{
    if (nesting > kMaxEntityNesting)
        return Fail("the document's entities nest too deeply\n", line);
    for (const xmlNode* k = list; k; k = k->next) {
        if (k->type == XML_TEXT_NODE || k->type == XML_CDATA_SECTION_NODE) {
            const size_t from = out.size();
            if (k->content)
                out += reinterpret_cast<const char*>(k->content);
            // White space in an entity's replacement is a blank in a value.
            for (size_t i = from; replacement && i < out.size(); ++i) {
                if (out[i] == '\t' || out[i] == '\n' || out[i] == '\r')
                    out[i] = ' ';
            }
        } else if (k->type == XML_ENTITY_REF_NODE) {
            // A reference that cannot be expanded reads as nothing, as in
            // content.
            const xmlEntity* entity = Entity(k);
            if (entity
                && (!Charge(entity, line) || !AttributeText(entity->children, true, nesting + 1, line, out)))
                return false;
        }
    }
    return true;
}

} // namespace

bool XmlExpandEntities(xmlDoc* doc, size_t budget, CSafeBuf* error)
{
    if (error)
        error->Empty();
    if (!doc || !doc->intSubset)
        return true;
    Expansion expansion(doc, budget);
    if (expansion.Children(reinterpret_cast<xmlNode*>(doc), 0, -1))
        return true;
    if (error) {
        std::string message = expansion.Reason();
        xmlError err = {};
        err.message = &message[0];
        err.line = static_cast<int>(expansion.Line());
        XmlFormatError(&err, *error);
    }
    return false;
}
