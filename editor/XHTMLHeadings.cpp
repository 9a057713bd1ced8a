// Block formats: the block around an element becomes a paragraph, a
// heading, an address or a pre, takes a style item's attributes, is
// wrapped in a new block (indent) or loses the block around it (outdent).

#include "editor/XHTML.h"

#include "editor/StyleBarItem.h"
#include "editor/StyleItemAttributes.h"
#include "element/EdgeBlanks.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/ElementUtilities.h"
#include "element/ValidateTree.h"
#include "element/factory/ElementFactory.h"
#include "elements/TypingTree.h"

#include <vector>

namespace {

constexpr int kModeToggle = 0;
constexpr int kModeApply = 1;
constexpr int kModeRemove = 2;
constexpr int kModeIndent = 3;
constexpr int kModeOutdent = 4;

constexpr int kCodeP = 1;
constexpr int kCodeH1 = 2;
constexpr int kCodeH6 = 7;
constexpr int kCodeBlockquote = 8;
constexpr int kCodeDiv = 9;
constexpr int kCodeAddress = 10;
constexpr int kCodePre = 11;

// With this option a div counts as a block format of its own.
constexpr int kOptionDivIsFormat = 2048;

const char* TagOfBlockCode(int code)
{
    static const char* const kHeadings[] = {"h1", "h2", "h3", "h4", "h5", "h6"};
    if (code >= kCodeH1 && code <= kCodeH6)
        return kHeadings[code - kCodeH1];
    switch (code) {
    case kCodeP: return "p";
    case kCodeBlockquote: return "blockquote";
    case kCodeDiv: return "div";
    case kCodeAddress: return "address";
    case kCodePre: return "pre";
    default: return nullptr;
    }
}

// The block code of b; 0 when b is no block format (a div only with
// divCounts).
int CodeOfBlock(const CElement* b, bool divCounts)
{
    if (IsHeadingKind(b->m_kind))
        return static_cast<int>(b->m_kind - kKindH1) + kCodeH1;
    switch (b->m_kind) {
    case kKindP: return kCodeP;
    case kKindBlockquote: return kCodeBlockquote;
    case kKindDiv: return divCounts ? kCodeDiv : 0;
    case kKindAddress: return kCodeAddress;
    case kKindPre: return kCodePre;
    default: return 0;
    }
}

int BlockChildCount(const CElement* e)
{
    int n = 0;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += c->m_block ? 1 : 0;
    return n;
}

bool HoldsSelection(const CElement* e) { return e->m_selected || e->HaveSelectedChild(); }

// The element made for a block code with the item's attributes.
CElement* MakeBlock(int code, CElement* parent, const STYLE_BAR_ITEM* item)
{
    CElement* made = NewElement(TagOfBlockCode(code), parent);
    GiveItemAttributes(made, item);
    return made;
}

// Every attribute of e replaced by those of item.
void ReplaceAttributes(CElement* e, const STYLE_BAR_ITEM* item)
{
    std::vector<CSafeBuf> names;
    for (void* pos = e->m_attributes.GetStartPosition(); pos;) {
        CSafeBuf name, value;
        e->m_attributes.GetNextAssoc(pos, name, value);
        names.push_back(name);
    }
    for (const CSafeBuf& name : names)
        e->SetAttrString(
            static_cast<const unsigned short*>(name), static_cast<const unsigned short*>(nullptr));
    GiveItemAttributes(e, item);
    e->StyleChanged(1);
}

// Where the walk up from an element ends: the block format it lies in
// (current, with its code) or the first other block (target).
struct BlockWalk
{
    int current = 0;
    CElement* block = nullptr; // the block the walk ended at; null at the top
    bool convertible = false;
};

BlockWalk WalkBlocks(const CElement* element, int code, int mode, const STYLE_BAR_ITEM* item, bool divCounts)
{
    BlockWalk walk;
    for (CElement* b = element->m_parent; b; b = b->m_parent) {
        if (!b->m_block)
            continue;
        const int own = CodeOfBlock(b, divCounts);
        if (own && ItemAttributesMatch(b, item)) {
            if (code == kCodeBlockquote && own != kCodeBlockquote)
                continue;
            walk.current = own;
        } else if (code == kCodeBlockquote && mode == kModeOutdent) {
            continue;
        }
        walk.block = b;
        if (code == kCodeDiv)
            walk.convertible = !b->m_tableCell && b->m_kind != kKindLi;
        else if (IsTextBlockKind(b->m_kind) && CodeOfBlock(b, false) != code)
            walk.convertible = true;
        return walk;
    }
    return walk;
}

} // namespace

void CXHTML::ConvertBlock(CElement* block, CElement* made)
{
    CElement* parent = block->m_parent;
    if (!parent->InsertChild(made, block->GetID(), false)) {
        parent->RemoveCurrentChildFromList(made);
        delete made;
        return;
    }
    made->CopyFromParent(parent, 1);
    block->MoveChildrenTo(made, 0, true, 0, 0);
    // Out of a pre, the breaks that stand for its line ends stay as line
    // breaks of the new block, so that its lines do not run together; they
    // lose their mark, which wrote them as bare line ends (read back as
    // blanks). Its text is white space as in any other block.
    // Blanks at the edges of its text are read away in any block but a
    // pre: those of a pre laid its lines out and go with it, any other is
    // held as a no-break space.
    if (block->m_kind == kKindPre && made->m_kind != kKindPre) {
        ValidateTextChildFromPre(made, 2);
        DropEdgeBlanks(made);
    }
    HoldEdgeBlanks(made);
    // An empty block holds the no-break space an empty paragraph reads
    // with (a p writes its own): written empty, a heading or the like is
    // dropped when the value is cleaned.
    if (made->m_kind != kKindP && made->m_firstChild && OnlyEmptyRuns(made)) {
        const unsigned short filler[] = {0x00A0, 0};
        made->m_firstChild->m_text = filler;
    }
    if (m_doc.m_selectionPresent)
        made->SelectAllChildren(true);
    parent->RemoveChild(block->GetID(), true, false);
    made->StyleChanged(1);
}

int CXHTML::ProcessHeading(int code, CElement* element, int mode, STYLE_BAR_ITEM* item)
{
    CElement* root = m_doc.m_root;
    if (!element || !root || !m_doc.IsElementInTree(element) || !TagOfBlockCode(code))
        return 0;
    const bool divCounts = (Options() & kOptionDivIsFormat) != 0;
    int result = 0;

    // A block of the code's kind without the item's attributes takes them.
    if (mode == kModeToggle || mode == kModeApply) {
        for (CElement* b = element->m_parent; b; b = b->m_parent) {
            if (!b->m_block || CodeOfBlock(b, true) != code || ItemAttributesMatch(b, item))
                continue;
            if (CElement* made = MakeBlock(code, b->m_parent, item)) {
                ConvertBlock(b, made);
                result = 1;
            }
            break;
        }
    }

    const BlockWalk walk = result ? BlockWalk{} : WalkBlocks(element, code, mode, item, divCounts);
    // makeCode: a new block of that code replaces replace.
    int makeCode = 0;
    CElement* replace = nullptr;
    if (result) {
        // done above
    } else if (mode == kModeToggle || mode == kModeApply) {
        if (walk.current != code) {
            makeCode = code;
            replace = walk.convertible ? walk.block : nullptr;
        } else if (mode == kModeToggle && code != kCodeP) {
            makeCode = kCodeP;
            replace = walk.block;
        } else if (mode == kModeApply || walk.block->m_parent == root) {
            ReplaceAttributes(walk.block, item);
            result = 1;
        }
    } else if (mode == kModeRemove) {
        if (walk.current == code && code != kCodeP) {
            makeCode = kCodeP;
            replace = walk.block;
        } else if (walk.current == code) {
            for (const ATTRIBUTE_ITEM* a = item ? item->attributes : nullptr; a; a = a->next)
                walk.block->SetAttrString(a->name, static_cast<const unsigned short*>(nullptr));
            walk.block->StyleChanged(1);
            result = 1;
        }
    } else if (mode == kModeIndent) {
        if (walk.convertible) {
            makeCode = code;
            replace = walk.block;
        } else if (CElement* made = CreateElement(TagOfBlockCode(code), root->m_rules, root, this)) {
            GiveItemAttributes(made, item);
            if (element->MoveElementAndParentTo(made)) {
                made->SelectAllChildren(true);
                m_doc.m_selectionPresent = 1;
                result = 2;
            } else {
                delete made;
            }
        }
    } else if (mode == kModeOutdent && walk.block) {
        result = Outdent(element, walk.block);
    }

    if (makeCode) {
        CElement* parent = replace ? replace->m_parent : nullptr;
        // Going back to a paragraph drops the item's attributes with the
        // format.
        CElement* made = parent ? MakeBlock(makeCode, parent, makeCode == kCodeP ? nullptr : item) : nullptr;
        if (made && replace == root) {
            CElement* top = element;
            while (top->m_parent && top->m_parent != root)
                top = top->m_parent;
            CElement* start = top;
            while (start->m_prevSibling && !start->m_prevSibling->m_block)
                start = start->m_prevSibling;
            if (root->InsertChild(made, start->GetID(), false)) {
                MoveToBlock(start, made);
                result = 1;
            } else {
                root->RemoveCurrentChildFromList(made);
                delete made;
            }
        } else if (made) {
            result = ConvertSelectedPart(replace, made);
        }
    }
    if (!result)
        return 0;
    if (m_headingsHeld)
        m_headingsChanged = true;
    else
        FinishHeadings();
    NotifyEdit();
    return result;
}

void CXHTML::FinishHeadings()
{
    CElement* root = m_doc.m_root;
    if (m_doc.m_selectionPresent && root) {
        CElement* first = root->GetFirstSelection(0);
        if (first && !first->IsTextElement())
            m_doc.DisplaySelectionStyle();
    }
    DocDrawDoc();
    m_doc.Redraw();
}

int CXHTML::ConvertSelectedPart(CElement* block, CElement* made)
{
    CElement* rest = nullptr;
    bool firstHolds = true;
    bool restHolds = false;
    if (m_doc.m_selectionPresent) {
        // The lines of the block (split at its br children), each with
        // whether it holds selected content.
        std::vector<CElement*> breaks;
        std::vector<bool> holds(1, false);
        std::vector<bool> filled(1, false);
        for (CElement* c = block->m_firstChild; c; c = c->m_nextSibling) {
            if (c->m_kind == kKindBr) {
                breaks.push_back(c);
                holds.push_back(false);
                filled.push_back(false);
                continue;
            }
            holds.back() = holds.back() || HoldsSelection(c);
            filled.back() = filled.back() || !c->IsEmptyTag(true);
        }
        // The last br that parts a line holding the selection from one that
        // does not: the block is split there once.
        for (size_t i = breaks.size(); i-- > 0;) {
            // A br that only ends the block parts nothing from it.
            if (holds[i] == holds[i + 1] || (i + 1 == breaks.size() && !filled[i + 1]))
                continue;
            const long br = breaks[i]->GetID();
            block->SplitUntilParent(&rest, block->GetID(), br);
            block->RemoveChild(br, true, false);
            firstHolds = false;
            for (size_t j = 0; j <= i; ++j)
                firstHolds = firstHolds || holds[j];
            restHolds = holds[i + 1];
            break;
        }
    }
    CElement* second = rest && restHolds ? made->Duplicate() : nullptr;
    if (firstHolds) {
        ConvertBlock(block, made);
    } else {
        delete made;
    }
    if (second)
        ConvertBlock(rest, second);
    return 1;
}

int CXHTML::Outdent(CElement* element, CElement* block)
{
    CElement* root = m_doc.m_root;
    CElement* parent = block->m_parent;
    if (!parent || block == root)
        return 0;
    const int blockChildren = BlockChildCount(block);
    const bool plainParent = parent == root || parent->m_tableCell || parent->m_kind == kKindCaption
        || (parent->m_contentFlag2 && BlockChildCount(parent) > 0);
    if (plainParent && !blockChildren) {
        // Inline content only: it stays in a paragraph.
        if (CElement* p = NewElement("p", parent))
            ConvertBlock(block, p);
        return -1;
    }
    if (!plainParent && blockChildren >= 2
        && (block->m_kind == kKindBlockquote || block->IsElementUnderTag(kKindBlockquote))) {
        // Only the element's own block leaves the quotation.
        CElement* own = element;
        while (own->m_parent && own->m_parent != block)
            own = own->m_parent;
        if (own->m_parent != block || !own->JumpOut(block->GetID(), false))
            return 0;
        return 1;
    }
    parent->RemoveChildNodeOnly(block->GetID());
    parent->StyleChanged(1);
    return -1;
}
