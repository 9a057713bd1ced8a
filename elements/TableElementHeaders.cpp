// The table's structure: column indices of the cells, the header
// identifiers of data tables (id on th, headers on td) and the row groups.
//
// Header identifiers are made from the table's element identifier, which is
// a serial number never reused, and the cell's row and counted position:
// "th" + identifier ("%08X") + row ("%02d") + position ("%02d"). The same
// table therefore gets the same identifiers every time. A table read from
// markup is a new element with a new identifier; when its th ids were
// generated for an earlier one (the same table given back by undo or redo,
// or a stored value read again), it goes on with that identifier, its
// header key, so its ids stay what they were and follow its cells as before.
// Past 99 rows or positions the two digits no longer tell row from position
// (row 10 at 102 and row 101 at 2 would meet), so there the two numbers
// stand apart: row, "-", position. An id that a th carries and that is not
// one of this table's generated ones is the author's, and is kept.

#include "elements/TableElement.h"

#include "base/text/U16.h"
#include "element/ElementRegistry.h"
#include "element/factory/ElementFactory.h"
#include "elements/HeaderIds.h"
#include "elements/TDElement.h"

#include <algorithm>
#include <cstring>

namespace {

// Column indices stay far inside the range of int, whatever the spans.
constexpr int kMaxColumnIndex = 1 << 24;

// An id generated for this table: the prefix and four digits, or digits,
// "-" and digits.
bool IsGeneratedId(const CSafeBuf& id, const char* prefix)
{
    const int n = static_cast<int>(std::strlen(prefix));
    const int length = id.Length();
    const unsigned short* p = id;
    for (int i = 0; i < n; ++i) {
        if (i >= length || p[i] != static_cast<unsigned char>(prefix[i]))
            return false;
    }
    int digits = 0, dashes = 0, dash = -1;
    for (int i = n; i < length; ++i) {
        if (p[i] >= '0' && p[i] <= '9') {
            ++digits;
        } else if (p[i] == '-') {
            ++dashes;
            dash = i;
        } else {
            return false;
        }
    }
    if (dashes == 0)
        return digits == 4 && length == n + 4;
    return dashes == 1 && dash > n && dash < length - 1;
}

// The identifier of a th id generated for the cell at row and position:
// "th", eight to thirteen upper-case hexadecimal digits written as
// HeaderIdPrefix writes them, then the row and position as HeaderId writes
// them. 0 when the id is not of that form.
long KeyOfGeneratedId(const CSafeBuf& id, size_t row, int position)
{
    CSafeBuf tail;
    HeaderId(tail, "", 0, row, position);
    const int length = id.Length();
    const int digits = length - 2 - tail.Length();
    if (digits < 8 || digits > 13 || id.Find(tail, length - tail.Length()) != length - tail.Length())
        return 0;
    const unsigned short* p = id;
    if (p[0] != 't' || p[1] != 'h')
        return 0;
    unsigned long key = 0;
    for (int i = 2; i < 2 + digits; ++i) {
        const unsigned short c = p[i];
        if (c >= '0' && c <= '9')
            key = key << 4 | (c - '0');
        else if (c >= 'A' && c <= 'F')
            key = key << 4 | (c - 'A' + 10);
        else
            return 0;
    }
    // Written back the same way, or it is another number's: "th" and nine
    // digits with a leading zero is no prefix HeaderIdPrefix writes.
    char prefix[16];
    if (HeaderIdPrefix(static_cast<long>(key), prefix) != digits + 2)
        return 0;
    for (int i = 2; i < 2 + digits; ++i) {
        if (p[i] != static_cast<unsigned char>(prefix[i]))
            return 0;
    }
    return static_cast<long>(key);
}

// A header id appended to a list of them, a blank between two.
void AppendId(CSafeBuf& ids, const CSafeBuf& id)
{
    if (!ids.IsEmpty())
        ids += " ";
    ids += id;
}

bool AllTH(const CElement* row)
{
    for (const CElement* c = row->m_firstChild; c; c = c->m_nextSibling) {
        if (IsCellKind(c->m_kind) && c->m_kind != kKindTh)
            return false;
    }
    return true;
}

// Every row group's rows take its place; answers whether one was a tfoot.
bool DissolveGroups(CTableElement* table, bool restyle)
{
    bool foot = false;
    for (CElement* c = table->m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (IsRowGroupKind(c->m_kind)) {
            foot = foot || c->m_kind == kKindTfoot;
            table->RemoveChildNodeOnly(c->GetID());
        }
        if (restyle)
            table->StyleChanged(0);
        c = next;
    }
    return foot;
}

// Header attributes are written without restyling the cell: the callers
// restyle the whole table once the headers are done (the load restyles the
// tree, the table dialog the table), and an id or headers attribute set on
// every cell would otherwise cascade every cell once more. The attribute
// takes value's buffer (value is left empty, or holding the attribute's old
// value) instead of a copy of it.
void SetHeaderAttr(CElement* cell, const char* name, CSafeBuf& value)
{
    if (value.IsEmpty()) {
        cell->m_attributes.RemoveKey(name);
        return;
    }
    CSafeBuf key(name);
    cell->m_attributes.TakeAt(key, value);
}

// A row moved into a row group by AddDataStruct. It takes no styles from
// the group here: the callers of DoHeaders restyle the whole table once the
// groups stand, as they do for the header attributes.
bool MoveRowInto(CElement* row, CElement* group, bool after)
{
    if (!group || group == row || group->IsOneOfParent(row))
        return false;
    CElement* parent = row->m_parent;
    CElement* previous = row->m_prevSibling;
    if (parent)
        parent->RemoveCurrentChildFromList(row);
    if (group->InsertChild(row, 0, after))
        return true;
    // Back where it stood: a row is never left out of the tree.
    if (parent)
        parent->InsertChild(row, previous ? previous->GetID() : 0, previous != nullptr);
    return false;
}

CElement* NewGroup(CTableElement* table, const char* tag, CElement* ref, bool after)
{
    CElement* group = CreateElement(tag, table->m_rules, table->m_root, table->m_owner);
    if (!group)
        return nullptr;
    if (!table->InsertChild(group, ref ? ref->GetID() : 0, after)) {
        table->RemoveChild(group->GetID(), true, false);
        return nullptr;
    }
    group->CopyFromParent(table, 1);
    return group;
}

} // namespace

void DropSpanAttribute(CElement* cell, const char* name, bool otherCase)
{
    std::vector<CSafeBuf> keys;
    cell->m_attributes.ForEachPair([&](const CSafeBuf& key, const CSafeBuf&) {
        if (U16icmp(key, name) == 0 && !(otherCase && key == name))
            keys.push_back(key);
    });
    for (const CSafeBuf& key : keys)
        cell->m_attributes.RemoveKey(key);
}

void CTableElement::AssignTDIndex(bool readingRows)
{
    std::vector<CElement*> rows, cells;
    TableRows(this, rows);
    const bool oneRow = rows.size() == 1 && !readingRows;
    for (CElement* tr : rows) {
        RowCells(tr, cells);
        int c = 0;
        for (CElement* cell : cells) {
            if (oneRow && (cell->Style().colSpan || cell->Style().rowSpan)) {
                // A table of one row lays its cells out one column and one
                // row each; a span attribute left on the cell would be
                // written, and read back into a grid other than the one
                // shown once a row is added. It goes with the stored span.
                if (cell->Style().colSpan >= 2)
                    DropSpanAttribute(cell, "colspan");
                if (cell->Style().rowSpan >= 2)
                    DropSpanAttribute(cell, "rowspan");
                cell->EditStyle().colSpan = 0;
                cell->EditStyle().rowSpan = 0;
            }
            static_cast<CTDElement*>(cell)->m_columnIndex = c;
            c = std::min(kMaxColumnIndex, c + GridSpan(cell->Style().colSpan));
        }
    }
    // Row spans push the cells of the rows below them to the right; a span
    // past the last row stops there.
    std::vector<CElement*> below;
    for (size_t r = 0; r < rows.size(); ++r) {
        RowCells(rows[r], cells);
        for (CElement* cell : cells) {
            const int span = cell->Style().rowSpan;
            if (span < 2)
                continue;
            const int index = static_cast<CTDElement*>(cell)->m_columnIndex;
            const int width = GridSpan(cell->Style().colSpan);
            const size_t last = std::min(rows.size() - 1, r + static_cast<size_t>(span) - 1);
            for (size_t next = r + 1; next <= last; ++next) {
                RowCells(rows[next], below);
                for (CElement* other : below) {
                    int& i = static_cast<CTDElement*>(other)->m_columnIndex;
                    if (i >= index)
                        i = std::min(kMaxColumnIndex, i + width);
                }
            }
        }
    }
}

void CTableElement::PlaceCellsAndFoot()
{
    AssignTDIndex();
    // A tfoot that is not last goes to the end.
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindTfoot) {
            if (c != m_lastChild) {
                RemoveCurrentChildFromList(c);
                AddToTail(c);
            }
            break;
        }
    }
}

bool CTableElement::DoHeaders()
{
    PlaceCellsAndFoot();
    if (!IsDataTable()) {
        DissolveGroups(this, false);
        ForEachCell(this, [](CElement* cell) {
            cell->m_attributes.RemoveKey("headers");
            return true;
        });
        StyleChanged(0);
        return true;
    }
    return MarkHeaders();
}

// Placing the cells and moving a tfoot to the end leave a data table one:
// its cells keep their kinds, and a caption that stood first still does.
bool CTableElement::DoDataTableHeaders(std::set<long>* keys)
{
    PlaceCellsAndFoot();
    if (keys) {
        const long key = KeyOfHeaderIds();
        if (key && keys->insert(key).second)
            m_headerKey = key;
    }
    return MarkHeaders();
}

// Only an identifier that was given already: a table made later can never
// have it.
long CTableElement::KeyOfHeaderIds() const
{
    std::vector<CElement*> rows, cells;
    TableRows(this, rows);
    long key = 0;
    CSafeBuf id;
    for (size_t r = 0; r < rows.size(); ++r) {
        RowCells(rows[r], cells);
        int along = 0;
        for (CElement* cell : cells) {
            if (cell->m_kind == kKindTh && cell->GetAttrString("id", id)) {
                const long own = KeyOfGeneratedId(id, r, along);
                if (own && key && own != key)
                    return 0;
                key = own ? own : key;
            }
            along += GridSpan(cell->Style().colSpan);
        }
    }
    if (key <= 0 || key > LastElementIdentifier())
        return 0;
    // Nor the identifier of another table of the document, whose own
    // generated ids would be these.
    const CElement* other = m_registry ? m_registry->Find(key) : nullptr;
    return other && other != this && other->m_kind == kKindTable ? 0 : key;
}

bool CTableElement::MarkHeaders()
{
    std::vector<CElement*> rows, cells;

    char prefix[16];
    const int prefixLength = HeaderIdPrefix(HeaderKey(), prefix);
    TableRows(this, rows);
    // Identifiers of the th cells.
    for (size_t r = 0; r < rows.size(); ++r) {
        RowCells(rows[r], cells);
        int along = 0;
        for (CElement* cell : cells) {
            if (cell->m_kind == kKindTh) {
                CSafeBuf id;
                cell->GetAttrString("id", id);
                if (id.IsEmpty() || IsGeneratedId(id, prefix)) {
                    HeaderId(id, prefix, prefixLength, r, along);
                    SetHeaderAttr(cell, "id", id);
                }
            }
            along += GridSpan(cell->Style().colSpan);
        }
    }
    // headers of the td cells: the th above in the column, then the th
    // before in the row. The cells are taken once, in order: the ids of the
    // th met so far stand ready for every column where a td starts, so a
    // td reads its column's instead of walking the column again (a table of
    // n rows costed n * n).
    std::vector<int> starts;
    for (CElement* tr : rows) {
        RowCells(tr, cells);
        for (CElement* cell : cells) {
            if (cell->m_kind == kKindTd)
                starts.push_back(static_cast<CTDElement*>(cell)->m_columnIndex);
        }
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<CSafeBuf> above(starts.size());
    CSafeBuf id, before, headers;
    for (CElement* tr : rows) {
        RowCells(tr, cells);
        before.Empty();
        for (CElement* cell : cells) {
            const int index = static_cast<CTDElement*>(cell)->m_columnIndex;
            if (cell->m_kind == kKindTd) {
                const size_t at = static_cast<size_t>(
                    std::lower_bound(starts.begin(), starts.end(), index) - starts.begin());
                headers = above[at];
                if (!headers.IsEmpty() && !before.IsEmpty())
                    headers += " ";
                headers += before;
                SetHeaderAttr(cell, "headers", headers);
                continue;
            }
            if (cell->m_kind != kKindTh || !cell->GetAttrString("id", id) || id.IsEmpty())
                continue;
            // The columns the th covers: its own, and with a span of two or
            // more the ones after it that the span reaches.
            const int span = cell->Style().colSpan;
            const long long last = static_cast<long long>(index) + (span >= 2 ? span - 1 : 0);
            for (auto k = std::lower_bound(starts.begin(), starts.end(), index);
                 k != starts.end() && *k <= last; ++k)
                AppendId(above[static_cast<size_t>(k - starts.begin())], id);
            AppendId(before, id);
        }
    }
    return AddDataStruct();
}

bool CTableElement::AddDataStruct()
{
    const bool hadFoot = DissolveGroups(this, false);
    // Head: the leading rows whose cells are all th.
    CElement* head = nullptr;
    for (CElement* c = m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (c->m_kind == kKindTr) {
            if (!AllTH(c))
                break;
            if (!head)
                head = NewGroup(this, "thead", c, false);
            if (!head || !MoveRowInto(c, head, true))
                break;
        }
        c = next;
    }
    // Foot: the trailing rows whose cells are all th, in order.
    CElement* foot = nullptr;
    CElement* lastRow = m_lastChild;
    for (CElement* c = m_lastChild; c && c->m_kind == kKindTr && AllTH(c) && c != head;) {
        CElement* previous = c->m_prevSibling;
        if (!foot)
            foot = NewGroup(this, "tfoot", lastRow, true);
        if (!foot || !MoveRowInto(c, foot, false))
            break;
        c = previous;
    }
    // Body: every other row.
    CElement* body = nullptr;
    bool made = false;
    for (CElement* c = m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (c->m_kind == kKindTr) {
            if (body && hadFoot && !next && !foot) {
                body = NewGroup(this, "tfoot", c, false);
                foot = body;
            } else if (!body) {
                body = NewGroup(this, "tbody", c, false);
                made = made || body != nullptr;
            }
            if (!body || !MoveRowInto(c, body, true))
                break;
        }
        c = next;
    }
    return made;
}

void CTableElement::SetStruct(bool withHead, bool withFoot)
{
    DissolveGroups(this, true);
    if (!withHead && !withFoot)
        return;
    CElement* firstRow = nullptr;
    for (CElement* c = m_firstChild; c && !firstRow; c = c->m_nextSibling) {
        if (c->m_kind == kKindTr)
            firstRow = c;
    }
    CElement* lastRow = m_lastChild && m_lastChild->m_kind == kKindTr ? m_lastChild : nullptr;
    CElement* body = nullptr;
    for (CElement* c = m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (c->m_kind == kKindTr) {
            CElement* group = nullptr;
            if (c == firstRow && withHead)
                group = NewGroup(this, "thead", c, false);
            else if (c == lastRow && withFoot)
                group = NewGroup(this, "tfoot", c, false);
            else
                group = body ? body : (body = NewGroup(this, "tbody", c, false));
            if (group)
                c->MoveCurrentElementTo(group, 0, true);
        }
        c = next;
    }
}
