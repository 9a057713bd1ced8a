// Header lines: the context cell's column (or row) becomes header cells, or,
// when it is all header cells already, data cells again. A cell that also
// lies in an all-header line the other way stays a header.

#include "editor/XHTML.h"

#include "editor/TableGrid.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TableElement.h"
#include "style/cascade/DefaultStyle.h"

namespace {

// The cell becomes a th (or a td): kind, default presentation and tag; the
// attribute that belongs to the other kind is emptied.
void MakeCell(CElement* cell, bool header)
{
    const char* tag = header ? "th" : "td";
    cell->m_kind = header ? kKindTh : kKindTd;
    SetDefaultStyle(tag, cell);
    cell->SetTagName(tag, true);
    cell->SetAttrString(header ? "headers" : "id", "");
}

} // namespace

void CXHTML::OnSetcolheaders() { ToggleHeaderLine(false); }
void CXHTML::OnSetrowheaders() { ToggleHeaderLine(true); }

void CXHTML::ToggleHeaderLine(bool row)
{
    CElement* cell = NearestCell(ContextElement());
    auto* table = cell ? static_cast<CTableElement*>(cell->IsElementUnderTag(kKindTable)) : nullptr;
    int r = 0, c = 0;
    if (!table || !table->FindCellPosition(cell, r, c, false))
        return;
    const bool allHeaders = table->IsAllTH(cell, row);
    CPtrList line;
    table->GetCells(&line, row ? 14 : 15, row ? r : c);
    line.ForEachItem([&](void* item) {
        auto* x = static_cast<CElement*>(item);
        if (!allHeaders)
            MakeCell(x, true);
        else if (!table->IsAllTH(x, !row))
            MakeCell(x, false);
    });
    table->DoHeaders();
    table->StyleChanged(0);
    EndEdit();
}
