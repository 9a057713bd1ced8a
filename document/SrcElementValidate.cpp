// CSrcElement: which children a node may hold (ValidateDoc), and the
// unwrapping passes RemoveTags and RemoveTopSingleEle.

#include "document/SrcElement.h"

#include "document/SrcElementTags.h"

#include "base/text/U16.h"

#include <initializer_list>
#include <vector>

namespace {

// A node's rule on its children.
struct ChildRule
{
    enum Kind
    {
        None,
        AllowTags,
        Kinds,
        OnlyInline,
        OnlyText,
        UnwrapAll
    } kind
        = None;
    const char* const* tags = nullptr;   // AllowTags: the tags kept
    const char* const* unwrap = nullptr; // unwrapped before the rule is applied
    int kinds = 0;                       // Kinds: a child is kept when its kind has one of these bits
};

const char* const kTableChildren[] = {"caption", "tbody", "thead", "tfoot", "tr", "col", "colgroup", nullptr};
const char* const kNotInPre[] = {"img", "object", "big", "small", "sub", "sup", nullptr};
const char* const kDefinitionParts[] = {"dt", "dd", nullptr};
const char* const kColumns[] = {"col", nullptr};
const char* const kRows[] = {"tr", nullptr};
const char* const kCells[] = {"td", "th", nullptr};
const char* const kLinks[] = {"a", nullptr};
const char* const kLabels[] = {"label", nullptr};
const char* const kNotInButton[]
    = {"button", "input", "label", "select", "textarea", "form", "fieldset", nullptr};
const char* const kOptions[] = {"option", "optgroup", nullptr};

constexpr int kInlineOrText = CSrcElement::kInline | CSrcElement::kText;
// Kinds whose content stands on lines of its own.
constexpr int kOnOwnLines = CSrcElement::kBlock | CSrcElement::kHeading | CSrcElement::kList;

bool IsBlankUnit(unsigned short u) { return u <= ' ' || u == 0xA0; }

// From node n on, towards the start of the children (before) or their end,
// the first node that is not a script, style element or comment (they show
// no words), nor white space when blanks: null when there is none.
const CSrcElement* PastWordless(const CSrcElement* n, bool before, bool blanks)
{
    while (n
        && (n->IsKeptWhole() || n->IsComment()
            || (blanks && n->IsTextNode() && !CSrcElement::IsValidText(n->m_text))))
        n = before ? n->PreviousSibling() : n->NextSibling();
    return n;
}

// Whether node n, beside an unwrapped block on that side (before it when
// before), leaves the block's words apart from those there, past scripts,
// style elements and comments: nothing there, a line break, or a text
// ending (or starting) in white space.
bool KeepsApart(const CSrcElement* n, bool before)
{
    n = PastWordless(n, before, false);
    if (!n || n->IsTag("br"))
        return true;
    if (!n->IsTextNode())
        return false;
    const int length = n->m_text.Length();
    if (!length)
        return true;
    const unsigned short* text = n->m_text;
    return IsBlankUnit(before ? text[length - 1] : text[0]);
}

// Whether a line ends (or starts) at node n, beside an unwrapped block on
// that side (before it when before), past what shows no words (white space
// too): nothing there, or a line break.
bool EndsLine(const CSrcElement* n, bool before)
{
    n = PastWordless(n, before, true);
    return !n || n->IsTag("br");
}

// The rule a tag's name gives; matched false when the name gives none, and
// the node's kind decides.
struct TagRule
{
    ChildRule rule;
    bool matched = true;
};

TagRule RuleForTag(const unsigned short* tag)
{
    TagRule found;
    ChildRule& rule = found.rule;
    if (TagIn(tag, {"table"})) {
        rule.kind = ChildRule::AllowTags;
        rule.tags = kTableChildren;
    } else if (TagIn(tag, {"p", "address"})) {
        rule.kind = ChildRule::OnlyInline;
    } else if (TagIn(tag, {"pre"})) {
        rule.kind = ChildRule::OnlyInline;
        rule.unwrap = kNotInPre;
    } else if (TagIn(tag, {"hr", "img", "br", "input", "col"})) {
        rule.kind = ChildRule::UnwrapAll;
    } else if (TagIn(tag, {"ul", "ol", "object", "map", "del", "ins"})) {
        rule.kind = ChildRule::None;
    } else if (TagIn(tag, {"dl"})) {
        rule.kind = ChildRule::AllowTags;
        rule.tags = kDefinitionParts;
    } else if (TagIn(tag, {"dt", "caption"})) {
        rule.kind = ChildRule::OnlyInline;
    } else if (TagIn(tag, {"dd", "li", "noscript"})) {
        rule.kind = ChildRule::Kinds;
        rule.kinds = CSrcElement::kInline | CSrcElement::kBlock | CSrcElement::kHeading | CSrcElement::kList
            | CSrcElement::kText;
    } else if (TagIn(tag, {"colgroup"})) {
        rule.kind = ChildRule::AllowTags;
        rule.tags = kColumns;
    } else if (TagIn(tag, {"thead", "tbody", "tfoot"})) {
        rule.kind = ChildRule::AllowTags;
        rule.tags = kRows;
    } else if (TagIn(tag, {"tr"})) {
        rule.kind = ChildRule::AllowTags;
        rule.tags = kCells;
    } else if (TagIn(tag, {"a"})) {
        rule.kind = ChildRule::OnlyInline;
        rule.unwrap = kLinks;
    } else if (TagIn(tag, {"label"})) {
        rule.kind = ChildRule::OnlyInline;
        rule.unwrap = kLabels;
    } else if (TagIn(tag, {"button"})) {
        rule.unwrap = kNotInButton;
    } else if (TagIn(tag, {"select"})) {
        rule.kind = ChildRule::AllowTags;
        rule.tags = kOptions;
    } else if (TagIn(tag, {"textarea", "script"})) {
        rule.kind = ChildRule::OnlyText;
    } else {
        found.matched = false;
    }
    return found;
}

ChildRule RuleFor(CSrcElement* node)
{
    // An XHTML tag's rule is worked out once, kept by the tag's index.
    static const std::vector<TagRule> byTag = [] {
        std::vector<TagRule> rules(static_cast<size_t>(SrcTagCount()));
        for (int i = 0; i < SrcTagCount(); ++i)
            rules[static_cast<size_t>(i)] = RuleForTag(SrcTagAt(i)->wide);
        return rules;
    }();
    TagRule found = node->m_info ? byTag[static_cast<size_t>(node->m_info->index)] : RuleForTag(node->m_tag);
    if (!found.matched && (node->ElementType() & (CSrcElement::kInline | CSrcElement::kHeading)))
        found.rule.kind = ChildRule::OnlyInline;
    return found.rule;
}

} // namespace

void CSrcElement::ValidateDoc()
{
    if (IsComment())
        return;
    if (!IsTextNode())
        ValidateChildren();
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->ValidateDoc();
}

void CSrcElement::ValidateChildren()
{
    const ChildRule rule = RuleFor(this);
    if (rule.kind == ChildRule::UnwrapAll && m_parent) {
        // An element that holds nothing (a break, a picture, a rule) gives
        // what was written inside it to its parent, after it: the document
        // keeps no content there, and a text unwrapped in place would be
        // lost.
        MoveChildrenTo(this, m_parent, this);
        return;
    }
    if (IsTag("table"))
        RelocateChild("caption");
    for (CSrcElement* c = m_firstChild; c;) {
        bool keep = true;
        if (c->IsKeptWhole()) {
            keep = true;
        } else if (TagIn(c->m_tag, rule.unwrap)) {
            keep = false;
        } else {
            const int kind = c->ElementType();
            switch (rule.kind) {
            case ChildRule::None: break;
            case ChildRule::AllowTags: keep = TagIn(c->m_tag, rule.tags); break;
            case ChildRule::Kinds: keep = (kind & rule.kinds) != 0; break;
            case ChildRule::OnlyText: keep = c->IsTextNode(); break;
            case ChildRule::UnwrapAll: keep = false; break;
            case ChildRule::OnlyInline:
                keep = (kind & kInlineOrText) != 0;
                if (!keep && (kind & kOther) && (kind & kBlock)) {
                    // An element of the page's own that holds blocks stays,
                    // without them.
                    c->RemoveTags(kBlock);
                    keep = true;
                }
                break;
            }
        }
        // A text has nothing to put in its place: unwrapped, it would be
        // lost. White space between the parts goes; words stay where they
        // are written (the document reads them there).
        if (!keep && c->IsTextNode() && IsValidText(c->m_text))
            keep = true;
        if (keep) {
            c = c->m_next;
            continue;
        }
        if (rule.kind == ChildRule::OnlyInline && !c->IsTextNode() && (c->ElementType() & kOnOwnLines))
            SpaceAroundBlock(c);
        c = Unwrap(c);
    }
}

// A block's words stand on lines apart from those around it: unwrapped
// among inline content (a division in a link), its first and last words
// would join the ones beside it. In a caption, which holds only inline
// content, its lines stay lines: line breaks keep them apart, as Return in
// a caption makes them.
void CSrcElement::SpaceAroundBlock(CSrcElement* child)
{
    if (!child->m_firstChild)
        return;
    const bool lines = IsTag("caption");
    auto separate = [this, lines](CSrcElement* before) {
        CSrcElement* separator = lines ? NewElement("br") : NewNode();
        if (!lines)
            separator->m_text = " ";
        InsertChild(separator, before);
    };
    if (lines ? !EndsLine(child->m_previous, true) : !KeepsApart(child->m_previous, true))
        separate(child);
    if (lines ? !EndsLine(child->m_next, false) : !KeepsApart(child->m_next, false))
        separate(child->m_next);
}

void CSrcElement::RemoveTags(int mask, const char* tag)
{
    for (CSrcElement* c = m_firstChild; c;) {
        // A script or style element stays whole, as the children's rules
        // keep it anywhere.
        if ((c->ElementType() & mask) && !c->IsKeptWhole()) {
            if (tag && c != m_firstChild)
                InsertChild(NewElement(tag), c);
            else if (!tag && (c->ElementType() & kOnOwnLines))
                SpaceAroundBlock(c);
            c = Unwrap(c);
            continue;
        }
        c->RemoveTags(mask, nullptr);
        c = c->m_next;
    }
}

// While the node has exactly one child N, N is unwrapped unless it is text,
// an "other" element, an inline element that carries meaning of its own, a
// selected division, or a list or table with more than one child (a table
// also with more than one cell).
void CSrcElement::RemoveTopSingleEle(bool* unwrappedPre)
{
    if (unwrappedPre)
        *unwrappedPre = false;
    while (m_childCount == 1) {
        CSrcElement* n = m_firstChild;
        if (n->IsTextNode() || (n->ElementType() & kOther))
            return;
        if (TagIn(n->m_tag,
                {"b", "i", "u", "span", "a", "em", "strong", "img", "br", "hr", "script", "noscript", "map",
                    "object", "col", "button"}))
            return;
        CSafeBuf selected;
        if (n->IsTag("div") && n->m_attributes.Lookup("divselected", selected) && selected == "yes")
            return;
        if (TagIn(n->m_tag, {"ul", "ol", "dl", "table"})) {
            if (n->m_childCount != 1)
                return;
            if (n->IsTag("table")) {
                CPtrList cells;
                n->GetCurrentTDs(cells);
                if (cells.GetCount() > 1)
                    return;
            }
        }
        if (unwrappedPre && n->IsTag("pre"))
            *unwrappedPre = true;
        Unwrap(n);
    }
}
