// The element property dialogs: a property page (property_dialogs/
// XPrpEditorDlg.h) over the element's attributes, one kind of page a kind of
// element, and the commands that open them. A page answered with OK writes
// back the rows whose answer differs from the attribute (trimmed; an empty
// value removes the attribute), the other pieces of an element wrapped over
// lines take the same attributes (the first piece's are the ones written),
// the element is styled again and the document laid out, drawn and
// notified; Cancel leaves everything as it was. The insert commands make a new img or a, let the user fill it in,
// and put it in at the caret.

#include "editor/XHTML.h"

#include "document/SrcElementTags.h"

#include "base/app/LangString.h"
#include "base/text/U16.h"
#include "editor/EnglishTexts.h"
#include "editor/SelectedElements.h"
#include "editor/TableGrid.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/factory/ElementFactory.h"
#include "elements/TableElement.h"
#include "property_dialogs/XPrpEditorDlg.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// One row a page offers: the attribute, its label's key and English label.
struct RowSpec
{
    const char* attribute;
    const char* key;
    const char* label;
};

const RowSpec kCommonRows[] = {
    {"title", "attributes/common-attributes/title", "Title"},
    {"xml:lang", "attributes/common-attributes/lang", "Language"},
    {"dir", "attributes/common-attributes/dir", "Direction"},
};
const RowSpec kLinkRows[] = {
    {"href", "attributes/a/href", "Address"},
    {"target", "attributes/a/target", "Target"},
    {"title", "attributes/common-attributes/title", "Title"},
};
const RowSpec kImageRows[] = {
    {"src", "attributes/img/src", "Picture"},
    {"alt", "attributes/img/alt", "Alternative text"},
    {"title", "attributes/common-attributes/title", "Title"},
    {"width", "attributes/img/width", "Width"},
    {"height", "attributes/img/height", "Height"},
    {"border", "attributes/img/border", "Border"},
};

// Guard sub-codes of the insert commands.
constexpr long kGuardLink = 1;
constexpr long kGuardAttachment = 2;
constexpr long kGuardImage = 3;
constexpr int kActionCommand = 7;

template <std::size_t N>
void AddRows(CXHTML& engine, CXPrpEditorDlg& page, CElement* e, const RowSpec (&rows)[N])
{
    for (const RowSpec& row : rows) {
        CSafeBuf value;
        e->GetAttrString(row.attribute, value);
        page.SetItem(EngineText(engine.m_langString, row.key, row.label), row.attribute, value,
            CXPrpEditorDlg::kTextField);
    }
}

void SetTitle(CXHTML& engine, CXPrpEditorDlg& page, const char* key, const char* title)
{
    page.SetWindowText(EngineText(engine.m_langString, key, title));
}

// The trimmed answer of an answered page's row for attribute; false when
// the page has no such row or the answer is what e holds already, whose
// attribute then stays as it stands (blanks at its ends included).
bool ChangedValue(CXPrpEditorDlg& page, const char* attribute, const CElement* e, CSafeBuf& value)
{
    CSafeBuf held;
    e->GetAttrString(attribute, held);
    if (!page.Value(attribute, value) || value == held)
        return false;
    value.Trim();
    return true;
}

// Writes every row of an answered page that the user changed to e.
void WriteRows(CXPrpEditorDlg& page, CElement* e)
{
    for (const CXPrpEditorDlg::Row& row : page.Rows()) {
        CSafeBuf value;
        if (ChangedValue(page, row.attribute.c_str(), e, value))
            e->SetAttrString(row.attribute.c_str(), static_cast<const unsigned short*>(value));
    }
}

int IntValue(const CSafeBuf& text, int fallback)
{
    CSafeBuf t = text;
    t.Trim();
    if (t.IsEmpty())
        return fallback;
    std::string digits;
    for (int i = 0; i < t.Length(); ++i) {
        const unsigned short c = t.GetAt(i);
        if (c < '0' || c > '9')
            return fallback;
        if (digits.size() < 6)
            digits.push_back(static_cast<char>(c));
    }
    return std::atoi(digits.c_str());
}

// The most rows or columns the table dialog grows a table to: the size the
// table picker offers. Each new row is another pass over the whole table, so
// a mistyped count of thousands would hold the editor for minutes.
constexpr int kMaxGrownCount = 255;

// The row or column count of an answered table dialog: the count the field
// offered unless it holds a plain decimal number above 0 that does not grow
// the table (own: its present count) past kMaxGrownCount. A table keeps at
// least one row and column, and a new one the size it was offered. Digits
// are not cut short: a count too long to read is refused, not read as
// another number.
int CountValue(const CSafeBuf& text, int offered, int own)
{
    CSafeBuf t = text;
    t.Trim();
    if (t.IsEmpty())
        return offered;
    long long n = 0;
    for (int i = 0; i < t.Length(); ++i) {
        const unsigned short c = t.GetAt(i);
        if (c < '0' || c > '9')
            return offered;
        n = n * 10 + (c - '0');
        if (n > kMaxGrownCount && n > own)
            return offered;
    }
    return n > 0 ? static_cast<int>(n) : offered;
}

int Span(CElement* cell, const char* attribute)
{
    CSafeBuf span;
    cell->GetAttrString(attribute, span);
    const int n = IntValue(span, 1);
    return n < 1 ? 1 : n;
}

int ColSpan(CElement* cell) { return Span(cell, "colspan"); }

bool IsCell(const CElement* e) { return e->IsType(kKindTd) || e->IsType(kKindTh); }

// The cells of a row, in order.
std::vector<CElement*> Cells(CElement* row)
{
    std::vector<CElement*> out;
    for (CElement* c = row->m_firstChild; c; c = c->m_nextSibling)
        if (IsCell(c))
            out.push_back(c);
    return out;
}

std::vector<CElement*> Rows(CTableElement* table)
{
    CPtrList list;
    table->GetTRElement(&list);
    std::vector<CElement*> out;
    for (void* p = list.GetHeadPosition(); p;)
        out.push_back(static_cast<CElement*>(list.GetNext(p)));
    return out;
}

// The markup of a new cell: a td holding one no-break space.
const unsigned short* NewCellMarkup()
{
    static const CSafeBuf markup("<td>&#160;</td>");
    return markup;
}

// A cell spanning rows: the grid columns it takes in each row below its
// own, and how many rows it still reaches.
struct Reach
{
    int columns;
    int rows;
};

// Makes the table rows x cols: rows added at the end (align left, valign
// top), rows removed from the end, cells added to or removed from the end
// of each row. A row's width counts the columns that cells of the rows
// above take in it, so a table with row spans keeps its grid.
void Reshape(CTableElement* table, int rows, int cols)
{
    std::vector<CElement*> trs = Rows(table);
    if (rows > 0) {
        while (static_cast<int>(trs.size()) > rows) {
            CElement* last = trs.back();
            trs.pop_back();
            CElement::RemoveElement(last, true);
        }
        CSafeBuf rowMarkup("<tr align=\"left\" valign=\"top\">");
        for (int c = 0; c < (cols > 0 ? cols : 1); ++c)
            rowMarkup += NewCellMarkup();
        rowMarkup += "</tr>";
        while (static_cast<int>(trs.size()) < rows) {
            CElement* parent = trs.empty() ? table : trs.back()->m_parent;
            const long after = trs.empty() ? 0 : trs.back()->GetID();
            CElement* made = parent->InsertTagText(rowMarkup, after, true, true, false, false);
            if (!made || !made->IsType(kKindTr))
                break;
            trs.push_back(made);
        }
    }
    if (cols <= 0)
        return;
    std::vector<Reach> reaching;
    for (CElement* tr : trs) {
        std::vector<CElement*> cells = Cells(tr);
        long long width = 0;
        for (const Reach& r : reaching)
            width += r.columns;
        for (CElement* cell : cells)
            width += ColSpan(cell);
        while (width > cols && !cells.empty() && width - ColSpan(cells.back()) >= cols - 0) {
            width -= ColSpan(cells.back());
            CElement::RemoveElement(cells.back(), true);
            cells.pop_back();
        }
        while (width < cols) {
            const long after = cells.empty() ? 0 : cells.back()->GetID();
            CElement* made = tr->InsertTagText(NewCellMarkup(), after, true, true, false, false);
            if (!made)
                break;
            cells.push_back(made);
            ++width;
        }
        for (Reach& r : reaching)
            --r.rows;
        reaching.erase(
            std::remove_if(reaching.begin(), reaching.end(), [](const Reach& r) { return r.rows <= 0; }),
            reaching.end());
        for (CElement* cell : cells) {
            const int down = Span(cell, "rowspan") - 1;
            if (down > 0)
                reaching.push_back({ColSpan(cell), down});
        }
    }
    // A row whose every column is taken by cells spanning down from above
    // lost all its own cells: a row holds at least one cell, so it goes and
    // the cells spanning through it end a row sooner, as after a merge.
    DropEmptyRows(table, true);
}

} // namespace

namespace {

// The elements written as one with e: its neighbours of the same tag and
// attributes with nothing between but empty runs and, for a tag whose
// halves the writer joins around a line break, line breaks (reading leaves
// a phrase element's line break outside it, between two halves). Looked
// for before the answers are written, while they are still alike.
std::vector<CElement*> WrittenAsOneWith(CElement* e)
{
    std::vector<CElement*> halves;
    if (!e->m_inline || e->IsTextElement())
        return halves;
    const bool joinsAroundBreaks = e->m_kind == kKindCustom || TakesLineBreaks(e->GetTagName());
    for (const bool forward : {false, true}) {
        for (CElement* s = forward ? e->m_nextSibling : e->m_prevSibling; s;
             s = forward ? s->m_nextSibling : s->m_prevSibling) {
            if ((s->IsTextElement() && s->m_text.IsEmpty()) || (s->m_kind == kKindBr && joinsAroundBreaks))
                continue;
            if (s->m_kind != e->m_kind || s->m_locked || U16cmp(s->GetTagName(), e->GetTagName()) != 0
                || !s->IsTagSameWith(e))
                break;
            halves.push_back(s);
        }
    }
    return halves;
}

// The answers written into e reach the elements written as one with it and
// the pieces of each that the layout wrapped over lines.
void ShareAnswers(CElement* e, const std::vector<CElement*>& halves)
{
    e->ChangeWrappedInlineElement();
    for (CElement* half : halves) {
        CElement::CopyMap(&half->m_attributes, &e->m_attributes, false);
        half->ChangeWrappedInlineElement();
        half->StyleChanged(2);
    }
}

} // namespace

bool CXHTML::DoCommonPrp(CElement* element)
{
    if (!element)
        return false;
    CXPrpEditorDlg page;
    SetTitle(*this, page, "common-dialog/title-common", "Properties");
    AddRows(*this, page, element, kCommonRows);
    AddClassPrp(&page, element);
    SetPrpDlg(&page);
    if (page.DoModal() != 1)
        return false;
    const std::vector<CElement*> halves = WrittenAsOneWith(element);
    WriteRows(page, element);
    ShareAnswers(element, halves);
    element->StyleChanged(2);
    EndEdit();
    return true;
}

bool CXHTML::DoHREFPrp(CElement* a, bool insert)
{
    if (!a)
        return false;
    CXPrpEditorDlg page;
    SetTitle(*this, page, "common-dialog/title-link", "Link");
    AddRows(*this, page, a, kLinkRows);
    CSafeBuf rel;
    a->GetAttrString("rel", rel);
    page.SetItem(EngineText(m_langString, "attributes/a/rel", "Relation"), "rel", rel,
        CXPrpEditorDlg::kEditableList, m_linkTypeList);
    AddClassPrp(&page, a);
    SetPrpDlg(&page);
    if (page.DoModal() != 1)
        return false;
    const std::vector<CElement*> halves = insert ? std::vector<CElement*>() : WrittenAsOneWith(a);
    WriteRows(page, a);
    CSafeBuf chosen;
    a->GetAttrString("rel", chosen);
    if (chosen == "None")
        a->SetAttrString("rel", "");
    if (!insert) {
        ShareAnswers(a, halves);
        a->StyleChanged(2);
        EndEdit();
    }
    return true;
}

bool CXHTML::DoImgPrp(CElement* img, int insert)
{
    if (!img)
        return false;
    CXPrpEditorDlg page;
    SetTitle(*this, page, "common-dialog/title-image", "Image");
    AddRows(*this, page, img, kImageRows);
    AddClassPrp(&page, img);
    SetPrpDlg(&page);
    if (page.DoModal() != 1)
        return false;
    WriteRows(page, img);
    if (!insert) {
        img->ChangeWrappedInlineElement();
        img->StyleChanged(2);
        EndEdit();
    }
    return true;
}

bool CXHTML::DoDefListPrp(CElement* list, bool) { return list && DoCommonPrp(list); }

bool CXHTML::DoTablePrp(CElement* element, int rows, int cols, int border, int cellspacing, int cellpadding,
    bool dataTable, bool headerRow)
{
    if (!element || !element->IsType(kKindTable))
        return false;
    auto* table = static_cast<CTableElement*>(element);
    int ownCols = 0;
    int ownRows = 0;
    table->GetRowCol(ownCols, ownRows);
    auto preset = [&](const char* attribute, int given) {
        CSafeBuf value;
        if (given >= 0)
            value.FormatInt("%d", given);
        else
            table->GetAttrString(attribute, value);
        return value;
    };
    const int offeredRows = rows >= 0 ? rows : ownRows;
    const int offeredCols = cols >= 0 ? cols : ownCols;
    CSafeBuf rowsText;
    rowsText.FormatInt("%d", offeredRows);
    CSafeBuf colsText;
    colsText.FormatInt("%d", offeredCols);

    CXPrpEditorDlg page;
    SetTitle(*this, page, "common-dialog/title-table", "Properties");
    page.SetItem(EngineText(m_langString, "attributes/table/rows", "Rows"), "rows", rowsText,
        CXPrpEditorDlg::kTextField);
    page.SetItem(EngineText(m_langString, "attributes/table/cols", "Columns"), "cols", colsText,
        CXPrpEditorDlg::kTextField);
    page.SetItem(EngineText(m_langString, "attributes/table/border", "Border"), "border",
        preset("border", border), CXPrpEditorDlg::kTextField);
    page.SetItem(EngineText(m_langString, "attributes/table/cellspacing", "Cell spacing"), "cellspacing",
        preset("cellspacing", cellspacing), CXPrpEditorDlg::kTextField);
    page.SetItem(EngineText(m_langString, "attributes/table/cellpadding", "Cell padding"), "cellpadding",
        preset("cellpadding", cellpadding), CXPrpEditorDlg::kTextField);
    const bool hasCaption = table->GetFirstChildByType(kKindCaption) != nullptr;
    if (dataTable) {
        CSafeBuf summary;
        table->GetAttrString("summary", summary);
        page.SetItem(EngineText(m_langString, "attributes/table/summary", "Summary"), "summary", summary,
            CXPrpEditorDlg::kTextField);
        page.SetItem(EngineText(m_langString, "attributes/table/caption", "Caption"), "caption",
            CSafeBuf(hasCaption || headerRow ? "yes" : "no"), CXPrpEditorDlg::kEditableList, m_yesNoList);
    }
    SetPrpDlg(&page);
    if (page.DoModal() != 1)
        return false;

    CSafeBuf value;
    for (const char* attribute : {"border", "cellspacing", "cellpadding"}) {
        if (ChangedValue(page, attribute, table, value))
            table->SetAttrString(attribute, static_cast<const unsigned short*>(value));
    }
    page.Value("rows", value);
    const int newRows = CountValue(value, offeredRows, ownRows);
    page.Value("cols", value);
    const int newCols = CountValue(value, offeredCols, ownCols);
    // A table keeps its shape, short rows included, unless asked for
    // another size.
    if (newRows != ownRows || newCols != ownCols)
        Reshape(table, newRows, newCols);

    if (headerRow) {
        std::vector<CElement*> trs = Rows(table);
        if (!trs.empty()) {
            for (CElement* cell : Cells(trs.front())) {
                cell->SetTagName("th", false);
                cell->m_kind = kKindTh;
            }
        }
    }
    if (dataTable) {
        if (ChangedValue(page, "summary", table, value))
            table->SetAttrString("summary", static_cast<const unsigned short*>(value));
        page.Value("caption", value);
        value.Trim();
        CElement* caption = table->GetFirstChildByType(kKindCaption);
        if (value == "yes" && !caption) {
            table->InsertTagText(CSafeBuf("<caption></caption>"), 0, false, true, false, false);
            caption = table->GetFirstChildByType(kKindCaption);
            if (caption && !caption->m_firstChild)
                caption->InsertEmptyText(false);
        } else if (value == "no" && caption) {
            CElement::RemoveElement(caption, true);
        }
    }
    table->AssignTDIndex();
    if (dataTable && !table->DoHeaders()) {
        // A table that can no longer be structured goes.
        CElement::RemoveElement(table, true);
        table = nullptr;
    }
    if (table)
        table->StyleChanged(2);
    if (!m_doc.IsElementExist(m_doc.m_caretElement) && table)
        m_doc.PutCursorIn(table);
    EndEdit();
    return true;
}

void CXHTML::DoProperty(CElement* element)
{
    if (element && m_doc.IsElementExist(element))
        m_targetElement = element;
    DoProperty();
}

bool CXHTML::DoProperty()
{
    // The target serves this one command: a later one acts on its own
    // context.
    CElement* e = m_targetElement.Live(m_doc);
    m_targetElement = nullptr;
    if (!e)
        e = ContextElement();
    if (e && e->IsTextElement())
        e = e->m_parent;
    if (!e || e == m_doc.m_root)
        return false;
    if (e->IsType(kKindImg))
        return DoImgPrp(e, 0);
    if (e->IsType(kKindA))
        return DoHREFPrp(e, false);
    if (CElement* a = e->IsElementUnderTag(kKindA))
        return DoHREFPrp(a, false);
    if (e->IsType(kKindTable))
        return DoTablePrp(e, -1, -1, -1, -1, -1, static_cast<CTableElement*>(e)->IsDataTable(), false);
    if (e->IsType(kKindDl))
        return DoDefListPrp(e, false);
    return DoCommonPrp(e);
}

namespace {

// The element of a kind at or above e, null when none.
CElement* AtOrAbove(CElement* e, long kind)
{
    if (!e)
        return nullptr;
    return e->IsType(kind) ? e : e->IsElementUnderTag(kind);
}

// The nearest element of either kind at or above e, null when none.
CElement* Nearest(CElement* e, long kind, long other)
{
    for (; e; e = e->m_parent)
        if (e->IsType(kind) || e->IsType(other))
            return e;
    return nullptr;
}

} // namespace

bool CXHTML::InsertNewElement(const char* tag, long guard)
{
    CElement* caret = m_doc.m_caretElement;
    if (!caret || !m_doc.IsElementExist(caret) || !MayChange(kActionCommand, nullptr, guard))
        return false;
    std::unique_ptr<CElement> e(CreateElement(tag, m_doc.m_workingRules, m_doc.m_root, this));
    if (!e)
        return false;
    const bool link = e->IsType(kKindA);
    if (link) {
        // A link holds no link (the one written inside would be dropped and
        // its address run into the words around it): inside a link, or over
        // a selection reaching into one, the dialog opens on that link.
        CElement* outer = nullptr;
        if (m_doc.m_selectionPresent) {
            for (long id : SelectedElementIds(m_doc.m_root)) {
                if ((outer = AtOrAbove(m_doc.FindElement(id), kKindA)) != nullptr)
                    break;
            }
        } else {
            outer = AtOrAbove(caret, kKindA);
        }
        if (outer)
            return DoHREFPrp(outer, false);
    }
    if (!(link ? DoHREFPrp(e.get(), true) : DoImgPrp(e.get(), 1)))
        return false;
    if (link) {
        // The link shows its own address.
        CSafeBuf href;
        e->GetAttrString("href", href);
        href.Trim();
        if (href.IsEmpty())
            return false;
        // Over a selection the selected words become the link, as the link
        // item of the style list makes them; nothing goes in beside them.
        if (m_doc.m_selectionPresent) {
            if (!InsertTagToSelections(e.get()))
                return false;
            if (m_doc.m_root)
                m_doc.m_root->CheckDocument();
            EndEdit();
            return true;
        }
        CElement* text = CreateElement("", m_doc.m_workingRules, m_doc.m_root, this);
        if (!text)
            return false;
        text->m_text = href;
        e->AppendChild(text);
    }
    CSafeBuf markup;
    e->GetSourceCode(markup, 0, 2, m_workText[0], m_workText[1], m_workText[2], nullptr);
    e.reset();
    // With the caret before or after a block (a list, table or div ending
    // a div), the new element goes into a paragraph beside the block, as a
    // letter typed there would, not into the block's own children.
    CElement* made = nullptr;
    CElement* const beside = caret;
    if (caret->m_block && caret->m_edgeCaret && !caret->IsTextElement()) {
        caret = caret->InsertTextBlock();
        if (!caret)
            return false;
        made = caret->m_parent;
    } else if (caret->m_edgeCaret && !caret->IsTextElement()) {
        // Beside an image the new element goes through an empty run on the
        // caret's side, which keeps the caret after it.
        CElement* run = caret->InsertEmptyText(caret->m_caretOffset == 0);
        if (!run)
            return false;
        run->m_caretOffset = 0;
        m_doc.m_caretElement = run;
        caret = run;
        made = run;
    }
    if (!caret->InsertTagText(markup, 0, true, false, false, false)) {
        if (made && made->m_parent) {
            m_doc.m_caretElement = beside;
            made->m_parent->RemoveChild(made->GetID(), true, true);
        }
        return false;
    }
    EndEdit();
    return true;
}

void CXHTML::OnInsertimg() { InsertNewElement("img", kGuardImage); }

void CXHTML::OnInserthref() { InsertNewElement("a", kGuardLink); }

void CXHTML::OnAttach() { InsertNewElement("a", kGuardAttachment); }

void CXHTML::OnEditlink()
{
    if (CElement* a = AtOrAbove(ContextElement(), kKindA))
        DoHREFPrp(a, false);
}

void CXHTML::OnTableprp()
{
    if (CElement* table = AtOrAbove(ContextElement(), kKindTable))
        DoTablePrp(table, -1, -1, -1, -1, -1, static_cast<CTableElement*>(table)->IsDataTable(), false);
}

void CXHTML::OnTrprp() { DoCommonPrp(AtOrAbove(ContextElement(), kKindTr)); }

void CXHTML::OnTdprp() { DoCommonPrp(Nearest(ContextElement(), kKindTd, kKindTh)); }

void CXHTML::OnColumnprp() { OnTdprp(); }

void CXHTML::OnLListPrp() { DoCommonPrp(Nearest(ContextElement(), kKindUl, kKindOl)); }

void CXHTML::OnLItemPrp() { DoCommonPrp(AtOrAbove(ContextElement(), kKindLi)); }

void CXHTML::OnDListPrp() { DoDefListPrp(AtOrAbove(ContextElement(), kKindDl), false); }

void CXHTML::OnDTermPrp() { DoCommonPrp(Nearest(ContextElement(), kKindDt, kKindDd)); }
