// Block alignment: a block (or the inline run around the caret) goes into a
// div that carries the alignment as its "align" attribute; a div already
// above it takes the new alignment, or loses it when it has that one
// already (dissolved when the alignment was all it carried), so that the
// command toggles. With a selection every selected
// block is aligned, one text run at a time.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/ElementUtilities.h"
#include "elements/TypingTree.h"
#include "style/records/ElementStyle.h"
#include "style/records/StyleType.h"

#include <set>
#include <vector>

namespace {

// Kinds of ProcessSelectedBullet for the three alignments.
constexpr int kSelectCentre = 21;
constexpr int kSelectRight = 22;
constexpr int kSelectLeft = 23;

const char* AlignWord(int code)
{
    switch (code) {
    case kAlignLeft: return "left";
    case kAlignCenter: return "center";
    case kAlignRight: return "right";
    default: return nullptr;
    }
}

int AlignCodeOfKind(int kind)
{
    switch (kind) {
    case kSelectLeft: return kAlignLeft;
    case kSelectCentre: return kAlignCenter;
    case kSelectRight: return kAlignRight;
    default: return 0;
    }
}

int KindOfAlignCode(int code)
{
    switch (code) {
    case kAlignLeft: return kSelectLeft;
    case kAlignCenter: return kSelectCentre;
    case kAlignRight: return kSelectRight;
    default: return 0;
    }
}

// The search for a div to realign stops at tables and lists: a div outside
// them aligns more than the caret's block.
bool EndsAlignWalk(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindTable || k == kKindTr || e->m_tableCell || k == kKindUl || k == kKindOl || k == kKindLi;
}

// "align" and the stored style say the same alignment; the children follow.
void GiveAlignment(CElement* div, int code, const char* word)
{
    div->SetAttrString("align", word);
    div->StyleChanged(1);
    ELEMENT_STYLE& s = div->EditStyle();
    s.align = static_cast<std::uint16_t>((s.align & kAlignVerticalMask) | code);
    s.hAlignSet = 1;
    s.hAlignOrigin = kOriginAttribute;
}

// The alignment comes off a div that is kept.
void TakeAlignment(CElement* div)
{
    div->SetAttrString("align", "");
    div->StyleChanged(1);
    ELEMENT_STYLE& s = div->EditStyle();
    if (s.hAlignOrigin == kOriginAttribute) {
        s.align &= kAlignVerticalMask;
        s.hAlignSet = 0;
        s.hAlignOrigin = kOriginNone;
    }
}

// The div on the way up from element's parent: when it holds the alignment
// already, dissolved, or, when it carries more than its alignment (a class,
// an identifier ...), kept without the alignment; else realigned. False
// when there is none.
bool AlignEnclosingDiv(CElement* element, int code, const char* word)
{
    for (CElement* p = element->m_parent; p && !EndsAlignWalk(p); p = p->m_parent) {
        if (p->m_kind != kKindDiv)
            continue;
        CSafeBuf current;
        p->GetAttrNoCase("align", current);
        CElement* parent = p->m_parent;
        if (current.CompareNoCase(word) != 0 || !parent) {
            GiveAlignment(p, code, word);
            return true;
        }
        if (p->GetAttrCount() > 1) {
            TakeAlignment(p);
            return true;
        }
        parent->RemoveChildNodeOnly(p->GetID());
        parent->StyleChanged(1);
        return true;
    }
    return false;
}

// A new div with the alignment around element's block: a p, pre or heading
// goes into it whole; in any other block the inline run around element does (from the
// block child after the last block before it to the next block child).
void WrapInAlignedDiv(CElement* element, int code, const char* word)
{
    CElement* child = nullptr;
    CElement* block = element;
    while (block && !block->m_block) {
        child = block;
        block = block->m_parent;
    }
    // A term holds no div, and a div may not stand in a definition list.
    if (!block || block->m_kind == kKindDt)
        return;
    // A heading or pre may not hold a div any more than a p may (the repair
    // of the tree would dissolve it again): it goes into the div whole too.
    if (block->m_kind == kKindP || block->m_kind == kKindPre || IsHeadingKind(block->m_kind)) {
        CElement* parent = block->m_parent;
        if (!parent)
            return;
        CElement* div = NewElement("div", parent);
        if (!div)
            return;
        parent->InsertChild(div, block->GetID(), true);
        block->MoveCurrentElementTo(div, 0, true);
        GiveAlignment(div, code, word);
        return;
    }
    if (!child)
        return;
    CElement* start = child;
    while (start->m_prevSibling && !start->m_prevSibling->m_block)
        start = start->m_prevSibling;
    CElement* div = NewElement("div", block);
    if (!div)
        return;
    block->InsertChild(div, start->GetID(), false);
    MoveToBlock(start, div);
    GiveAlignment(div, code, word);
}

// Restores the document's merging of like neighbours when the walk ends.
class CombiningSuspended
{
public:
    explicit CombiningSuspended(CXDoc& doc) : m_flag(doc.m_layoutFlags[CXDoc::kCombiningSuspended])
    {
        m_saved = m_flag;
        m_flag = 1;
    }
    ~CombiningSuspended() { m_flag = m_saved; }
    CombiningSuspended(const CombiningSuspended&) = delete;
    CombiningSuspended& operator=(const CombiningSuspended&) = delete;

private:
    unsigned char& m_flag;
    unsigned char m_saved = 0;
};

} // namespace

void CXHTML::ModifyAlign(CElement* element, int code, bool single, bool redraw)
{
    if (!element || !m_doc.IsElementInTree(element))
        return;
    if (m_doc.m_selectionPresent && !single) {
        if (const int kind = KindOfAlignCode(code))
            ProcessSelectedBullet(kind);
        return;
    }
    const char* word = AlignWord(code);
    if (!word)
        return;
    if (!AlignEnclosingDiv(element, code, word))
        WrapInAlignedDiv(element, code, word);
    if (redraw) {
        m_doc.DrawDoc(0);
        m_doc.UpdateKeyCursor();
        m_doc.Redraw();
        NotifyEdit();
    }
}

void CXHTML::ProcessSelectedBullet(int kind)
{
    const int code = AlignCodeOfKind(kind);
    const bool list = kind == kKindUl || kind == kKindOl;
    CElement* root = m_doc.m_root;
    if ((!code && !list) || !root)
        return;
    {
        CombiningSuspended suspended(m_doc);
        const bool whole = root->IsSelectionUnderTag(kind, 1);
        // A run is taken once: one whose block cannot be aligned (no block
        // above it) would otherwise be picked for ever.
        std::set<long> taken;
        // The selected runs are listed once a pass and taken in that order
        // (document order); a run that an earlier one destroyed, unselected
        // or already brought where it should be is passed over, and the
        // next listing finds the runs a pass made. A listing for every run
        // taken would cost the square of the selection's runs.
        for (bool picked = true; picked;) {
            picked = false;
            CPtrList runs;
            root->GetAllChildren(&runs, 0, true, kKindText, 0);
            std::vector<long> ids;
            ids.reserve(static_cast<size_t>(runs.GetCount()));
            runs.ForEachItem([&ids](void* run) { ids.push_back(static_cast<CElement*>(run)->GetID()); });
            for (const long id : ids) {
                if (taken.count(id))
                    continue;
                CElement* run = m_doc.m_registry.Find(id);
                if (!run || !run->m_selected || !m_doc.IsElementInTree(run)
                    || run->IsSelectionUnderTag(kind, 1) != whole)
                    continue;
                taken.insert(id);
                picked = true;
                if (list)
                    DoList(run, kind, true, false);
                else
                    ModifyAlign(run, code, true, false);
            }
        }
    }
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyEdit();
}
