// Markup into the document at the caret: the fragment is read into a markup
// tree and its top-level children go in one by one through the document's
// insertion, so that each finds its own place (a block splits the paragraph
// it lands in, inline content joins the caret's text).

#include "editor/XHTML.h"

#include "document/SrcElement.h"
#include "editor/InsertSupport.h"
#include "element/Element.h"
#include "element/ElementUtilities.h"
#include "element/ValidateTree.h"
#include "element/markup/TreeRepair.h"
#include "element/services/ControlServices.h"
#include "elements/TableElement.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

#include <memory>
#include <vector>

using namespace qm::insert;

namespace {

// The attribute that marks a run of blocks inserted as one div.
const char* const kGroupMark = "data-qm-insert-run";
// Markup written for one child: indented, comments kept as elements.
constexpr int kChildOutputMode = 4098;
// Markup written as one line, as the clipboard holds it.
constexpr int kCompactOutputMode = 2;
// Caret moves tried in turn to leave an empty paragraph, with the offset
// the caret takes in the element reached (-1: the end of its text).
constexpr struct
{
    int direction;
    long offset;
} kLeaveMoves[] = {{3, 0}, {2, -1}, {1, 0}, {0, 1}};
// Bound of caret steps while leaving one paragraph (a caret walk that comes
// round must not hold the insertion).
constexpr int kMaxLeaveSteps = 10000;

// A caret at the end of a text run moves on to a new empty run after it.
// Markup inserted at the end of a run goes after the run and leaves the
// caret where it was, so the next child of the fragment would land before
// the one just inserted; from the empty run it goes in before the caret.
void CaretAfterRun(CXDoc& doc)
{
    CElement* caret = doc.m_caretElement;
    if (!caret || !caret->IsTextElement() || caret->m_caretOffset <= 0
        || caret->m_caretOffset < caret->m_text.Length())
        return;
    if (CElement* run = caret->InsertEmptyText(false)) {
        run->m_caretOffset = 0;
        doc.m_caretElement = run;
    }
}

// The markup of one child, as it goes in: line breaks of a block folded
// when it comes from outside (but not those of its pre elements), and of
// inline content too when it goes into a pre, where they would stand as
// line ends; trim follows its kind.
CSafeBuf ChildMarkup(CSrcElement* child, bool outside, bool intoPre, bool& trim)
{
    CSafeBuf code;
    child->GetSourceCode(code, 0, kChildOutputMode, true);
    const int kind = child->ElementType();
    if (outside) {
        if ((kind & (CSrcElement::kBlock | CSrcElement::kHeading)) || child->IsTag("li")) {
            FoldLineEndsOutsidePre(code);
            trim = (kind & (CSrcElement::kBlock | CSrcElement::kHeading | CSrcElement::kList)) != 0;
        } else {
            if (intoPre)
                FoldLineEndsOutsidePre(code);
            trim = (kind & CSrcElement::kList) != 0;
        }
    }
    return code;
}

// Text from outside going into a pre: a run of white space that holds a
// line end is laid out by the markup's source, and is one blank (none at
// the fragment's end, where the source's last line ended).
void FoldTextLineEnds(CSafeBuf& text, bool last)
{
    CSafeBuf out;
    for (int i = 0; i < text.Length();) {
        const unsigned short c = text.GetAt(i);
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            out += c;
            ++i;
            continue;
        }
        int end = i;
        bool lineEnd = false;
        for (; end < text.Length(); ++end) {
            const unsigned short b = text.GetAt(end);
            if (b != ' ' && b != '\t' && b != '\r' && b != '\n')
                break;
            lineEnd = lineEnd || b == '\r' || b == '\n';
        }
        if (!lineEnd)
            out += text.Mid(i, end - i);
        else if (!(last && end == text.Length()))
            out += static_cast<unsigned short>(' ');
        i = end;
    }
    text = out;
}

bool IsBlockLike(CSrcElement* child)
{
    const int kind = child->ElementType();
    const bool script = child->IsTag("script") || child->IsTag("noscript");
    return !script
        && ((kind & CSrcElement::kBlock) || kind == CSrcElement::kHeading || kind == CSrcElement::kList);
}

// Blocks that may stand in a div as they would in the place they go to.
bool IsGroupable(CSrcElement* child)
{
    if (child->IsTextNode() || child->IsComment() || (child->ElementType() & CSrcElement::kOther))
        return false;
    for (const char* tag : {"li", "dt", "dd", "tr", "td", "th", "caption", "thead", "tbody", "tfoot"}) {
        if (child->IsTag(tag))
            return false;
    }
    return IsBlockLike(child);
}

// The group div just inserted: beside the caret or one of its ancestors.
CElement* FindGroupDiv(CElement* caret)
{
    for (CElement* a = caret; a; a = a->m_parent) {
        int seen = 0;
        for (CElement* s = a->m_prevSibling; s && seen < 4; s = s->m_prevSibling, ++seen) {
            CSafeBuf mark;
            if (s->IsType(kKindDiv) && s->GetAttrString(kGroupMark, mark))
                return s;
        }
    }
    return nullptr;
}

// The editor's own markup writes the blocks a copy passed through around
// what was selected in them, and unwraps them again when one stands alone
// at the top; blocks of a kind it keeps as elements of their own (section,
// article, a page's own block tags) it leaves. Pasted, such a lone wrapper
// goes as a div would, with the lone blocks inside it, so that text copied
// from inside a paragraph joins the paragraph at the caret instead of
// splitting it with a new block. The markup to insert: markup itself when
// nothing is unwrapped.
CSafeBuf WithoutLoneWrappers(CXHTMLServices* engine, const unsigned short* markup)
{
    const CSafeBuf same(markup);
    CSrcElement tree("body", engine);
    if (!LoadFragment(engine, markup, tree))
        return same;
    bool unwrapped = false;
    while (tree.GetChildCount() == 1) {
        CSrcElement* only = tree.FirstChild();
        const int kind = only->ElementType();
        if (only->IsTextNode() || only->IsComment() || !(kind & CSrcElement::kOther)
            || !(kind & CSrcElement::kBlock))
            break;
        tree.Unwrap(only);
        tree.RemoveTopSingleEle();
        unwrapped = true;
    }
    if (!unwrapped)
        return same;
    tree.m_attributes.RemoveAll();
    CSafeBuf code;
    tree.GetSourceCode(code, 0, kCompactOutputMode, true);
    // The body's own tags go.
    const CSafeBuf open("<body>"), close("</body>");
    if (code.Length() < open.Length() + close.Length() || code.Left(open.Length()) != open
        || code.Right(close.Length()) != close)
        return same;
    return code.Mid(open.Length(), code.Length() - open.Length() - close.Length());
}

} // namespace

bool CXHTML::InsertHTMLCode(const unsigned short* markup, bool outside, bool pasted)
{
    if (!markup)
        return false;
    if (!MayChange(kActionInsert, nullptr, 0) || !m_doc.CanInsertTo(markup, nullptr, nullptr, true)
        || !m_doc.PrepareInsertPoint())
        return false;

    // In a pre the editor's own markup keeps its white space: it was written
    // from a pre's text, or from text whose white space is already single.
    CElement* at = m_doc.m_caretElement;
    const bool intoPre = at && at->IsTextElement() && at->IsElementUnderTag(kKindPre);
    std::unique_ptr<CSrcElement> tree(new CSrcElement("body", this));
    if (!LoadFragment(this, markup, *tree, intoPre && !outside))
        return false;
    // A style element's tag is in the markup's text: most fragments are not
    // walked for one.
    const std::vector<CXDoc::InsertedStyle> styles = CSafeBuf(markup).Find("<style", 0, false) >= 0
        ? TakeStyleElements(tree.get())
        : std::vector<CXDoc::InsertedStyle>();
    if (tree->IsThereBlockTypeChild() && !MayChange(kActionCommand, nullptr, kSubCodeBlocks))
        return false;
    if (AncestorOfKind(m_doc.m_caretElement, kKindCaption))
        RemoveDescendants(tree.get(), "br");

    int visited = 0; // nodes the picture pass has counted, over the whole paste
    bool trim = true;
    // Text ending in a blank goes in as typing does: at the end of the
    // block's text its blank is held as a no-break space. The content after
    // it in the fragment then follows that space: a plain blank again
    // between two words, as it was written.
    long heldRun = 0;
    long heldAt = 0;
    for (CSrcElement* child = tree->FirstChild(); child;) {
        CSrcElement* next = child->NextSibling();
        if (!child->IsTextNode() && pasted && !PastePictures(child, visited)) {
            child = next; // the picture dialog was cancelled
            continue;
        }
        if (child->IsTextNode()) {
            CSafeBuf text(static_cast<const unsigned short*>(child->m_text));
            if (outside && intoPre)
                FoldTextLineEnds(text, !next);
            if (outside && trim)
                text.TrimLeft();
            if (!text.IsEmpty()) {
                m_doc.InsertText(text);
                CElement* caret = m_doc.m_caretElement;
                heldRun = text.GetAt(text.Length() - 1) == ' ' && caret && caret->IsTextElement()
                    ? caret->GetID()
                    : 0;
                heldAt = caret ? caret->m_caretOffset : 0;
            }
            trim = false;
            child = next;
            continue;
        }
        // A run of blocks goes in as one: each insertion into a container
        // restyles all of it, which for many blocks in a long document
        // would cost the document's size for every block.
        std::vector<CSrcElement*> run{child};
        while (IsGroupable(run.front()) && next && IsGroupable(next)) {
            CSrcElement* after = next->NextSibling();
            if (!pasted || PastePictures(next, visited))
                run.push_back(next);
            next = after;
        }
        if (run.size() > 1)
            InsertBlockRun(run, outside, trim);
        else
            InsertMarkupChild(child, outside, intoPre, trim);
        CElement* held = heldRun ? m_doc.FindElement(heldRun) : nullptr;
        if (held && m_doc.IsElementInTree(held) && heldAt > 0 && heldAt <= held->m_text.Length())
            ReleaseSeamBlank(static_cast<CTextElement*>(held), heldAt);
        heldRun = 0;
        child = next;
    }

    LeaveEmptyParagraph();
    tree.reset();
    if (CElement* caret = m_doc.m_caretElement) {
        CheckParagraphForTable(caret, nullptr);
        CheckParagraphForDLType(caret, nullptr);
    }
    m_doc.AddStyleElements(styles);
    return true;
}

namespace {

bool IsTextBlockTag(const CSrcElement* e)
{
    for (const char* tag : {"p", "h1", "h2", "h3", "h4", "h5", "h6"}) {
        if (e->IsTag(tag))
            return true;
    }
    return false;
}

// The markup of e's children (the content of a block, without its tags).
CSafeBuf ContentMarkup(const CSrcElement* e)
{
    CSafeBuf out, code;
    for (CSrcElement* c = e->FirstChild(); c; c = c->NextSibling()) {
        code.Empty();
        c->GetSourceCode(code, 0, kChildOutputMode, true);
        out += code;
    }
    return out;
}

// Text of blanks only (or none): the layout between a list's items.
bool IsBlankNode(const CSrcElement* e)
{
    if (!e->IsTextNode())
        return false;
    CSafeBuf text(static_cast<const unsigned short*>(e->m_text));
    text.TrimLeft();
    return text.IsEmpty();
}

bool IsInlineNode(CSrcElement* e)
{
    if (e->IsTextNode())
        return true;
    const int kind = e->ElementType();
    return !e->IsComment() && (kind & CSrcElement::kInline) && !(kind & CSrcElement::kBlock);
}

// A list and the tags of its items.
bool IsListTag(const CSrcElement* e) { return e->IsTag("ul") || e->IsTag("ol") || e->IsTag("dl"); }

bool IsItemTag(const CSrcElement* e) { return e->IsTag("li") || e->IsTag("dt") || e->IsTag("dd"); }

// Every child of e is inline content.
bool HoldsInlineOnly(CSrcElement* e)
{
    for (CSrcElement* c = e->FirstChild(); c; c = c->NextSibling()) {
        if (!IsInlineNode(c))
            return false;
    }
    return true;
}

// Nothing but blank text among e's children (a list whose items were taken).
bool HoldsBlankOnly(CSrcElement* e)
{
    for (CSrcElement* c = e->FirstChild(); c; c = c->NextSibling()) {
        if (!IsBlankNode(c))
            return false;
    }
    return true;
}

// A pre's text as its lines: the line end that its markup may hold right
// after the start tag and right before the end tag is the markup's layout,
// as reading a pre drops it.
void TrimEdgeLineEnds(CSafeBuf& text)
{
    for (const char* end : {"\r\n", "\n"}) {
        const CSafeBuf mark(end);
        if (text.Left(mark.Length()) == mark) {
            text = text.Mid(mark.Length(), text.Length() - mark.Length());
            break;
        }
    }
    for (const char* end : {"\r\n", "\n"}) {
        const CSafeBuf mark(end);
        if (text.Length() >= mark.Length() && text.Right(mark.Length()) == mark) {
            text = text.Left(text.Length() - mark.Length());
            break;
        }
    }
}

// The line collected so far, when it holds anything, becomes one of lines.
void EndLine(std::vector<CSafeBuf>& lines, CSafeBuf& line)
{
    if (!line.IsEmpty())
        lines.push_back(line);
    line.Empty();
}

// The lines of a fragment cut from list items: the inline content of each
// item in document order (an item's own text before the items of a list
// nested in it), of each paragraph, heading or pre beside the lists (a
// pre's lines as one), and inline content that stands before a list. False when the fragment holds
// anything else: a table, a div, a paragraph holding more than text.
bool ListLines(CSrcElement* e, std::vector<CSafeBuf>& lines, CSafeBuf& line, bool& lists)
{
    for (CSrcElement* c = e->FirstChild(); c; c = c->NextSibling()) {
        if (IsInlineNode(c)) {
            if (line.IsEmpty() && IsBlankNode(c))
                continue;
            CSafeBuf code;
            c->GetSourceCode(code, 0, kChildOutputMode, true);
            line += code;
            continue;
        }
        if ((IsTextBlockTag(c) || c->IsTag("pre")) && HoldsInlineOnly(c)) {
            EndLine(lines, line);
            line = ContentMarkup(c);
            if (c->IsTag("pre"))
                TrimEdgeLineEnds(line);
            EndLine(lines, line);
            continue;
        }
        if (!IsListTag(c))
            return false;
        lists = true;
        EndLine(lines, line);
        for (CSrcElement* item = c->FirstChild(); item; item = item->NextSibling()) {
            if (IsBlankNode(item))
                continue;
            if (!IsItemTag(item))
                return false;
            EndLine(lines, line);
            if (!ListLines(item, lines, line, lists))
                return false;
        }
        EndLine(lines, line);
    }
    return true;
}

// The lines of markup as ListLines collects them, the last one included;
// false when the markup does not read or holds anything else.
bool FragmentLines(
    CXHTMLServices* engine, const unsigned short* markup, std::vector<CSafeBuf>& lines, bool& lists)
{
    CSrcElement tree("body", engine);
    if (!LoadFragment(engine, markup, tree))
        return false;
    CSafeBuf line;
    if (!ListLines(&tree, lines, line, lists))
        return false;
    EndLine(lines, line);
    return true;
}

// The text pasted before the caret now stands before a blank that the
// Return before it held as a no-break space at the start of the block's
// text: a plain blank again, which reads back between the two words.
void ReleaseBlankAtCaret(CXDoc& doc)
{
    CElement* caret = doc.m_caretElement;
    if (caret && caret->IsTextElement() && doc.IsElementInTree(caret))
        ReleaseSeamBlank(static_cast<CTextElement*>(caret), caret->m_caretOffset);
}

// The cell whose content the caret ends: a text run at the end of its text
// (or holding only the no-break space that keeps an empty cell open) with
// nothing after it in the cell but empty runs. Null elsewhere.
CElement* CellEndedByCaret(CElement* caret)
{
    if (!caret || !caret->IsTextElement())
        return nullptr;
    if (!HoldsPlaceHolder(caret) && caret->m_caretOffset < caret->m_text.Length())
        return nullptr;
    for (CElement* e = caret; e && e->m_parent; e = e->m_parent) {
        for (CElement* s = e->m_nextSibling; s; s = s->m_nextSibling) {
            if (!s->IsTextElement() || !s->m_text.IsEmpty())
                return nullptr;
        }
        if (IsCellKind(e->m_parent->m_kind))
            return e->m_parent;
        if (e->m_parent->m_block && !e->m_parent->IsType(kKindP) && !IsHeadingKind(e->m_parent->m_kind))
            return nullptr;
    }
    return nullptr;
}

// The only child of e that is not blank text; null when none or several.
CSrcElement* OnlyChild(CSrcElement* e)
{
    CSrcElement* only = nullptr;
    for (CSrcElement* c = e->FirstChild(); c; c = c->NextSibling()) {
        if (IsBlankNode(c))
            continue;
        if (only)
            return nullptr;
        only = c;
    }
    return only;
}

bool IsRowGroupTag(const CSrcElement* e)
{
    return e->IsTag("tbody") || e->IsTag("thead") || e->IsTag("tfoot");
}

// The content of each cell of a fragment row, appended to rows as a row of
// its own; false when the row holds anything but cells, or no cell.
bool AddRowContents(CSrcElement* row, std::vector<std::vector<CSafeBuf>>& rows)
{
    std::vector<CSafeBuf> contents;
    for (CSrcElement* c = row->FirstChild(); c; c = c->NextSibling()) {
        if (IsBlankNode(c))
            continue;
        if (!c->IsTag("td") && !c->IsTag("th"))
            return false;
        contents.push_back(ContentMarkup(c));
    }
    if (contents.empty())
        return false;
    rows.push_back(std::move(contents));
    return true;
}

// The content of each cell of a fragment that is one table, row by row, as
// a cut across the cells of a table writes it (its rows in the table or in
// its row groups), with two cells at least: false for any other markup.
bool TableCellContents(CSrcElement* tree, std::vector<std::vector<CSafeBuf>>& rows)
{
    CSrcElement* table = OnlyChild(tree);
    if (!table || !table->IsTag("table"))
        return false;
    for (CSrcElement* c = table->FirstChild(); c; c = c->NextSibling()) {
        if (IsBlankNode(c))
            continue;
        if (c->IsTag("tr")) {
            if (!AddRowContents(c, rows))
                return false;
            continue;
        }
        if (!IsRowGroupTag(c))
            return false;
        for (CSrcElement* row = c->FirstChild(); row; row = row->NextSibling()) {
            if (!IsBlankNode(row) && (!row->IsTag("tr") || !AddRowContents(row, rows)))
                return false;
        }
    }
    return rows.size() >= 2 || (rows.size() == 1 && rows.front().size() >= 2);
}

// The units of cell's text, run by run from its last run back.
long CellTextLength(CElement* cell)
{
    long length = 0;
    CElement* last = cell->GetFirstValidSubElement(0, true);
    for (CElement* r = last && last->IsTextElement() ? last : nullptr; r; r = PreviousRun(r, cell, false))
        length += r->m_text.Length();
    return length;
}

// The run of cell's text that holds the unit with after units after it,
// and the unit's offset there; null when the text is shorter.
CElement* UnitBeforeEnd(CElement* cell, long after, int& at)
{
    CElement* last = cell->GetFirstValidSubElement(0, true);
    for (CElement* r = last && last->IsTextElement() ? last : nullptr; r; r = PreviousRun(r, cell, false)) {
        if (after < r->m_text.Length()) {
            at = r->m_text.Length() - 1 - static_cast<int>(after);
            return r;
        }
        after -= r->m_text.Length();
    }
    return nullptr;
}

// The unit beside offset at of run in block's text, before or after it; 0
// when none (the block's edge, or an object).
unsigned short UnitBeside(CElement* run, int at, const CElement* block, bool before)
{
    if (before ? at > 0 : at + 1 < run->m_text.Length())
        return run->m_text.GetAt(before ? at - 1 : at + 1);
    CTextElement* r = before ? PreviousRunWithText(run, block) : NextRunWithText(run, block);
    return r ? r->m_text.GetAt(before ? r->m_text.Length() - 1 : 0) : 0;
}

// A cut that ended inside a cell's text leaves the blank that then starts
// the cell held as a no-break space, as reading would drop a plain one
// there. The units of the cell's text after that space, or -1 when the
// cell does not start so.
long HeldBlankAt(CElement* cell)
{
    CElement* run = cell->GetFirstValidSubElement(0, false);
    if (!run || !run->IsTextElement() || run->m_text.IsEmpty() || run->m_text.GetAt(0) != 0xA0
        || HoldsPlaceHolder(run))
        return -1;
    return CellTextLength(cell) - 1;
}

// With content put back before it, the held space stands between words
// again and becomes a plain blank, unless a plain blank beside it would
// collapse with it or it still stands at the edge of the block's text.
void ReleaseHeldBlank(CElement* cell, long after)
{
    int at = 0;
    CElement* run = after >= 0 ? UnitBeforeEnd(cell, after, at) : nullptr;
    if (!run || run->m_text.GetAt(at) != 0xA0)
        return;
    const CElement* block = run->GetFirstBlockParent();
    const unsigned short left = UnitBeside(run, at, block, true);
    const unsigned short right = UnitBeside(run, at, block, false);
    if (left && left != ' ' && right && right != ' ')
        run->m_text.SetAt(at, ' ');
}

// The content of a cell starts with run. When run starts inline elements
// (a cut that ended inside bold text leaves the rest of it there), an
// empty run before the outermost of them, so that what goes in at the
// start of the cell stays outside them, as it stood before the cut; else
// run itself.
CElement* RunBeforeInlines(CElement* run, const CElement* cell)
{
    CElement* outer = nullptr;
    for (CElement* e = run;
         e->m_parent && e->m_parent != cell && !e->m_parent->m_block && e->m_parent->m_firstChild == e;
         e = e->m_parent)
        outer = e->m_parent;
    if (!outer)
        return run;
    CElement* before = outer->InsertEmptyText(true);
    return before ? before : run;
}

// The cells that take the contents of rows (a fragment's cells, row by
// row) after the first, which goes in at the caret in cell: the cells after
// cell in its row, then for each further row the first cells of the
// table's next row. The table must have the shape a cut of those cells
// leaves: as many cells after cell as the first row has after its first
// (at least, for one row; exactly, for several, whose cut went on to the
// end of the row), the rows between with the same number of cells as
// theirs, the last with at least as many. False otherwise.
bool CellsTakingRows(
    CElement* cell, const std::vector<std::vector<CSafeBuf>>& rows, std::vector<CElement*>& cells)
{
    cells.clear();
    std::vector<CElement*> tableRows, rowCells;
    CElement* row = cell->m_parent;
    const CTableElement* table = row ? TableOfRow(row) : nullptr;
    if (!table || rows.empty())
        return false;
    TableRows(table, tableRows);
    std::size_t at = 0;
    while (at < tableRows.size() && tableRows[at] != row)
        ++at;
    if (at + rows.size() > tableRows.size())
        return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        RowCells(tableRows[at + i], rowCells);
        const std::size_t wanted = rows[i].size();
        std::size_t from = 0;
        if (i == 0) {
            while (from < rowCells.size() && rowCells[from] != cell)
                ++from;
            if (from == rowCells.size())
                return false;
            ++from; // the caret's cell takes the first content itself
        }
        const std::size_t after = rowCells.size() - from;
        const std::size_t count = i == 0 ? wanted - 1 : wanted;
        const bool last = i + 1 == rows.size();
        if (after < count || (!last && after != count))
            return false;
        cells.insert(cells.end(), rowCells.begin() + from, rowCells.begin() + from + count);
    }
    return true;
}

// The markup of each item of the one ul or ol a fragment holds, blank text
// around and between them aside; none when the fragment holds anything
// else or does not read.
std::vector<CSafeBuf> ItemsOfOneList(CXHTMLServices* engine, const unsigned short* markup)
{
    CSrcElement tree("body", engine);
    if (!LoadFragment(engine, markup, tree))
        return {};
    CSrcElement* list = nullptr;
    for (CSrcElement* c = tree.FirstChild(); c; c = c->NextSibling()) {
        if (IsBlankNode(c))
            continue;
        if (list || !(c->IsTag("ul") || c->IsTag("ol")))
            return {};
        list = c;
    }
    std::vector<CSafeBuf> items;
    for (CSrcElement* item = list ? list->FirstChild() : nullptr; item; item = item->NextSibling()) {
        if (IsBlankNode(item))
            continue;
        if (!item->IsTag("li"))
            return {};
        CSafeBuf code;
        item->GetSourceCode(code, 0, kChildOutputMode, true);
        items.push_back(code);
    }
    return items;
}

// The list item that ends with the caret's paragraph, an empty one below
// blocks of the item (as a cut of whole items leaves it): nothing but empty
// runs follows it in the item. Null elsewhere, and in a table cell or a
// caption inside the item.
CElement* ItemEndingInEmptyParagraph(const CElement* caret)
{
    CElement* p = caret->GetFirstBlockParent();
    if (!p || p->m_kind != kKindP || !HoldsNoText(p))
        return nullptr;
    for (CElement* e = p; e->m_parent; e = e->m_parent) {
        for (const CElement* s = e->m_nextSibling; s; s = s->m_nextSibling) {
            if (!IsEmptyRun(s))
                return nullptr;
        }
        CElement* parent = e->m_parent;
        if (parent->m_kind == kKindLi)
            return parent->m_parent && IsListKind(parent->m_parent->m_kind) ? parent : nullptr;
        if (!parent->m_block || parent->m_tableCell || parent->m_kind == kKindCaption)
            return nullptr;
    }
    return nullptr;
}

// Blocks that join into one where two items meet: the same tag and
// attributes, and no list, table or item.
bool Joinable(const CElement* a, const CElement* b)
{
    return a->m_block && b->m_block && a->m_kind == b->m_kind && !IsListKind(a->m_kind)
        && a->m_kind != kKindLi && a->m_kind != kKindTable && !a->m_tableCell
        && CSafeBuf(a->GetTagName()) == b->GetTagName() && CompareAttributes(a, b);
}

// The last element of e's content, empty runs passed over.
CElement* LastContent(CElement* e)
{
    CElement* c = e->m_lastChild;
    while (c && IsEmptyRun(c))
        c = c->m_prevSibling;
    return c;
}

// b, an item or block beside a, goes into a: its children follow a's. When
// a's last content is a block on the way down to seam (itself or one of
// its ancestors) and b's first child a joinable block (a function's
// synopsis div continued by the same div), that child joins it first the
// same way; and b goes.
void JoinInto(CElement* a, CElement* b, const CElement* seam)
{
    CElement* last = LastContent(a);
    CElement* first = b->m_firstChild;
    if (last && first && (last == seam || IsInside(seam, last)) && Joinable(last, first)) {
        for (CElement* c = last->m_nextSibling; c;) {
            CElement* next = c->m_nextSibling;
            a->RemoveChild(c->GetID(), true, false); // empty runs after it
            c = next;
        }
        b->RemoveCurrentChildFromList(first);
        a->AppendChild(first);
        first->CopyFromParent(a, 1);
        JoinInto(last, first, seam);
    }
    b->MoveChildrenTo(a, 0, true, 0, 0);
    if (b->m_parent)
        b->m_parent->RemoveChild(b->GetID(), true, false);
    a->StyleChanged(1);
}

// Nothing but divs, paragraphs, anchors and runs without text: what a cut
// of whole items leaves of the last of them.
bool HoldsNoWords(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTextElement()
                ? !IsRunWithoutText(c)
                : (c->m_kind != kKindDiv && c->m_kind != kKindP && c->m_kind != kKindA) || !HoldsNoWords(c))
            return false;
    }
    return true;
}

// Where what joins item meets it, down item's last blocks to the one that
// ends with a paragraph or inline content: that block. A paragraph there
// without text is taken out (the caret's, or one a cut emptied).
CElement* OpenSeam(CElement* item)
{
    for (CElement* holder = item;;) {
        CElement* last = LastContent(holder);
        if (!last || !last->m_block)
            return holder;
        if (last->m_kind == kKindP) {
            if (HoldsNoText(last))
                holder->RemoveChild(last->GetID(), true, false);
            return holder;
        }
        holder = last;
    }
}

// The last text run in e's subtree; null when none.
CElement* LastRun(CElement* e)
{
    for (CElement* c = e->m_lastChild; c; c = c->m_prevSibling) {
        if (c->IsTextElement())
            return c;
        if (CElement* run = LastRun(c))
            return run;
    }
    return nullptr;
}

// Restores a switch of the engine when a scope ends.
class SwitchScope
{
public:
    SwitchScope(bool& flag, bool value) : m_flag(flag), m_saved(flag) { m_flag = value; }
    ~SwitchScope() { m_flag = m_saved; }
    SwitchScope(const SwitchScope&) = delete;
    SwitchScope& operator=(const SwitchScope&) = delete;

private:
    bool& m_flag;
    bool m_saved;
};

} // namespace

bool CXHTML::InsertOwnMarkup(const unsigned short* own, bool intoCells)
{
    if (!own)
        return false;
    const CSafeBuf unwrapped = WithoutLoneWrappers(this, own);
    const unsigned short* markup = unwrapped;
    const SwitchScope noSeparators(m_separateLinks, false);
    CElement* caret = m_doc.m_caretElement;
    if (CElement* cell = intoCells ? CellEndedByCaret(caret) : nullptr) {
        std::vector<std::vector<CSafeBuf>> rows;
        {
            std::unique_ptr<CSrcElement> tree(new CSrcElement("body", this));
            if (!LoadFragment(this, markup, *tree) || !TableCellContents(tree.get(), rows))
                rows.clear();
        }
        std::vector<CElement*> after;
        if (!rows.empty() && CellsTakingRows(cell, rows, after)) {
            std::vector<CSafeBuf> contents;
            for (const std::vector<CSafeBuf>& row : rows)
                contents.insert(contents.end(), row.begin(), row.end());
            return InsertCellContents(markup, contents, after);
        }
    }
    if (AncestorOfKind(caret, kKindDt))
        return InsertTermLines(markup);
    const CElement* block = caret && caret->IsTextElement() ? caret->GetFirstBlockParent() : nullptr;
    if (block && block->IsType(kKindLi))
        return InsertListLines(markup);
    // A pre takes no blocks: paragraphs, headings and items that do not fit
    // go into it as its lines. Other markup goes in (or is refused) as
    // before.
    if (caret && caret->IsTextElement() && caret->IsElementUnderTag(kKindPre)
        && !m_doc.CanInsertTo(markup, nullptr, nullptr, false)) {
        std::vector<CSafeBuf> lines;
        bool lists = false;
        if (FragmentLines(this, markup, lines, lists) && !lines.empty())
            return InsertLines(lines);
    }
    if (caret && caret->IsTextElement() && ItemEndingInEmptyParagraph(caret)
        && ItemsOfOneList(this, markup).size() >= 2)
        return InsertListItems(markup);
    if (!caret || !caret->IsTextElement() || !InsideParagraphOrHeading(caret))
        return InsertHTMLCode(markup, false);

    std::unique_ptr<CSrcElement> tree(new CSrcElement("body", this));
    if (!LoadFragment(this, markup, *tree))
        return InsertHTMLCode(markup, false);
    CSrcElement* first = tree->FirstChild();
    CSrcElement* last = tree->LastChild();
    if (!first || first == last || !IsTextBlockTag(first))
        return InsertHTMLCode(markup, false);
    // Markup cut from a paragraph into a list's item ends with that list:
    // the item's text is what the paragraph's second half starts with, and
    // the list's other items go in with the blocks between.
    CSrcElement* item = nullptr;
    if (IsListTag(last) && !last->IsTag("dl")) {
        item = last->LastChild();
        while (item && IsBlankNode(item))
            item = item->PreviousSibling();
        if (!item || !item->IsTag("li") || !HoldsInlineOnly(item))
            return InsertHTMLCode(markup, false);
    } else if (!IsTextBlockTag(last)) {
        return InsertHTMLCode(markup, false);
    }
    const CSafeBuf tail = ContentMarkup(item ? item : last);
    if (item) {
        last->RemoveChild(item);
        if (!HoldsBlankOnly(last))
            last = last->NextSibling();
    }
    CSafeBuf between, code;
    for (CSrcElement* c = first->NextSibling(); c && c != last; c = c->NextSibling()) {
        code.Empty();
        c->GetSourceCode(code, 0, kChildOutputMode, true);
        between += code;
    }
    const CSafeBuf head = ContentMarkup(first);
    tree.reset();

    // The whole fragment must be welcome here, as for InsertHTMLCode.
    if (!MayChange(kActionInsert, nullptr, 0) || !m_doc.CanInsertTo(markup, nullptr, nullptr, true))
        return false;
    if (!head.IsEmpty() && !InsertHTMLCode(head, false))
        return false;
    // The paragraph breaks after the first block's content, as by Return;
    // the blocks between go in before the second half, whose start then
    // takes the last block's content.
    m_doc.EmulateReturnKey();
    CElement* second = m_doc.m_caretElement;
    if (!between.IsEmpty()) {
        InsertHTMLCode(between, false);
        if (second && m_doc.IsElementInTree(second) && second->IsTextElement()) {
            second->m_caretOffset = 0;
            m_doc.m_caretElement = second;
        }
    }
    if (!tail.IsEmpty() && InsertHTMLCode(tail, false))
        ReleaseBlankAtCaret(m_doc);
    return true;
}

bool CXHTML::InsertCellContents(
    const unsigned short* markup, const std::vector<CSafeBuf>& contents, const std::vector<CElement*>& cells)
{
    // The whole fragment must be welcome here, as for InsertHTMLCode.
    if (!MayChange(kActionInsert, nullptr, 0) || !m_doc.CanInsertTo(markup, nullptr, nullptr, true))
        return false;
    std::vector<long> ids;
    for (CElement* cell : cells)
        ids.push_back(cell->GetID());
    if (!contents.front().IsEmpty())
        InsertOwnMarkup(contents.front(), false);
    for (std::size_t i = 1; i < contents.size(); ++i) {
        CElement* cell = m_doc.FindElement(ids[i - 1]);
        if (!cell || !m_doc.IsElementInTree(cell) || contents[i].IsEmpty())
            continue;
        CElement* run = cell->GetFirstValidSubElement(0, false);
        if (!run)
            run = cell->InsertTextBlock();
        else
            run = RunBeforeInlines(run, cell);
        if (!run)
            continue;
        const long held = HeldBlankAt(cell);
        run->m_caretOffset = 0;
        m_doc.m_caretElement = run;
        if (InsertOwnMarkup(contents[i], false) && m_doc.IsElementInTree(cell))
            ReleaseHeldBlank(cell, held);
    }
    return true;
}

bool CXHTML::InsertListLines(const unsigned short* markup)
{
    std::vector<CSafeBuf> lines;
    bool lists = false;
    if (!FragmentLines(this, markup, lines, lists) || !lists || lines.size() < 2)
        return InsertHTMLCode(markup, false);
    return InsertLines(lines);
}

bool CXHTML::InsertLines(const std::vector<CSafeBuf>& lines)
{
    if (lines.empty())
        return false;
    // All the text must be welcome here, as for InsertHTMLCode.
    CSafeBuf text;
    for (const CSafeBuf& line : lines)
        text += line;
    if (!MayChange(kActionInsert, nullptr, 0) || !m_doc.CanInsertTo(text, nullptr, nullptr, true))
        return false;
    // Each line after the first starts a new item (in a pre: a new line),
    // as Return there would: the item the caret is in ends with the first
    // line and the last line starts what was after the caret.
    if (!InsertHTMLCode(lines.front(), false))
        return false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        m_doc.EmulateReturnKey();
        if (InsertHTMLCode(lines[i], false))
            ReleaseBlankAtCaret(m_doc);
    }
    return true;
}

bool CXHTML::InsertTermLines(const unsigned short* markup)
{
    std::vector<CSafeBuf> lines;
    bool lists = false;
    if (m_doc.CanInsertTo(markup, nullptr, nullptr, false) || !FragmentLines(this, markup, lines, lists)
        || lines.empty())
        return InsertHTMLCode(markup, false);
    // A term does not split: a break parts the lines, as one parts them
    // when the clipboard's plain text of the same markup is pasted there.
    CSafeBuf text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "<br />";
        text += lines[i];
    }
    return InsertHTMLCode(text, false);
}

bool CXHTML::InsertListItems(const unsigned short* markup)
{
    const std::vector<CSafeBuf> items = ItemsOfOneList(this, markup);
    CElement* caret = m_doc.m_caretElement;
    CElement* item = caret ? ItemEndingInEmptyParagraph(caret) : nullptr;
    if (items.size() < 2 || !item)
        return InsertHTMLCode(markup, false);
    // The whole fragment must be welcome here, as for InsertHTMLCode.
    if (!MayChange(kActionInsert, nullptr, 0) || !m_doc.CanInsertTo(markup, nullptr, nullptr, true)
        || !MayChange(kActionCommand, nullptr, kSubCodeBlocks))
        return false;
    // What a cut of whole items left of the last one, an item without
    // words after the caret's, takes the last item back.
    CElement* list = item->m_parent;
    CElement* rest = item->m_nextSibling;
    while (rest && IsEmptyRun(rest))
        rest = rest->m_nextSibling;
    if (rest && (rest->m_kind != kKindLi || !HoldsNoWords(rest)))
        rest = nullptr;
    // The items go in after the caret's item, in order.
    std::vector<CElement*> made;
    long after = item->GetID();
    for (const CSafeBuf& code : items) {
        CElement* e = list->InsertTagText(code, after, true, true, false, false);
        if (!e || e->m_kind != kKindLi || e->m_parent != list)
            continue;
        made.push_back(e);
        after = e->GetID();
    }
    if (made.empty())
        return false;
    // The caret goes to the end of the last item's text. The first item
    // joins the caret's item in place of its empty paragraph, the last one
    // what was left of it.
    CElement* end = LastRun(made.back());
    if (!end)
        return true;
    end->m_caretOffset = end->m_text.Length();
    m_doc.m_caretElement = end;
    JoinInto(item, made.front(), OpenSeam(item));
    if (rest && made.size() > 1)
        JoinInto(rest, made.back(), OpenSeam(rest));
    list->StyleChanged(1);
    return true;
}

void CXHTML::InsertMarkupChild(CSrcElement* child, bool outside, bool intoPre, bool& trim)
{
    const CSafeBuf code = ChildMarkup(child, outside, intoPre, trim);
    if (code.IsEmpty())
        return;
    CElement* caret = m_doc.m_caretElement;
    const bool paragraph = IsBlockLike(child) && caret && InsideParagraphOrHeading(caret);
    CaretAfterRun(m_doc);
    m_doc.InsertTagText(code, nullptr, paragraph, true, false, false);
    AfterChildInserted();
}

void CXHTML::InsertBlockRun(const std::vector<CSrcElement*>& run, bool outside, bool& trim)
{
    CSafeBuf code("<div ");
    code += kGroupMark;
    code += "=\"1\">";
    for (CSrcElement* child : run)
        code += ChildMarkup(child, outside, false, trim);
    code += "</div>";
    CElement* caret = m_doc.m_caretElement;
    const bool paragraph = caret && InsideParagraphOrHeading(caret);
    CaretAfterRun(m_doc);
    CElement* inserted = m_doc.InsertTagText(code, nullptr, paragraph, true, false, false);
    CSafeBuf mark;
    CElement* div = inserted && inserted->IsType(kKindDiv) && inserted->GetAttrString(kGroupMark, mark)
        ? inserted
        : FindGroupDiv(m_doc.m_caretElement);
    // The div goes, its children restyled where they now stand.
    if (div) {
        CElement* parent = div->m_parent;
        CElement* first = div->m_firstChild;
        CElement* last = div->m_lastChild;
        CElement* stop = div->m_nextSibling;
        if (parent->RemoveChildNodeOnly(div->GetID())) {
            for (CElement* c = first; c && c != stop; c = c->m_nextSibling)
                c->StyleChanged(1);
            // An empty paragraph that gave way to the blocks leaves the caret
            // inside them: what follows in the markup goes after them, in a
            // paragraph of its own (which goes again if nothing comes).
            CElement* at = m_doc.m_caretElement;
            bool inside = false;
            for (CElement* c = first; c && c != stop && !inside; c = c->m_nextSibling)
                inside = at && (at == c || IsInside(at, c));
            if (inside && last && last->m_parent) {
                if (CElement* run = ParagraphBeside(last, true))
                    m_doc.m_caretElement = run;
            }
        }
    }
    AfterChildInserted();
}

void CXHTML::AfterChildInserted()
{
    CElement* caret = m_doc.m_caretElement;
    if (!caret || !m_doc.IsElementExist(caret))
        return;
    if (CElement* dt = AncestorOfKind(caret, kKindDt))
        ValidateTree(dt);
    caret = m_doc.m_caretElement;
    if (caret && m_doc.IsElementExist(caret))
        WrapRunInParagraph(caret);
}

void CXHTML::LeaveEmptyParagraph()
{
    CElement* caret = m_doc.m_caretElement;
    if (!caret || !m_doc.IsElementExist(caret))
        return;
    CElement* p = caret->m_parent;
    if (!p || !p->IsType(kKindP) || !HoldsNoText(p))
        return;
    int steps = 0;
    for (const auto& move : kLeaveMoves) {
        while (IsInside(m_doc.m_caretElement, p) && steps++ < kMaxLeaveSteps) {
            CElement* from = m_doc.m_caretElement;
            CElement* next = from->MoveKeyFocusToNext(from->GetID(), move.direction);
            if (!next || next == from || !m_doc.IsElementExist(next))
                break;
            next->m_caretOffset = move.offset < 0 ? next->m_text.Length() : move.offset;
            m_doc.m_caretElement = next;
        }
        if (!IsInside(m_doc.m_caretElement, p))
            break;
    }
    if (IsInside(m_doc.m_caretElement, p))
        return; // nowhere to go: the paragraph stays
    m_doc.UpdateKeyCursor();
    m_doc.RemoveElement(p, true);
}

void CXHTML::CleanAndInsertXHTMLCode(const unsigned short* markup)
{
    if (!markup || !MayChange(kActionInsert, nullptr, 0))
        return;
    RemoveSelection();
    CSafeBuf copy(markup);
    m_doc.CleanXHTML(copy, 0);
    InsertHTMLCode(copy, false);
    FinishInsertion();
}

void CXHTML::FinishInsertion()
{
    DocCaretOnErased();
    if (m_doc.m_root)
        m_doc.m_root->CheckDocument();
    DocDrawDoc();
    m_doc.Redraw();
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
    NotifyChange(true);
}
