// The element factory: one row per known tag, and the custom element rules.

#include "element/factory/ElementFactory.h"

#include "base/text/U16.h"
#include "element/Element.h"
#include "element/factory/TagTables.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "elements/AElement.h"
#include "elements/BRElement.h"
#include "elements/CommentElement.h"
#include "elements/CustomElement.h"
#include "elements/DLElement.h"
#include "elements/DivElement.h"
#include "elements/HRElement.h"
#include "elements/HolderElement.h"
#include "elements/ImageElement.h"
#include "elements/LIElement.h"
#include "elements/OtherElement.h"
#include "elements/ScriptElement.h"
#include "elements/SpecialElement.h"
#include "elements/TBodyElement.h"
#include "elements/TDElement.h"
#include "elements/TRElement.h"
#include "elements/TableElement.h"
#include "elements/TextElement.h"
#include "elements/ULElement.h"
#include "style/cascade/DefaultStyle.h"
#include "style/records/FontDefaults.h"

#include <memory>
#include <new>
#include <vector>

namespace {

enum class Class
{
    Element,
    Text,
    A,
    BR,
    Comment,
    Script,
    Holder,
    Div,
    HR,
    Other,
    Special,
    Image,
    Table,
    TR,
    TD,
    TBody,
    UL,
    LI,
    DL
};

enum Flag : unsigned
{
    kBlock = 1u << 0,
    kInline = 1u << 1,
    kLineBox = 1u << 2,
    kCanWrap = 1u << 3,
    kList = 1u << 4,
    kDefList = 1u << 5,
    kHeading = 1u << 6,
    kTablePart = 1u << 7,
    kTableCell = 1u << 8,
    kSelectable = 1u << 9,
    kContent2 = 1u << 10,
    kEdgeCaret = 1u << 11,
    kBreakAfter = 1u << 12,
    kNoChild = 1u << 13,
    kNoContainer = 1u << 14, // the container flag is cleared
    kNoWrap = 1u << 15,      // the can-wrap flag is cleared
    kBaseURL = 1u << 16,     // the element gets an empty base URL string
    kCaption = 1u << 17      // caption side 2
};

constexpr unsigned kAsSpan = kInline | kCanWrap | kNoContainer;
constexpr unsigned kAsMap = kInline | kNoWrap | kNoContainer;
constexpr int kSpacing = kBaseFontSize + 3; // the paragraph spacing
constexpr int kNone = -1;                   // a margin the row leaves unset

struct Row
{
    const char* tag;
    Class cls;
    long kind;
    unsigned flags;
    int left, top, right, bottom;
};

const Row kRows[] = {
    {"p", Class::Element, kKindP, kBlock | kLineBox, 0, kSpacing, 0, kSpacing},
    {"pre", Class::Element, kKindPre, kBlock | kLineBox | kContent2 | kEdgeCaret, 0, kSpacing, 0, kSpacing},
    {"address", Class::Element, kKindAddress, kBlock | kLineBox, 0, 0, 0, 0},
    {"a", Class::A, kKindA, kInline | kCanWrap, kNone, kNone, kNone, kNone},
    {"hr", Class::HR, kKindHr, kBlock | kEdgeCaret, 0, 0, 0, 0},
    {"ul", Class::UL, kKindUl, kBlock | kList | kEdgeCaret, 50, kSpacing, 0, kSpacing},
    {"ol", Class::UL, kKindOl, kBlock | kList | kEdgeCaret, 50, kSpacing, 0, kSpacing},
    {"li", Class::LI, kKindLi, kBlock, kNone, kNone, kNone, kNone},
    {"dl", Class::DL, kKindDl, kBlock | kDefList | kEdgeCaret, 0, kSpacing, 0, kSpacing},
    {"dd", Class::Element, kKindDd, kBlock | kSelectable | kContent2 | kBreakAfter, 40, 0, 0, 0},
    {"dt", Class::Element, kKindDt, kBlock | kSelectable | kContent2 | kBreakAfter, kNone, kNone, kNone,
        kNone},
    {"table", Class::Table, kKindTable, kBlock | kTablePart | kEdgeCaret, kNone, kNone, kNone, kNone},
    {"tr", Class::TR, kKindTr, kBlock | kTablePart, kNone, kNone, kNone, kNone},
    {"td", Class::TD, kKindTd, kBlock | kTablePart | kTableCell, kNone, kNone, kNone, kNone},
    {"th", Class::TD, kKindTh, kBlock | kTablePart | kTableCell, kNone, kNone, kNone, kNone},
    {"body", Class::Element, kKindBody, kBlock | kContent2 | kBaseURL, kNone, kNone, kNone, kNone},
    {"span", Class::Element, kKindSpan, kAsSpan, kNone, kNone, kNone, kNone},
    {"b", Class::Element, kKindB, kAsSpan, kNone, kNone, kNone, kNone},
    {"small", Class::Element, kKindB, kAsSpan, kNone, kNone, kNone, kNone},
    {"big", Class::Element, kKindB, kAsSpan, kNone, kNone, kNone, kNone},
    {"bdo", Class::Element, kKindBdo, kAsSpan, kNone, kNone, kNone, kNone},
    {"i", Class::Element, kKindI, kAsSpan, kNone, kNone, kNone, kNone},
    {"em", Class::Element, kKindEm, kAsSpan, kNone, kNone, kNone, kNone},
    {"strong", Class::Element, kKindStrong, kAsSpan, kNone, kNone, kNone, kNone},
    {"sub", Class::Element, kKindSub, kAsSpan, kNone, kNone, kNone, kNone},
    {"sup", Class::Element, kKindSup, kAsSpan, kNone, kNone, kNone, kNone},
    {"abbr", Class::Element, kKindAbbr, kAsSpan, kNone, kNone, kNone, kNone},
    {"acronym", Class::Element, kKindAbbr + 1, kAsSpan, kNone, kNone, kNone, kNone},
    {"cite", Class::Element, kKindAbbr + 2, kAsSpan, kNone, kNone, kNone, kNone},
    {"code", Class::Element, kKindAbbr + 3, kAsSpan, kNone, kNone, kNone, kNone},
    {"dfn", Class::Element, kKindAbbr + 4, kAsSpan, kNone, kNone, kNone, kNone},
    {"kbd", Class::Element, kKindAbbr + 5, kAsSpan, kNone, kNone, kNone, kNone},
    {"samp", Class::Element, kKindAbbr + 6, kAsSpan, kNone, kNone, kNone, kNone},
    {"var", Class::Element, kKindVar, kAsSpan, kNone, kNone, kNone, kNone},
    {"colgroup", Class::Element, kKindColgroup, kNoContainer, kNone, kNone, kNone, kNone},
    {"col", Class::Element, kKindCol, 0, kNone, kNone, kNone, kNone},
    {"h1", Class::Element, kKindH1, kBlock | kLineBox | kHeading, 0, kSpacing, 0, kSpacing},
    {"h2", Class::Element, kKindH1 + 1, kBlock | kLineBox | kHeading, 0, kSpacing, 0, kSpacing},
    {"h3", Class::Element, kKindH1 + 2, kBlock | kLineBox | kHeading, 0, kSpacing, 0, kSpacing},
    {"h4", Class::Element, kKindH1 + 3, kBlock | kLineBox | kHeading, 0, kSpacing, 0, kSpacing},
    {"h5", Class::Element, kKindH1 + 4, kBlock | kLineBox | kHeading, 0, kSpacing, 0, kSpacing},
    {"h6", Class::Element, kKindH6, kBlock | kLineBox | kHeading, 0, kSpacing, 0, kSpacing},
    {"caption", Class::Element, kKindCaption, kBlock | kLineBox | kTablePart | kCaption, 0, 0, 0, 8},
    {"blockquote", Class::Element, kKindBlockquote, kBlock | kLineBox | kEdgeCaret, 40, kSpacing, 40,
        kSpacing},
    {"tbody", Class::TBody, kKindTbody, kBlock | kTablePart, kNone, kNone, kNone, kNone},
    {"thead", Class::TBody, kKindThead, kBlock | kTablePart, kNone, kNone, kNone, kNone},
    {"tfoot", Class::TBody, kKindTfoot, kBlock | kTablePart, kNone, kNone, kNone, kNone},
    {"center", Class::Other, kKindCenter, kLineBox, kNone, kNone, kNone, kNone},
    {"div", Class::Div, kKindDiv, kBlock | kLineBox | kEdgeCaret, 0, 0, 0, 0},
    {"form", Class::Div, kKindForm, kBlock | kLineBox | kEdgeCaret, 0, 0, 0, 0},
    {"fieldset", Class::Div, kKindFieldset, kBlock | kLineBox | kEdgeCaret, 0, 0, 0, 0},
    {"q", Class::Special, kKindQ, kInline | kCanWrap, kNone, kNone, kNone, kNone},
    {"br", Class::BR, kKindBr, kBreakAfter | kNoChild, kNone, kNone, kNone, kNone},
    {"img", Class::Image, kKindImg, kEdgeCaret, kNone, kNone, kNone, kNone},
    {"script", Class::Script, kKindScript, kAsSpan, kNone, kNone, kNone, kNone},
    {"noscript", Class::Script, kKindNoscript, kAsSpan, kNone, kNone, kNone, kNone},
    {"_comment_", Class::Comment, kKindComment, kAsSpan, kNone, kNone, kNone, kNone},
    {"map", Class::Holder, kKindMap, kAsMap, kNone, kNone, kNone, kNone},
    {"object", Class::Holder, kKindObject, kAsMap, kNone, kNone, kNone, kNone},
    {"input", Class::Holder, kKindFormControl, kAsMap, kNone, kNone, kNone, kNone},
    {"textarea", Class::Holder, kKindFormControl, kAsMap, kNone, kNone, kNone, kNone},
    {"select", Class::Holder, kKindFormControl, kAsMap, kNone, kNone, kNone, kNone},
    {"option", Class::Holder, kKindFormControl, kAsMap, kNone, kNone, kNone, kNone},
    {"optgroup", Class::Holder, kKindFormControl, kAsMap, kNone, kNone, kNone, kNone},
    {"button", Class::Holder, kKindFormControl, kAsMap, kNone, kNone, kNone, kNone},
};

// The rows sorted by the low five bits of the first two units of their tag
// (the second is 0 for a tag of one letter), each bucket in table order: a
// look-up compares the one or two tags that can match, not the whole table.
constexpr int kBucketBits = 5;
constexpr unsigned kBucketMask = (1u << kBucketBits) - 1;

unsigned BucketOf(const unsigned short* tag)
{
    const unsigned second = tag[0] ? tag[1] : 0;
    return ((tag[0] & kBucketMask) << kBucketBits) | (second & kBucketMask);
}

constexpr size_t kRowCount = sizeof kRows / sizeof kRows[0];

// The index of the rows, and a handle of each row's tag name that the
// elements of the row share (no look-up in the table of names for each).
struct RowIndex
{
    std::vector<const Row*> buckets[1u << (2 * kBucketBits)];
    CTagName names[kRowCount];

    RowIndex()
    {
        for (size_t i = 0; i < kRowCount; ++i) {
            const CSafeBuf wide(reinterpret_cast<const unsigned char*>(kRows[i].tag));
            buckets[BucketOf(wide)].push_back(&kRows[i]);
            names[i].Assign(wide, wide.Length());
        }
    }
};

const RowIndex& Index()
{
    static const RowIndex index;
    return index;
}

const Row* FindRow(const RowIndex& index, const unsigned short* tag)
{
    for (const Row* row : index.buckets[BucketOf(tag)]) {
        if (U16cmp(tag, row->tag) == 0)
            return row;
    }
    return nullptr;
}

CElement* Construct(Class cls, STYLE_CLASS* rules)
{
    switch (cls) {
    case Class::Text: return new CTextElement(rules);
    case Class::A: return new CAElement(rules);
    case Class::BR: return new CBRElement(rules);
    case Class::Comment: return new CCommentElement(rules);
    case Class::Script: return new CScriptElement(rules);
    case Class::Holder: return new CHolderElement(rules);
    case Class::Div: return new CDivElement(rules);
    case Class::HR: return new CHRElement(rules);
    case Class::Other: return new COtherElement(rules);
    case Class::Special: return new CSpecialElement(rules);
    case Class::Image: return new CImageElement(rules);
    case Class::Table: return new CTableElement(rules);
    case Class::TR: return new CTRElement(rules);
    case Class::TD: return new CTDElement(rules);
    case Class::TBody: return new CTBodyElement(rules);
    case Class::UL: return new CULElement(rules);
    case Class::LI: return new CLIElement(rules);
    case Class::DL: return new CDLElement(rules);
    case Class::Element: break;
    }
    return new CElement(rules);
}

// The flag bytes set by the bits kBlock to kNoChild, in bit order.
unsigned char CElementFields::*const kFlagBytes[] = {&CElementFields::m_block, &CElementFields::m_inline,
    &CElementFields::m_lineBox, &CElementFields::m_canWrap, &CElementFields::m_list,
    &CElementFields::m_defList, &CElementFields::m_heading, &CElementFields::m_tablePart,
    &CElementFields::m_tableCell, &CElementFields::m_selectable, &CElementFields::m_contentFlag2,
    &CElementFields::m_edgeCaret, &CElementFields::m_breakAfter, &CElementFields::m_noChild};
constexpr unsigned kFlagByteBits = (1u << (sizeof kFlagBytes / sizeof kFlagBytes[0])) - 1;
static_assert(kFlagByteBits == (kNoChild << 1) - 1, "one flag byte for each bit up to kNoChild");

void ApplyRow(CElement* e, const Row& row)
{
    unsigned f = row.flags;
    e->m_kind = row.kind;
    // Only the row's own flags are written (a row has a few): the others
    // keep what the constructor gave them.
    for (unsigned set = f & kFlagByteBits; set; set &= set - 1)
        e->*kFlagBytes[__builtin_ctz(set)] = 1;
    if (f & kNoContainer)
        e->m_container = 0;
    if (f & kNoWrap)
        e->m_canWrap = 0;
    if (f & kBaseURL)
        e->EditRare().m_baseURL = std::make_unique<CSafeBuf>();
    if (f & kCaption)
        e->m_captionSide = 2;
    e->SetMargin(row.left, row.top, row.right, row.bottom);
}

// A custom element: empty when listed in CustomEmptyElements; block or inline
// by CustomBlockElements unless it is an XHTML tag that is not inline by
// nature.
void ApplyCustomRules(CCustomElement* e, const unsigned short* tag, const CControlServices* control)
{
    if (control && CControlServices::IsInElementList(control->CustomEmptyElementsSearch, tag))
        e->SetNoChildElementType();
    SetDefaultStyle(tag, e);
    if (!IsTagInList(XHTMLTags, tag) || IsTagInList(InlineTags, tag)) {
        if (control && CControlServices::IsInElementList(control->CustomBlockElementsSearch, tag)) {
            e->m_block = 1;
            e->m_lineBox = 1;
        } else {
            e->m_inline = 1;
            e->m_canWrap = 1;
        }
        e->m_container = 0;
    }
    e->m_isSubDocument = control && control->IsSubdocumentTag(tag);
}

thread_local CImagesMade* t_imagesMade = nullptr;

CElement* Create(const unsigned short* tag, STYLE_CLASS* rules, CElement* root, CXHTMLServices* owner)
{
    static const unsigned short kEmpty[] = {0};
    if (!tag)
        tag = kEmpty;
    CControlServices* control = owner ? owner->m_control : nullptr;
    const RowIndex* index = *tag ? &Index() : nullptr;
    const Row* row = index ? FindRow(*index, tag) : nullptr;
    std::unique_ptr<CElement> e;
    if (!*tag) {
        e.reset(new CTextElement(rules));
    } else if (row) {
        e.reset(Construct(row->cls, rules));
        ApplyRow(e.get(), *row);
        SetDefaultStyle(index->names[row - kRows], e.get());
    } else {
        CCustomElement* custom = new CCustomElement(rules);
        e.reset(custom);
        ApplyCustomRules(custom, tag, control);
    }
    e->m_owner = owner;
    e->m_root = e->m_kind == kKindBody ? e.get() : root;
    // A text run keeps the empty name it was made with, and an element
    // without a name matches no rule: it needs neither.
    if (row)
        e->SetTagName(index->names[row - kRows], true);
    else if (*tag)
        e->SetTagName(tag, true);
    if (owner)
        owner->m_doc.m_registry.Register(e.get());
    CImagesMade::Note(e.get());
    return e.release();
}

} // namespace

CImagesMade::CImagesMade() : m_outer(t_imagesMade) { t_imagesMade = this; }

CImagesMade::~CImagesMade() { t_imagesMade = m_outer; }

void CImagesMade::Note(const CElement* e)
{
    if (e->m_kind != kKindImg)
        return;
    for (CImagesMade* scope = t_imagesMade; scope; scope = scope->m_outer)
        scope->m_ids.push_back(e->GetID());
}

CElement* CreateElement(const unsigned short* tag, STYLE_CLASS* rules, CElement* root, CXHTMLServices* owner)
{
    CElement* e = nullptr;
    try {
        e = Create(tag, rules, root, owner);
    } catch (const std::bad_alloc&) {
        e = nullptr;
    }
    return e;
}

CElement* CreateElement(const char* tag, STYLE_CLASS* rules, CElement* root, CXHTMLServices* owner)
{
    CSafeBuf wide(reinterpret_cast<const unsigned char*>(tag ? tag : ""));
    return CreateElement(static_cast<const unsigned short*>(wide), rules, root, owner);
}

int GetCodePage(const unsigned short* language)
{
    static const unsigned short kChinese[] = {'c', 'n', 0};
    return language && U16cmp(language, kChinese) == 0 ? 936 : 0;
}
