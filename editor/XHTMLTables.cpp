// Putting new tables into the document, the table-size picker that the two
// table buttons open, and resetting a table's column sizing.
//
// A table made through the table dialog is first built detached (an element
// with the document's rules, root and this engine as owner but no parent):
// the dialog gives it its rows, cells, caption and attributes, it is written
// out as markup, and the markup is what goes into the document. The
// detached element is destroyed whatever happens. A layout table picked in
// the picker needs no dialog: its markup is written directly.

#include "editor/XHTML.h"

#include "base/geometry/Rect.h"
#include "editor/InsertSupport.h"
#include "editor/PluginPortScope.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/TreeRepair.h"
#include "element/services/ControlServices.h"
#include "elements/TableElement.h"
#include "ui/DrawTableDlg.h"

#include <memory>
#include <vector>

using namespace qm::insert;

namespace {

// The edit guard's sub-code for inserting a table.
constexpr long kGuardTable = 5;
// The toolbar buttons that open the picker, and the picker's table kinds.
constexpr int kLayoutTableButton = 13;
constexpr int kDataTableButton = 14;
constexpr int kLayoutTable = 0;
constexpr int kDataTable = 1;
// The dialog hook's answers.
constexpr int kHookCancel = 1;
constexpr int kHookNoDialog = 2;
// The picker opens this far below its button.
constexpr int kPickerGap = 3;

// The markup of a layout table of rows x columns, each cell holding one
// no-break space.
CSafeBuf LayoutTableMarkup(unsigned int rows, unsigned int columns)
{
    CSafeBuf out("<table width='100%' border='0' cellpadding='1' cellspacing='2'>");
    const unsigned short nbsp[] = {0x00A0, 0};
    for (unsigned int r = 0; r < rows; ++r) {
        out += "<tr align='left' valign='top'>";
        for (unsigned int c = 0; c < columns; ++c) {
            out += "<td>";
            out += nbsp;
            out += "</td>";
        }
        out += "</tr>";
    }
    out += "</table>";
    return out;
}

} // namespace

void CXHTML::GetTableFromElement(CElement* element, CElement** cell, CElement** row, CElement** table)
{
    CElement* foundCell = nullptr;
    CElement* foundRow = nullptr;
    CElement* foundTable = nullptr;
    if (element) {
        if (element->m_kind == kKindTr) {
            foundRow = element;
        } else if (IsCellKind(element->m_kind)) {
            foundCell = element;
            foundRow = element->m_parent;
        } else if (element->m_kind == kKindTable) {
            foundTable = element;
        } else {
            for (CElement* up = element->m_parent; up; up = up->m_parent) {
                if (!foundCell && IsCellKind(up->m_kind))
                    foundCell = up;
                if (up->m_kind == kKindTr) {
                    foundRow = up;
                    break;
                }
            }
        }
        if (foundRow && !foundTable)
            foundTable = foundRow->IsElementUnderTag(static_cast<int>(kKindTable));
    }
    if (cell)
        *cell = foundCell;
    if (row)
        *row = foundRow;
    if (table)
        *table = foundTable;
}

void CXHTML::ShowCaretAgain()
{
    if (m_doc.m_selectionPresent)
        return;
    m_doc.m_caretEnabled = 1;
    m_doc.m_caretPhase = 1;
    m_blinkCount = 0;
}

CElement* CXHTML::InsertTableMarkup(const CSafeBuf& markup, bool& taken)
{
    taken = false;
    if (InsertXMLToDiv(static_cast<const unsigned short*>(markup))) {
        taken = true;
        return nullptr;
    }
    // A paragraph split around the table keeps its direction on both
    // halves: the direction where the caret stood counts too.
    const bool rightToLeft = m_doc.IsRightToLeftAt(m_doc.m_caretElement);
    CElement* table
        = m_doc.InsertTagText(static_cast<const unsigned short*>(markup), nullptr, true, true, true, true);
    if (!table)
        return nullptr;
    taken = true;
    m_doc.ChangeAlignmentToContext(table);
    if (rightToLeft && table->m_kind == kKindTable) {
        std::vector<CElement*> rows;
        TableRows(table, rows);
        for (CElement* row : rows)
            row->SetAttrString("align", "right");
    }
    m_doc.PutCursorIn(table);
    return table;
}

void CXHTML::FinishTableInsertion()
{
    m_doc.DrawDoc(0);
    // The caret is placed in the laid-out table before the view shows it.
    DocUpdateKeyCursor();
    m_doc.Redraw();
    NotifyChange(true);
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
}

void CXHTML::OnInserttable()
{
    if (!m_doc.CanInsert(false, false) || !MayChange(kActionCommand, nullptr, kGuardTable))
        return;
    std::unique_ptr<CElement> table(CreateElement("table", m_doc.m_workingRules, m_doc.m_root, this));
    if (!table)
        return;
    table->SetAttrString("width", "100%");
    const int hook = m_control ? m_control->GoFireDialog(2, table.get()) : 0;
    if (hook == kHookCancel
        || (hook != kHookNoDialog && !DoTablePrp(table.get(), 2, 2, 0, 2, 1, false, false))) {
        ShowCaretAgain();
        return;
    }
    CSafeBuf markup;
    table->GetSourceCode(markup, 0, 2, m_workText[0], m_workText[1], m_workText[2], nullptr);
    table.reset();
    CElement* divBefore = AncestorOfKind(m_doc.m_caretElement, kKindDiv);
    bool taken = false;
    CElement* inserted = InsertTableMarkup(markup, taken);
    if (taken) {
        // Loose inline content of the division beside the new table goes
        // into paragraphs.
        CElement* div = inserted ? AncestorOfKind(inserted, kKindDiv) : divBefore;
        if (div && m_doc.IsElementInTree(div))
            CheckAndAddP(div);
        FinishTableInsertion();
    }
    ShowCaretAgain();
}

void CXHTML::InsertDataTable(int rows, int cols)
{
    if (!m_doc.CanInsert(false, false) || !MayChange(kActionCommand, nullptr, kGuardTable))
        return;
    std::unique_ptr<CElement> table(CreateElement("table", m_doc.m_workingRules, m_doc.m_root, this));
    if (!table)
        return;
    table->SetAttrString("summary", "");
    const int hook = m_control ? m_control->GoFireDialog(2, table.get()) : 0;
    if (hook == kHookCancel
        || (hook != kHookNoDialog && !DoTablePrp(table.get(), rows, cols, 1, 2, 1, true, true))) {
        ShowCaretAgain();
        return;
    }
    CSafeBuf markup;
    table->GetSourceCode(markup, 0, 2, m_workText[0], m_workText[1], m_workText[2], nullptr);
    table.reset();
    bool taken = false;
    InsertTableMarkup(markup, taken);
    if (taken)
        FinishTableInsertion();
    ShowCaretAgain();
}

void CXHTML::OnDtable() { InsertDataTable(10, 3); }

void CXHTML::OpenTableSizePicker(int button, int kind)
{
    CRect at;
    if (m_control) {
        m_control->ToolCheckButton(button, 0, true, true);
        m_control->GetToolButtonPos(static_cast<unsigned>(button), &at);
    }
    // A picker closed earlier is kept until now: it may have been the one
    // whose answer was being handled.
    delete m_tableSizePicker;
    m_tableSizePicker = nullptr;
    auto* picker = new CDrawTableDlg([this](unsigned int message, unsigned int wParam, unsigned int lParam) {
        PostMessage(message, wParam, lParam);
    });
    picker->SetPosition(at.left, at.bottom + kPickerGap);
    picker->SetTableKind(kind);
    m_tableSizePicker = picker;
    picker->SetSkipEventVariable(m_control ? m_control->DialogOpenFlag() : nullptr);
    if (!picker->StartModalless(true) && m_control)
        m_control->ToolCheckButton(button, 0, false, true);
}

void CXHTML::OnDrawLTable() { OpenTableSizePicker(kLayoutTableButton, kLayoutTable); }

void CXHTML::OnDrawDTable() { OpenTableSizePicker(kDataTableButton, kDataTable); }

void CXHTML::OnDrawTable(unsigned int kind, unsigned int size)
{
    // The answer comes from the picker, outside a browser event: the
    // plug-in's port is made current for the drawing and put back after.
    CPluginPortScope port(m_window);
    const unsigned int tableKind = kind & 0xFF;
    if (m_control)
        m_control->ToolCheckButton(
            tableKind == kLayoutTable ? kLayoutTableButton : kDataTableButton, 0, false, true);
    if (kind & CDrawTableDlg::kClosed) {
        if (kind & CDrawTableDlg::kShowCaret)
            ShowCaretAgain();
        return;
    }
    const unsigned int rows = (size >> 8) & 0xFF;
    const unsigned int columns = size & 0xFF;
    if (rows == 0 || columns == 0)
        return;
    m_doc.TakePendingChange();
    if (tableKind == kDataTable) {
        InsertDataTable(static_cast<int>(rows), static_cast<int>(columns));
        return;
    }
    if (tableKind != kLayoutTable || !MayChange(kActionCommand, nullptr, kGuardTable))
        return;
    bool taken = false;
    InsertTableMarkup(LayoutTableMarkup(rows, columns), taken);
    if (taken)
        FinishTableInsertion();
    ShowCaretAgain();
}

void CXHTML::OnResettable()
{
    try {
        CElement* table = ContextElement();
        while (table && table->m_kind != kKindTable)
            table = table->m_parent;
        auto* t = dynamic_cast<CTableElement*>(table);
        if (!t)
            return;
        t->SetAttrString("width", t->IsDataTable() ? "" : "100%");
        t->RemoveColgroup();
        t->StyleChanged(1);
        m_doc.CheckKeyFocus();
        m_doc.DrawDoc(0);
        m_doc.Redraw();
        NotifyChange(true);
        ShowCaretAgain();
    } catch (...) {
        // The reset is abandoned quietly.
    }
}
