// CSrcElement: the clean-up passes that drop what the editor does not keep
// (empty and bare elements, tags and attributes outside its XHTML subset,
// scripts, empty paragraphs, undeclared custom elements).
//
// Where a pass unwraps a child, the scan goes on with the nodes that took
// the child's place: a child's fate depends only on itself and on the node
// it stands in, so this gives what starting the scan again from the first
// child would give, in one walk.

#include "document/SrcElement.h"

#include "base/text/U16.h"
#include "document/CleanXHTMLTables.h"
#include "document/SrcElementTags.h"
#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"

#include <vector>

namespace {

bool IsCustomElement(const CXHTMLServices* owner, const unsigned short* tag)
{
    const CControlServices* control = owner ? owner->m_control : nullptr;
    return control
        && (CControlServices::IsInElementList(control->CustomInlineElementsSearch, tag)
            || CControlServices::IsInElementList(control->CustomBlockElementsSearch, tag)
            || CControlServices::IsInElementList(control->CustomEmptyElementsSearch, tag));
}

// Blank, TAB, CR, LF and the no-break space only (true for no text).
bool EmptyLooking(const CSrcText& text)
{
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        const unsigned short c = s[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != 0xA0)
            return false;
    }
    return true;
}

void RemoveAttributes(CMapStringToString& attributes, bool (*doomed)(const CSafeBuf&))
{
    std::vector<CSafeBuf> names;
    CSafeBuf name, value;
    void* pos = attributes.GetStartPosition();
    while (pos) {
        attributes.GetNextAssoc(pos, name, value);
        if (doomed(name))
            names.push_back(name);
    }
    for (const CSafeBuf& n : names)
        attributes.RemoveKey(static_cast<const unsigned short*>(n));
}

// Buffers one pass over the attributes of a tree shares.
struct AttributeScratch
{
    CSafeBuf name;
    CSafeBuf value;
    std::vector<CSafeBuf> doomed;
};

bool HasUpperCase(const CSafeBuf& text)
{
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        if (s[i] >= 'A' && s[i] <= 'Z')
            return true;
    }
    return false;
}

// Whether an attribute of that (lower-case) name stays.
bool KeptAttribute(const CSafeBuf& name, bool keepClass, const char* const* valid)
{
    return CElement::IsCommonAttribute(name) || (keepClass && name == "class") || TagIn(name, valid);
}

// CorrectTagNameAndAttr over the subtree of node. Names in lower case
// already (as markup has them, mostly) leave the map as it is but for the
// attributes dropped; otherwise a new map takes the kept ones, under
// lower-case names.
void CorrectAttributes(CSrcElement* node, bool keepClass, AttributeScratch& scratch)
{
    CMapStringToString& attributes = node->m_attributes;
    if (!attributes.IsEmpty()) {
        const char* const* valid = ValidProperties(node->m_tag);
        bool upper = false;
        scratch.doomed.clear();
        void* pos = attributes.GetStartPosition();
        while (pos && !upper) {
            attributes.GetNextAssoc(pos, scratch.name, scratch.value);
            upper = HasUpperCase(scratch.name);
            if (!upper && !KeptAttribute(scratch.name, keepClass, valid))
                scratch.doomed.push_back(scratch.name);
        }
        if (!upper) {
            for (const CSafeBuf& name : scratch.doomed)
                attributes.RemoveKey(static_cast<const unsigned short*>(name));
        } else {
            CMapStringToString kept;
            pos = attributes.GetStartPosition();
            while (pos) {
                attributes.GetNextAssoc(pos, scratch.name, scratch.value);
                scratch.name.MakeLower();
                if (KeptAttribute(scratch.name, keepClass, valid))
                    kept.SetAt(scratch.name, scratch.value);
            }
            attributes = kept;
        }
    }
    for (CSrcElement* c = node->FirstChild(); c; c = c->NextSibling())
        CorrectAttributes(c, keepClass, scratch);
}

// RemoveTagWithoutAttr's test of a node.
bool IsBare(const CSrcElement* node, int mode)
{
    if (node->IsTextNode() || !node->m_attributes.IsEmpty())
        return false;
    return node->IsTag("a") || (mode == 1 && node->IsTag("span"));
}

} // namespace

bool CSrcElement::ReportsEmpty(int flags) const
{
    if (IsTextNode())
        return m_text.IsEmpty();
    if (m_firstChild || !(flags & 1))
        return false;
    if (TagIn(m_tag, {"b", "i", "u", "span", "em", "code", "abbr", "kbd", "strong"}))
        return true;
    if (!IsTag("a"))
        return false;
    // An empty anchor that names a link target (by id or by name) is kept:
    // links into the document lead to it.
    CSafeBuf id;
    if (m_attributes.Lookup("id", id) && !id.IsEmpty())
        return false;
    return !m_attributes.Lookup("name", id) || id.IsEmpty();
}

bool CSrcElement::RemoveEmptyTag(int flags)
{
    for (CSrcElement* c = m_firstChild; c;) {
        CSrcElement* next = c->m_next;
        if (c->RemoveEmptyTag(flags))
            RemoveChild(c);
        c = next;
    }
    return ReportsEmpty(flags);
}

bool CSrcElement::RemoveTagWithoutAttr(int mode)
{
    for (CSrcElement* c = m_firstChild; c;) {
        CSrcElement* next = c->m_next;
        if (c->RemoveTagWithoutAttr(mode))
            Unwrap(c);
        c = next;
    }
    return IsBare(this, mode);
}

void CSrcElement::RemoveTagWithoutAttrThenEmptyTag(int mode, int flags)
{
    // A child to unwrap brings up its children, which its own walk has
    // already rid of empty nodes; one that stays is removed when empty.
    for (CSrcElement* c = m_firstChild; c;) {
        CSrcElement* next = c->m_next;
        c->RemoveTagWithoutAttrThenEmptyTag(mode, flags);
        if (IsBare(c, mode))
            Unwrap(c);
        else if (c->ReportsEmpty(flags))
            RemoveChild(c);
        c = next;
    }
}

bool CSrcElement::RemoveNonXhtmlTag()
{
    // A comment is no tag; the control's own elements are kept whole.
    if (IsTextNode() || IsComment() || IsCustomElement(m_owner, m_tag))
        return false;
    for (CSrcElement* c = m_firstChild; c;) {
        CSrcElement* next = c->m_next;
        if (c->RemoveNonXhtmlTag())
            Unwrap(c);
        c = next;
    }
    return !(m_info && m_info->supported);
}

void CSrcElement::CorrectTagNameAndAttr(bool keepClass)
{
    AttributeScratch scratch;
    CorrectAttributes(this, keepClass, scratch);
}

void CSrcElement::RemoveWordAttr()
{
    m_attributes.RemoveKey("align");
    m_attributes.RemoveKey("valign");
    m_attributes.RemoveKey("id");
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->RemoveWordAttr();
}

bool CSrcElement::RemoveScriptInfo()
{
    if (IsTag("script"))
        return true;
    if (!m_attributes.IsEmpty())
        RemoveAttributes(m_attributes, [](const CSafeBuf& name) { return IsEventAttribute(name); });
    for (CSrcElement* c = m_firstChild; c;) {
        if (c->IsTag("noscript")) {
            c = Unwrap(c);
            continue;
        }
        CSrcElement* next = c->m_next;
        if (c->RemoveScriptInfo())
            RemoveChild(c);
        c = next;
    }
    return false;
}

void CSrcElement::RemoveEmptyParagraph()
{
    if (IsTag("p"))
        return;
    for (CSrcElement* c = m_firstChild; c;) {
        CSrcElement* next = c->m_next;
        if (c->IsTag("p")) {
            bool empty = true;
            for (CSrcElement* g = c->m_firstChild; g && empty; g = g->m_next)
                empty = g->IsTextNode() && EmptyLooking(g->m_text);
            if (empty)
                RemoveChild(c);
        } else {
            c->RemoveEmptyParagraph();
        }
        c = next;
    }
}

void CSrcElement::CleanCustomTag(const CSafeBuf& list)
{
    for (CSrcElement* c = m_firstChild; c;) {
        const int kind = c->ElementType();
        if ((kind & kOther) && !c->IsComment() && !CControlServices::IsInElementList(list, c->m_tag)) {
            if (!(kind & kBlock)) {
                c = Unwrap(c);
                continue;
            }
            c->SetTag("div");
        }
        c = c->m_next;
    }
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->CleanCustomTag(list);
}
