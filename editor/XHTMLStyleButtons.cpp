// The toolbar buttons that follow the caret's place: the list buttons show
// the list around it; inside a pre no image goes in but indenting does;
// inside a term no list, table or rule goes in; the link buttons follow a
// link around it.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/ElementKinds.h"

namespace {

// Toolbar buttons by kind.
constexpr int kButtonNumbering = 7;
constexpr int kButtonBullets = 8;
constexpr int kButtonUndoBlockquote = 9;
constexpr int kButtonLayoutTable = 11;
constexpr int kButtonDataTable = 12;
constexpr int kButtonDrawLayoutTable = 13;
constexpr int kButtonDrawDataTable = 14;
constexpr int kButtonImage = 16;
constexpr int kButtonLine = 17;
constexpr int kButtonHyperlink = 18;
constexpr int kButtonAttachment = 19;
constexpr int kButtonDefinitionList = 31;
constexpr int kButtonIndent = 39;

// The buttons a term (dt) turns off, and which the caret elsewhere turns on.
constexpr int kBlockButtons[] = {kButtonDefinitionList, kButtonNumbering, kButtonBullets, kButtonLayoutTable,
    kButtonDataTable, kButtonDrawLayoutTable, kButtonDrawDataTable, kButtonLine};

} // namespace

void CXHTML::DisplayStyleButton(CElement* element)
{
    if (!element)
        element = m_doc.m_caretElement;
    if (!element || !m_doc.IsElementInTree(element)) {
        m_doc.m_caretPhase = 0;
        return;
    }
    auto enable = [this](int kind, bool on) { m_doc.ToolEnableButton(kind, 0, on, true); };
    auto check = [this](int kind, bool on) { m_doc.ToolCheckButton(kind, 0, on, true); };

    check(kButtonNumbering, false);
    check(kButtonBullets, false);
    enable(kButtonImage, true);
    for (int kind : kBlockButtons)
        enable(kind, true);
    enable(kButtonIndent, false);

    for (CElement* p = element->m_parent; p; p = p->m_parent) {
        if (p->m_tableCell || p->m_kind == kKindTable || p->m_kind == kKindTr)
            break;
        if (p->m_kind == kKindUl || p->m_kind == kKindOl) {
            check(p->m_kind == kKindUl ? kButtonBullets : kButtonNumbering, true);
            if (p->m_parent && p->m_parent->m_kind == p->m_kind)
                enable(kButtonUndoBlockquote, true);
            break;
        }
        if (p->m_kind == kKindPre) {
            enable(kButtonImage, false);
            enable(kButtonIndent, true);
            break;
        }
        if (p->m_kind == kKindDt) {
            for (int kind : kBlockButtons)
                enable(kind, false);
            break;
        }
    }

    const bool inLink = element->m_kind == kKindA || element->IsElementUnderTag(kKindA);
    const bool linkOn = m_doc.ToolIsButtonEnabled(kButtonHyperlink, 0, true) != 0;
    if (inLink && !linkOn) {
        enable(kButtonHyperlink, true);
        enable(kButtonAttachment, true);
    } else if (!inLink && linkOn && !m_doc.m_selectionPresent) {
        enable(kButtonHyperlink, false);
        enable(kButtonAttachment, false);
    }
    DisplayTagBox();
}
