// Stand-ins for members of the block and inline formatting work that applying
// styles calls: small working forms, enough for the style paths to run.

#include "editor/XHTML.h"

#include "editor/StyleBarItem.h"
#include "editor/StyleItemElement.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

#include <vector>

bool CXHTML::FindStyleBarClass(STYLE_BAR_ITEM* item, CSafeBuf& cls)
{
    if (!item) {
        cls.Empty();
        return false;
    }
    return StyleItemClass(*item, cls);
}

void CXHTML::RemoveInlineBrothers(CElement* element, bool destroy)
{
    if (!element)
        return;
    CPtrList pieces;
    element->GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        auto* piece = static_cast<CElement*>(pieces.GetNext(pos));
        if (!m_doc.IsElementExist(piece) || !piece->m_parent || !m_doc.IsElementExist(piece->m_parent))
            continue;
        CElement* parent = piece->m_parent;
        if (destroy) {
            parent->RemoveChild(piece->GetID(), true, false);
        } else {
            parent->RemoveChildNodeOnly(piece->GetID());
            parent->StyleChanged(1);
        }
    }
}

void CXHTML::InsertTagToSelections(CElement* model)
{
    if (!model || !m_doc.m_root || !m_doc.m_selectionPresent)
        return;
    CPtrList runs;
    m_doc.m_root->GetAllChildren(&runs, 0, true, kKindText, 0);
    std::vector<CElement*> parts;
    for (void* pos = runs.GetHeadPosition(); pos;) {
        auto* run = dynamic_cast<CTextElement*>(static_cast<CElement*>(runs.GetNext(pos)));
        if (!run || !run->m_parent || run->m_selStart > run->m_selEnd)
            continue;
        if (CElement* part
            = run->DivideElement(static_cast<int>(run->m_selStart), static_cast<int>(run->m_selEnd)))
            parts.push_back(part);
    }
    std::size_t i = 0;
    while (i < parts.size()) {
        std::size_t j = i + 1;
        while (j < parts.size() && parts[j - 1]->m_nextSibling == parts[j])
            ++j;
        CElement* parent = parts[i]->m_parent;
        CElement* copy = model->Duplicate();
        if (copy) {
            copy->m_parent = nullptr;
            parent->InsertChild(copy, parts[i]->GetID(), false);
            copy->CopyFromParent(parent, 1);
            for (std::size_t k = i; k < j; ++k)
                parts[k]->MoveCurrentElementTo(copy, 0, true);
            copy->StyleChanged(1);
        }
        i = j;
    }
}

namespace {

const char* BlockTagOfCode(int code)
{
    static const char* const kHeadings[] = {"h1", "h2", "h3", "h4", "h5", "h6"};
    if (code == 1)
        return "p";
    if (code >= 2 && code <= 7)
        return kHeadings[code - 2];
    if (code == 10)
        return "address";
    if (code == 11)
        return "pre";
    return nullptr;
}

bool IsConvertibleBlock(const CElement* e)
{
    return e->m_kind == kKindP || IsHeadingKind(e->m_kind) || e->m_kind == kKindAddress
        || e->m_kind == kKindPre;
}

} // namespace

int CXHTML::ProcessHeading(int code, CElement* element, int mode, STYLE_BAR_ITEM* item)
{
    if (!element || !m_doc.IsElementInTree(element) || mode > 2)
        return 0;
    CElement* block = element->m_parent;
    while (block && !block->m_block)
        block = block->m_parent;
    const char* wanted = BlockTagOfCode(code);
    if (!block || !wanted || !IsConvertibleBlock(block) || !block->m_parent)
        return 0;
    const bool same = block->IsTag(wanted);
    if (same && (code == 1 || mode == 1))
        return 0;
    if (!same && mode == 2)
        return 0;
    CElement* parent = block->m_parent;
    CElement* made
        = same || !item ? NewElement(same ? "p" : wanted, parent) : NewStyleItemElement(*item, parent);
    if (!made)
        return 0;
    parent->InsertChild(made, block->GetID(), false);
    block->MoveChildrenTo(made, 0, true, 0, 0);
    parent->RemoveChild(block->GetID(), true, false);
    parent->StyleChanged(1);
    EndEdit(false);
    return same ? -1 : 1;
}
